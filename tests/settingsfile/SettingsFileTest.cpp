// Settings files: the line reader (endings, Windows-1252, the 29-line look-ahead, files
// too big to be settings files), the parser (words of a line, every keyword's accepted and
// dropped forms, the preview pass over whole files with its counters, error lines and
// 29-line limit, the apply pass) and the writer's encoding.

#include "RecordingSink.h"
#include "settingsfile/Parser.h"
#include "settingsfile/SettingsFileIO.h"
#include "settingsfile/SettingsLines.h"

#include <QTest>
#include <tuple>

using namespace modParser;
using namespace modFileAccess;

namespace {
// How Model and Channel stand: unlocked (their boxes take input) or locked.
constexpr int Unlocked = 0, Locked = 1;

// Lines as the details box shows them; the preview keeps them without the line ending.
QStringList echoed(QStringList lines, const char* ending = "\r\n")
{
    for (QString& l : lines)
        l = "LoadFile: " + l + ending;
    return lines;
}

QString unrecognized(int lineNo, const QString& line)
{
    return QStringLiteral("->>> Ignoring Unrecognized Line (%1)-->>>%2").arg(lineNo).arg(line);
}
} // namespace

class SettingsFileTest : public QObject
{
    Q_OBJECT
private slots:
    void tokenize_data()
    {
        QTest::addColumn<QString>("line");
        QTest::addColumn<WordList>("words");
        QTest::newRow("empty") << "" << WordList();
        QTest::newRow("tabs and blanks only") << "\t \t" << WordList();
        QTest::newRow("double blank") << "Start  Title" << WordList{{"Start", "", "Title"}};
        QTest::newRow("tab is a blank") << "Model\t22" << WordList{{"Model", "22"}};
        QTest::newRow("blank tab blank") << "a \t b" << WordList{{"a", "", "", "b"}};
        QTest::newRow("outer blanks and tabs") << " \t Model 22 \t " << WordList{{"Model", "22"}};
        QTest::newRow("no-break blank") << "a\u00a0b c" << WordList{{"a\u00a0b", "c"}};
    }

    void tokenize()
    {
        QFETCH(QString, line);
        QFETCH(WordList, words);
        QCOMPARE(TokenizeLine(line), words);
    }

