// Settings files: the line reader (endings, Windows-1252, the 29-line look-ahead, files
// too big to be settings files) and the parser (every keyword's accepted and dropped forms
// and what the apply pass makes of them, the preview pass over whole files with its
// counters, error lines and 29-line limit), and the writer's encoding. The writer's lines,
// and the apply pass through the editor: tests/files.

#include "settingsfile/Parser.h"
#include "settingsfile/ParserSink.h"
#include "settingsfile/SettingsFileIO.h"

#include <QMap>
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

// A parser sink that records the preview window's details and counters, and every control
// change of the apply pass in order ("begin", "StartFrame=12", ..., "end").
class RecordingSink : public ParserSink
{
public:
    QStringList details;                 // as appended, prefix and CR LF included
    int errorCount = -1, lineCount = -1; // as last shown
    QStringList log;
    bool modelChannelEnabled = true;

    void appendDetails(const QString& text) override { details.append(text); }
    void showErrorCount(int count) override { errorCount = count; }
    void showLineCount(int lineNo) override { lineCount = lineNo; }
    bool isFieldEnabled(TextField f) const override
    {
        return modelChannelEnabled || (f != TextField::Model && f != TextField::Channel);
    }
    void beginApply() override { log.append("begin"); }
    void endApply() override { log.append("end"); }
    void setText(TextField f, const QString& text) override
    {
        set(QString("Model Channel StartFrame EndFrame StartTitle EndTitle StartChapter "
                    "EndChapter InitStr1 InitStr2 InitStr3 InitStr4 Comment")
                .split(' ')[int(f)],
            text);
    }
    void selectOption(OptionField o) override
    {
        set(o < OptionField::EndTitle ? "StartMode" : "EndMode",
            QString("Title Chapter Timecode Frame").split(' ')[int(o) % 4]);
    }
    void setCheck(CheckField box, int value) override
    {
        set(box == CheckField::Synchronize ? "Synchronize" : "Squelch", QString::number(value));
    }
    void setListIndex(ListField, int index) override { set("Baud", QString::number(index)); }
    void set(const QString& control, const QString& value) { log.append(control + '=' + value); }
};
} // namespace

class SettingsFileTest : public QObject
{
    Q_OBJECT
private slots:
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
            {"Start Mode\u00a0Title", Locked, "?", ""}, // a no-break blank is no blank
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
            {"Baud 2400", Locked, "Baud 2400", "Baud=1"},
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
        QCOMPARE(state.misreadLines(),
                 canonical == "?" ? QStringList{unrecognized(1, line)} : QStringList());

        ApplyAcceptedLines(state, sink);
        QMap<QString, QString> last; // each control's last value
        for (const QString& entry : sink.log.mid(1, sink.log.size() - 2))
            last[entry.section('=', 0, 0)] = entry;
        QCOMPARE(QStringList(last.values()).join(' '), applied);
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
        QTest::newRow("29 lines, CR before the end")
            << lines29.chopped(1) << 30 << comments29 << none;
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
        QCOMPARE(state.acceptedCount(), details.size() - errorLines.size());
        QCOMPARE(state.misreadLines(), misread);
        QCOMPARE(state.lineNo(), 0);
    }

    // The init strings a file names are emptied before its first line applies, so that the
    // editor judges the file's strings together.
    void applyEmptiesNamedInitStringsFirst()
    {
        SettingsPreview state;
        RecordingSink sink;
        PreviewFile(state, sink, {"Channel 5", "Init String 2 AB", "Channel 9"}, false);
        ApplyAcceptedLines(state, sink);
        QCOMPARE(sink.log, QStringList({"begin", "InitStr2=", "Channel=5", "InitStr2=AB",
                                        "Channel=9", "end"}));
    }

    void lines_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QStringList>("lines");
        QTest::addColumn<bool>("moreFollows");
        QTest::newRow("mixed, blank last line")
            << QByteArray(" a\t \rb\nc\r\n\r\n") << QStringList{" a\t ", "b", "c", ""} << false;
        QTest::newRow("LF CR is two endings, last without ending")
            << QByteArray("a\n\rb") << QStringList{"a", "", "b"} << false;
        QTest::newRow("CR CR LF") << QByteArray("a\r\r\nb") << QStringList{"a", "", "b"} << false;
        QTest::newRow("Windows-1252, NUL kept")
            << QByteArray("\x80 caf\xe9 \x93q\x94\0z", 12)
            << QStringList{QString::fromUtf8("\u20ac caf\u00e9 \u201cq\u201d") + QChar(0) + "z"}
            << false;
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

    // A character outside the code page, a surrogate pair too, becomes one "?".
    void writerEncodesCodePage()
    {
        QCOMPARE(encodeSettingsLines(
                     {QString::fromUtf8("Comment \u00e9\u20ac a\u2192b\U0001F600c"), "x"}),
                 QByteArray("Comment \xe9\x80 a?b?c\r\nx\r\n"));
    }
};

QTEST_GUILESS_MAIN(SettingsFileTest)
#include "SettingsFileTest.moc"
