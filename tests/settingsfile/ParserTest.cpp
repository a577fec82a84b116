// The parser: words of a line, every keyword's accepted and dropped forms, the preview
// pass over whole files (counters, error lines, 29-line limit) and the apply pass.

#include "settingsfile/Parser.h"
#include "RecordingSink.h"
#include "settingsfile/SettingsFileIO.h"

#include <QTest>

using namespace modParser;

namespace {
// How Model and Channel stand: unlocked (their boxes take input) or locked.
constexpr int Unlocked = 0, Locked = 1;

QStringList echoed(QStringList lines)
{
    for (QString& l : lines)
        l = "LoadFile: " + l + "\r\n";
    return lines;
}

// The details as the preview keeps them: without the line endings.
QStringList withoutEndings(QStringList lines)
{
    for (QString& l : lines)
        l.chop(2);
    return lines;
}

QString unrecognized(int lineNo, const QString& line)
{
    return QStringLiteral("->>> Ignoring Unrecognized Line (%1)-->>>%2").arg(lineNo).arg(line);
}
} // namespace

class ParserTest : public QObject
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

    void stripCommas_data()
    {
        QTest::addColumn<QString>("value");
        QTest::addColumn<QString>("stripped");
        const struct
        {
            const char* tag;
            QString value, stripped;
        } rows[] = {
            {"commas anywhere", ",1,,234,", "1234"},
            {"empty", "", "0"},
            {"one comma", ",", ""},
            {"commas only", ",,,", ""},
            {"no comma", "1.2 x", "1.2 x"},
        };
        for (const auto& r : rows)
            QTest::newRow(r.tag) << r.value << r.stripped;
    }

    void stripCommas()
    {
        QFETCH(QString, value);
        QFETCH(QString, stripped);
        QCOMPARE(StripCommas(value), stripped);
    }

    void oneLine_data()
    {
        QTest::addColumn<QString>("line");
        QTest::addColumn<int>("lock");
        QTest::addColumn<QString>("canonical"); // "" = dropped silently
        QTest::addColumn<QString>("applied");   // the controls' values after the apply pass
        QTest::addColumn<bool>("misread");      // dropped for a missing or unknown part

        const QString s23 = "ABCDEFGHIJKLMNOPQRSTUVW";
        const struct
        {
            QString line;
            int lock;
            QString canonical, applied;
        } rows[] = {
            {"Begin Quillmere Corvane 2.0(beta) Save File", Unlocked, "", ""},
            {"Timestamp 3/14/2008 10:15:07 AM", Unlocked, "", ""},
            {"End Quillmere Corvane 2.0(beta) Save File", Unlocked, "", ""},
            {"Model 22", Unlocked, "Model 22", "Model=22"},
            {"Model 22", Locked, "", ""},
            {"Model", Unlocked, "", ""},
            {"Model  22", Unlocked, "Model ", ""},
            {"Model  22", Locked, "", ""},
            {"channel  7", Unlocked, "channel ", ""},
            {"Channel  7", Locked, "", ""},
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
            {"Start Mode Minutes", Locked, "", ""},
            {"Start  Title 5", Locked, "", ""},
            {"Start Minutes 5", Locked, "", ""},
            {"Start Frame 1,234", Locked, "Start Frame 1234", "StartFrame=1234"},
            {"Start Frame  5", Locked, "Start Frame 0", "StartFrame=0"},
            {"Start Frame ,", Locked, "Start Frame ", ""},
            {"start timecode ,, 5", Locked, "start timecode ", ""},
            {"Start Title ,", Locked, "Start Title ", ""},
            {"End Chapter ,,,", Locked, "End Chapter ", ""},
            {"Start Timecode 9,000", Locked, "Start Timecode 9000", "StartFrame=9000"},
            {"Start Title 3", Locked, "Start Title 3", "StartTitle=3"},
            {"Start Chapter 5", Locked, "Start Chapter 5", "StartChapter=5"},
            {"End Frame 1,079,999", Locked, "End Frame 1079999", "EndFrame=1079999"},
            {"end timecode 12", Locked, "end timecode 12", "EndFrame=12"},
            {"End Title 1,2", Locked, "End Title 12", "EndTitle=12"},
            {"End Chapter 6", Locked, "End Chapter 6", "EndChapter=6"},
            {"Synchronize On", Locked, "Synchronize On", "Synchronize=1"},
            {"SYNCHRONIZE oFf x", Locked, "SYNCHRONIZE oFf", "Synchronize=0"},
            {"Synchronize YES", Locked, "", ""},
            {"Synchronize", Locked, "", ""},
            {"squelch on", Locked, "squelch on", "Squelch=1"},
            {"Baud 2400", Locked, "Baud 2400", "Baud=1"},
            {"baud 9600", Locked, "baud 9600", "Baud=3"},
            {"Baud 19200", Locked, "", ""},
            {"Baud", Locked, "", ""},
            {"Init String 2", Locked, "Init String 2 ", "InitStr2="},
            {"Init String 3 AB CD  ", Locked, "Init String 3 AB CD  ", "InitStr3=AB CD  "},
            {"Init String 4  X", Locked, "Init String 4  X", "InitStr4= X"},
            {"Init String 1 " + s23 + "XYZ", Locked, "Init String 1 " + s23, "InitStr1=" + s23},
            {"Init\tString\t2\tA\tB", Locked, "Init String 2 A\tB", "InitStr2=A\tB"},
            {"init string 02 y", Locked, "init string 02 y", "InitStr2=y"},
            {"Init String 0 X", Locked, "", ""},
            {"Init String 5 X", Locked, "", ""},
            {"Init Strings 1 X", Locked, "", ""},
            {"Init String", Locked, "", ""},
            {"Comment", Locked, "Comment ", "Comment="},
            {"Comment 12345678901234567890", Locked, "Comment 123456789012345",
             "Comment=123456789012345"},
            {"COMMENT  a  b  ", Locked, "COMMENT  a  b  ", "Comment= a  b  "},
            {" \tComment\tx y", Locked, "Comment x y", "Comment=x y"},
        };
        // Dropped, and rightly so: header, time stamp, footer, and Model or Channel locked.
        const QStringList passedOver = {"Begin Quillmere Corvane 2.0(beta) Save File/0",
                                        "Timestamp 3/14/2008 10:15:07 AM/0",
                                        "End Quillmere Corvane 2.0(beta) Save File/0",
                                        "Model 22/1",
                                        "Model  22/1",
                                        "Channel  7/1"};
        for (const auto& r : rows) {
            const QString tag = QStringLiteral("%1/%2").arg(r.line).arg(r.lock);
            const bool misread = r.canonical.isEmpty() && !passedOver.contains(tag);
            QTest::newRow(qPrintable(tag))
                << r.line << r.lock << r.canonical << r.applied << misread;
        }
    }

    void oneLine()
    {
        QFETCH(QString, line);
        QFETCH(int, lock);
        QFETCH(QString, canonical);
        QFETCH(QString, applied);
        QFETCH(bool, misread);
        SettingsPreview state;
        RecordingSink sink;
        sink.modelChannelEnabled = lock == Unlocked;

        PreviewFile(state, sink, {line}, false);
        const QStringList kept = canonical.isEmpty() ? QStringList() : QStringList{canonical};
        const QStringList details = echoed(kept);
        QCOMPARE(sink.details, details);
        QCOMPARE(sink.errorCount, 0);
        QVERIFY(sink.log.isEmpty()); // the preview never touches the editor
        QCOMPARE(state.acceptedLines(), kept);
        QCOMPARE(state.details(), withoutEndings(details));
        QCOMPARE(state.errorLines(), QStringList());
        QCOMPARE(state.misreadLines(),
                 misread ? QStringList{unrecognized(1, line)} : QStringList());

        ApplyAcceptedLines(state, sink);
        QCOMPARE(sink.state(), applied);
        QCOMPARE(sink.details, details); // every kept line is understood again
    }

    void wholeFile_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("lineCount");
        QTest::addColumn<QStringList>("details");
        QTest::addColumn<QStringList>("misread"); // lines the preview could not use

        QByteArray lines29;
        QStringList comments29;
        for (int i = 1; i <= 29; ++i) {
            lines29 += "Comment " + QByteArray::number(i) + "\r\n";
            comments29.append("Comment " + QString::number(i));
        }
        const QString warning = TooManyLinesText();
        const QStringList none;
        QTest::newRow("empty") << QByteArray() << 1 << none << none;
        QTest::newRow("blank lines only") << QByteArray(" \r\n\t\r\n\r\n") << 4 << none << none;
        QTest::newRow("hello world")
            << QByteArray("hello world") << 2 << echoed({unrecognized(1, "hello world")})
            << QStringList{unrecognized(1, "hello world")};
        QTest::newRow("error lines as read, blank lines counted")
            << QByteArray("\n   \nStart Title 2\n  Modell 5 \n\tbogus\nStartMode Title") << 7
            << echoed({"Start Title 2", unrecognized(4, "  Modell 5 "), unrecognized(5, "\tbogus"),
                       unrecognized(6, "StartMode Title")})
            << QStringList{unrecognized(4, "  Modell 5 "), unrecognized(5, "\tbogus"),
                           unrecognized(6, "StartMode Title")};
        QTest::newRow("known keyword mistyped: no error, but misread")
            << QByteArray("Begin Quillmere x\r\nEnd Title 2\r\n End Titel 7\r\nBaud 300\r\n"
                          "End Quillmere x")
            << 6 << echoed({"End Title 2"})
            << QStringList{unrecognized(3, " End Titel 7"), unrecognized(4, "Baud 300")};
        QTest::newRow("29 lines") << lines29 << 30 << echoed(comments29) << none;
        QTest::newRow("30 lines, the last blank")
            << lines29 + "\r\n"
            << 30 << echoed(comments29 + QStringList{warning}) << none;
        QTest::newRow("31 lines") << lines29 + "Comment 30\r\nComment 31" << 30
                                  << echoed(comments29 + QStringList{warning}) << none;
        QTest::newRow("blank lines count toward 29")
            << QByteArray(28, '\n') + "Comment x\nComment y" << 30 << echoed({"Comment x", warning})
            << none;
    }

    void wholeFile()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(int, lineCount);
        QFETCH(QStringList, details);
        QFETCH(QStringList, misread);
        const auto read = modFileAccess::readSettingsLines(bytes);
        QVERIFY(read.ok);
        SettingsPreview state;
        RecordingSink sink;
        PreviewFile(state, sink, read.lines, read.moreFollows);
        QCOMPARE(sink.lineCount, lineCount);
        QCOMPARE(sink.details, details);
        QStringList errorLines;
        for (const QString& d : withoutEndings(details))
            if (d.contains("->>> Ignoring") || d.contains("Warning: "))
                errorLines << d.mid(QStringLiteral("LoadFile: ").size());
        QCOMPARE(sink.errorCount, errorLines.size());
        // The same outcome as values.
        QCOMPARE(state.details(), withoutEndings(details));
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
        PreviewFile(state, sink, {"junk", "Baud 4800", "Baud 1"}, false);
        // An earlier load leaves nothing behind.
        PreviewFile(state, sink,
                    {"Channel 5", "Start Title 7", "Squelch Off", "Channel 9", "Start Mode Title",
                     "Baud 2400"},
                    false);
        QCOMPARE(sink.errorCount, 0);
        QCOMPARE(state.errorCount(), 0);
        QCOMPARE(state.misreadLines(), QStringList());
        QCOMPARE(state.acceptedCount(), 6);
        ApplyAcceptedLines(state, sink);
        // The apply pass keeps what the preview found.
        QCOMPARE(state.acceptedCount(), 6);
        QCOMPARE(state.details().size(), 6);
        QCOMPARE(state.pass(), 2);
        QCOMPARE(sink.log, QStringList({"begin", "Channel=5", "StartTitle=7", "Squelch=0",
                                        "Channel=9", "StartMode=Title", "Baud=1", "end"}));
    }
};

int runParserTest(int argc, char** argv)
{
    ParserTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "ParserTest.moc"