    void oneLine_data()
    {
        QTest::addColumn<QString>("line");
        QTest::addColumn<int>("lock");
        // The kept line; "" dropped rightly (header, time stamp, footer, Model or Channel
        // locked), "?" dropped as misread (a part missing or unknown).
        QTest::addColumn<QString>("canonical");
        QTest::addColumn<QString>("applied"); // the controls' values after the apply pass

        // Values lose their commas; an empty value word (two blanks) is 0, one of commas
        // only is empty and its line is not applied.
        const QString s23 = "ABCDEFGHIJKLMNOPQRSTUVW";
        const std::tuple<QString, int, QString, QString> rows[] = {
            {"Begin Quillmere Corvane 2.0(beta) Save File", Unlocked, "", ""},
            {"Timestamp 3/14/2008 10:15:07 AM", Unlocked, "", ""},
            {"End Quillmere Corvane 2.0(beta) Save File", Unlocked, "", ""},
            {"Model 22", Unlocked, "Model 22", "Model=22"},
            {"Model 22", Locked, "", ""},
            {"Model", Unlocked, "?", ""},
            {"Model  22", Unlocked, "Model ", ""},
            {"model abc", Unlocked, "model abc", "Model=abc"},
            {"CHANNEL 7 and more", Unlocked, "CHANNEL 7", "Channel=7"},
            {"Start Mode Title", Locked, "Start Mode Title", "StartMode=Title"},
            {"start mode chapter", Locked, "start mode chapter", "StartMode=Chapter"},
            {"START MODE TIMECODE now", Locked, "START MODE TIMECODE", "StartMode=Timecode"},
            {"Start Mode Frame", Locked, "Start Mode Frame", "StartMode=Frame"},
            {"End Mode Title", Locked, "End Mode Title", "EndMode=Title"},
            {"End Mode Chapter", Locked, "End Mode Chapter", "EndMode=Chapter"},
            {"End Mode Timecode", Locked, "End Mode Timecode", "EndMode=Timecode"},
            {"end MODE frame", Locked, "end MODE frame", "EndMode=Frame"},
            {"Start Mode Minutes", Locked, "?", ""},
            {"Start Minutes 5", Locked, "?", ""},
            {"Start Frame ,1,,234,", Locked, "Start Frame 1234", "StartFrame=1234"},
            {"Start Frame  5", Locked, "Start Frame 0", "StartFrame=0"},
            {"Start Frame ,", Locked, "Start Frame ", ""},
            {"Start Timecode 9,000", Locked, "Start Timecode 9000", "StartFrame=9000"},
            {"Start Title 3.5", Locked, "Start Title 3.5", "StartTitle=3.5"},
            {"Start Chapter 5", Locked, "Start Chapter 5", "StartChapter=5"},
            {"End Frame 1,079,999", Locked, "End Frame 1079999", "EndFrame=1079999"},
            {"end timecode 12", Locked, "end timecode 12", "EndFrame=12"},
            {"End Title 1,2", Locked, "End Title 12", "EndTitle=12"},
            {"End Chapter 6", Locked, "End Chapter 6", "EndChapter=6"},
            {"Synchronize On", Locked, "Synchronize On", "Synchronize=1"},
            {"SYNCHRONIZE oFf x", Locked, "SYNCHRONIZE oFf", "Synchronize=0"},
            {"Synchronize YES", Locked, "?", ""},
            {"Synchronize", Locked, "?", ""},
            {"squelch on", Locked, "squelch on", "Squelch=1"},
            {"Baud 1200", Locked, "Baud 1200", "Baud=0"},
            {"baud 9600", Locked, "baud 9600", "Baud=3"},
            {"Baud 19200", Locked, "?", ""},
            {"Baud", Locked, "?", ""},
            {"Init String 2", Locked, "Init String 2 ", "InitStr2="},
            {"Init String 3 AB CD  ", Locked, "Init String 3 AB CD  ", "InitStr3=AB CD  "},
            {"Init String 4  X", Locked, "Init String 4  X", "InitStr4= X"},
            {"Init String 1 " + s23 + "XYZ", Locked, "Init String 1 " + s23, "InitStr1=" + s23},
            {"Init\tString\t2\tA\tB", Locked, "Init String 2 A\tB", "InitStr2=A\tB"},
            {"init string 02 y", Locked, "init string 02 y", "InitStr2=y"},
            {"Init String 0 X", Locked, "?", ""},
            {"Init String 5 X", Locked, "?", ""},
            {"Init Strings 1 X", Locked, "?", ""},
            {"Init String", Locked, "?", ""},
            {"Comment", Locked, "Comment ", "Comment="},
            {"Comment 12345678901234567890", Locked, "Comment 123456789012345",
             "Comment=123456789012345"},
            {"COMMENT  a  b  ", Locked, "COMMENT  a  b  ", "Comment= a  b  "},
            {" \tComment\tx y", Locked, "Comment x y", "Comment=x y"},
        };
        for (const auto& [line, lock, canonical, applied] : rows)
            QTest::addRow("%s/%d", qPrintable(line), lock) << line << lock << canonical << applied;
    }

    void oneLine()
    {
        QFETCH(QString, line);
        QFETCH(int, lock);
        QFETCH(QString, canonical);
        QFETCH(QString, applied);
        SettingsPreview state;
        RecordingSink sink;
        sink.modelChannelEnabled = lock == Unlocked;

        PreviewFile(state, sink, {line}, false);
        const QStringList kept =
            canonical.isEmpty() || canonical == "?" ? QStringList() : QStringList{canonical};
        QCOMPARE(sink.details, echoed(kept));
        QCOMPARE(sink.errorCount, 0);
        QVERIFY(sink.log.isEmpty()); // the preview never touches the editor
        QCOMPARE(state.acceptedLines(), kept);
        QCOMPARE(state.details(), echoed(kept, ""));
        QCOMPARE(state.errorLines(), QStringList());
        QCOMPARE(state.misreadLines(),
                 canonical == "?" ? QStringList{unrecognized(1, line)} : QStringList());

        ApplyAcceptedLines(state, sink);
        QCOMPARE(sink.state(), applied);
        QCOMPARE(sink.details, echoed(kept)); // every kept line is understood again
    }

    void wholeFile_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("lineCount");
        QTest::addColumn<QStringList>("details"); // kept and error lines, in order
        QTest::addColumn<QStringList>("misread"); // lines the preview could not use

        QByteArray lines29;
        for (int i = 1; i <= 29; ++i)
            lines29 += "Comment " + QByteArray::number(i) + "\r\n";
        const QStringList comments29 = QString(lines29).trimmed().split("\r\n");
        const QString warning = "Warning: Input File processing stopped, > 29 Lines!!";
        const QStringList none, bad{unrecognized(4, "  Modell 5 "), unrecognized(5, "\tbogus"),
                                    unrecognized(6, "StartMode Title")};
        QTest::newRow("empty") << QByteArray() << 1 << none << none;
        QTest::newRow("blank lines only") << QByteArray(" \r\n\t\r\n\r\n") << 4 << none << none;
        QTest::newRow("error lines as read, blank lines counted")
            << QByteArray("\n   \nStart Title 2\n  Modell 5 \n\tbogus\nStartMode Title") << 7
            << QStringList{"Start Title 2"} + bad << bad;
        QTest::newRow("known keyword mistyped: no error, but misread")
            << QByteArray("Begin Quillmere x\r\nEnd Title 2\r\n End Titel 7\r\nBaud 300\r\n"
                          "End Quillmere")
            << 6 << QStringList{"End Title 2"}
            << QStringList{unrecognized(3, " End Titel 7"), unrecognized(4, "Baud 300")};
        QTest::newRow("29 lines") << lines29 << 30 << comments29 << none;
        // More lines than 29 (a blank one too) are cut with a warning.
        QTest::newRow("30 lines, the last blank")
            << lines29 + "\r\n"
            << 30 << comments29 + QStringList{warning} << none;
        QTest::newRow("blank lines count toward 29")
            << QByteArray(28, '\n') + "Comment x\nComment y" << 30
            << QStringList{"Comment x", warning} << none;
    }

    void wholeFile()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(int, lineCount);
        QFETCH(QStringList, details);
        QFETCH(QStringList, misread);
        const auto read = readSettingsLines(bytes);
        QVERIFY(read.ok);
        SettingsPreview state;
        RecordingSink earlier, sink;
        PreviewFile(state, earlier, {"junk", "Baud 4800", "Baud 1"}, false);
        PreviewFile(state, sink, read.lines, read.moreFollows); // the earlier load is forgotten
        QCOMPARE(sink.lineCount, lineCount);
        QCOMPARE(sink.details, echoed(details));
        QStringList errorLines;
        for (const QString& d : details)
            if (d.startsWith("->>> Ignoring") || d.startsWith("Warning: "))
                errorLines << d;
        QCOMPARE(sink.errorCount, errorLines.size());
        // The same outcome as values.
        QCOMPARE(state.details(), echoed(details, ""));
        QCOMPARE(state.errorLines(), errorLines);
        QCOMPARE(state.errorCount(), errorLines.size());
        QCOMPARE(state.acceptedCount(), details.size() - errorLines.size());
        QCOMPARE(state.misreadLines(), misread);
        QCOMPARE(state.lineNo(), 0);
    }

    void applyInFileOrder()
    {
        SettingsPreview state;
        RecordingSink sink;
        PreviewFile(state, sink,
                    {"Channel 5", "Start Title 7", "Init String 2 AB", "Squelch Off", "Channel 9",
                     "Start Mode Title", "Baud 2400"},
                    false);
        ApplyAcceptedLines(state, sink);
        // The init strings the file names are emptied first.
        QCOMPARE(sink.log,
                 QStringList({"begin", "InitStr2=", "Channel=5", "StartTitle=7", "InitStr2=AB",
                              "Squelch=0", "Channel=9", "StartMode=Title", "Baud=1", "end"}));
        // The apply pass keeps what the preview found.
        QCOMPARE(state.pass(), 2);
        QCOMPARE(state.acceptedCount(), 7);
        QCOMPARE(state.details().size(), 7);
        QCOMPARE(state.errorCount(), 0);
    }

    void lines_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QStringList>("lines");
        QTest::addColumn<bool>("moreFollows");

        QByteArray l29;
        for (int i = 1; i <= 29; ++i)
            l29 += QByteArray::number(i) + "\r\n";
        const QStringList n29 = QString(l29).trimmed().split("\r\n");
        QTest::newRow("empty") << QByteArray() << QStringList() << false;
        QTest::newRow("mixed, blank last line")
            << QByteArray(" a\t \rb\nc\r\n\r\n") << QStringList{" a\t ", "b", "c", ""} << false;
        QTest::newRow("LF CR is two endings, last without ending")
            << QByteArray("a\n\rb") << QStringList{"a", "", "b"} << false;
        QTest::newRow("CR CR LF") << QByteArray("a\r\r\nb") << QStringList{"a", "", "b"} << false;
        QTest::newRow("Windows-1252, NUL kept")
            << QByteArray("\x80 caf\xe9 \x93q\x94\0z", 12)
            << QStringList{QString::fromUtf8("\u20ac caf\u00e9 \u201cq\u201d") + QChar(0) + "z"}
            << false;
        QTest::newRow("29 lines") << l29 << n29 << false;
        QTest::newRow("29 lines, CR before the end") << l29.chopped(1) << n29 << false;
        QTest::newRow("29 lines and a blank one") << l29 + "\n" << n29 << true;
        // A line cut at its limit, reading going on with the next; nothing after the 29th.
        QTest::newRow("long line")
            << "Comment " + QByteArray(100000, 'x') + "\r\nModel 1"
            << QStringList{"Comment " + QString(MaxLineBytes - 8, 'x'), "Model 1"} << false;
        QTest::newRow("29 lines, then 3 MB")
            << QByteArray("Start Title 1\n").repeated(29) + QByteArray(3 * MaxReadBytes, 'z')
            << QStringList(29, "Start Title 1") << true;
    }

    void lines()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QStringList, lines);
        QFETCH(bool, moreFollows);
        const SettingsReadResult r = readSettingsLines(bytes);
        QVERIFY(r.ok);
        QCOMPARE(r.lines, lines);
        QCOMPARE(r.moreFollows, moreFollows);
    }

    void notASettingsFile()
    {
        // Endless lines within the first 29 lines.
        const SettingsReadResult r =
            readSettingsLines("a\r\n" + QByteArray(MaxReadBytes + 10, '\0'));
        QVERIFY(!r.ok);
        QVERIFY(r.lines.isEmpty());
        QCOMPARE(r.errorText, "Not a settings file: its first 29 lines take more than 1 MB.");
    }

    void writerEncodesCodePage()
    {
        EditorSnapshot f;
        f.txtComment = QString::fromUtf8("\u00e9\u20ac a\u2192b\U0001F600c");
        const QStringList saved =
            BuildSettingsLines(f, QDateTime(QDate(2008, 3, 14), QTime(10, 15, 7)));
        QCOMPARE(saved.size(), SettingsLineCount);
        // A character outside the code page, a surrogate pair too, becomes one "?".
        QCOMPARE(encodeSettingsLines(saved).split('\n').at(18),
                 QByteArray("Comment \xe9\x80 a?b?c\r"));
    }
};

QTEST_GUILESS_MAIN(SettingsFileTest)
#include "SettingsFileTest.moc"
