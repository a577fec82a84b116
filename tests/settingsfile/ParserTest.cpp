// The parser: words of a line, every keyword's accepted and dropped forms, the preview
// pass over whole files (counters, error lines, 29-line limit) and the apply pass.

#include "settingsfile/Parser.h"
#include "RecordingSink.h"
#include "settingsfile/SettingsFileIO.h"

#include <QTest>

using namespace modParser;

namespace {
// How Model and Channel stand: unlocked, locked, or unlocked with their boxes disabled.
constexpr int Unlocked = 0, Locked = 1, BoxDisabled = 2;

QStringList echoed(QStringList lines)
{
    for (QString& l : lines)
        l = "LoadFile: " + l + "\r\n";
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
            {"Model 22", BoxDisabled, "", ""},
            {"Model", Unlocked, "", ""},
            {"Model  22", Unlocked, "Model ", ""},
            {"Model  22", Locked, "", ""},
            {"Model  22", BoxDisabled, "", ""},
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
        for (const auto& r : rows)
            QTest::addRow("%s/%d", qPrintable(r.line), r.lock)
                << r.line << r.lock << r.canonical << r.applied;
    }

    void oneLine()
    {
        QFETCH(QString, line);
        QFETCH(int, lock);
        QFETCH(QString, canonical);
        QFETCH(QString, applied);
        Globals g;
        g.ModelChannelUnlocked = lock != Locked;
        RecordingSink sink;
        sink.modelChannelEnabled = lock == Unlocked;

        PreviewFile(g, sink, {line}, false);
        const QStringList details = canonical.isEmpty() ? QStringList() : echoed({canonical});
        QCOMPARE(sink.details, details);
        QCOMPARE(sink.errorCount, 0);
        QVERIFY(sink.log.isEmpty()); // the preview never touches the editor

        ApplyAcceptedLines(g, sink);
        QCOMPARE(sink.state(), applied);
        QCOMPARE(sink.details, details); // every kept line is understood again
    }

    void wholeFile_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("lineCount");
        QTest::addColumn<QStringList>("details");

        QByteArray lines29;
        QStringList comments29;
        for (int i = 1; i <= 29; ++i) {
            lines29 += "Comment " + QByteArray::number(i) + "\r\n";
            comments29.append("Comment " + QString::number(i));
        }
        const QString warning = TooManyLinesText();
        QTest::newRow("empty") << QByteArray() << 1 << QStringList();
        QTest::newRow("error lines as read, blank lines counted")
            << QByteArray("\n   \nStart Title 2\n  Modell 5 \n\tbogus\nStartMode Title") << 7
            << echoed({"Start Title 2", unrecognized(4, "  Modell 5 "), unrecognized(5, "\tbogus"),
                       unrecognized(6, "StartMode Title")});
        QTest::newRow("29 lines") << lines29 << 30 << echoed(comments29);
        QTest::newRow("30 lines, the last blank")
            << lines29 + "\r\n"
            << 30 << echoed(comments29 + QStringList{warning});
        QTest::newRow("31 lines") << lines29 + "Comment 30\r\nComment 31" << 30
                                  << echoed(comments29 + QStringList{warning});
        QTest::newRow("blank lines count toward 29")
            << QByteArray(28, '\n') + "Comment x\nComment y" << 30
            << echoed({"Comment x", warning});
    }

    void wholeFile()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(int, lineCount);
        QFETCH(QStringList, details);
        const auto read = modFileAccess::readSettingsLines(bytes);
        QVERIFY(read.ok);
        Globals g;
        RecordingSink sink;
        PreviewFile(g, sink, read.lines, read.moreFollows);
        QCOMPARE(sink.lineCount, lineCount);
        QCOMPARE(sink.details, details);
        const int errors = details.filter("Ignoring").size() + details.filter("Warning").size();
        QCOMPARE(sink.errorCount, errors);
        QCOMPARE(int(g.AcceptedCount), details.size() - errors);
    }

    void applyInFileOrder()
    {
        Globals g;
        g.ModelChannelUnlocked = true;
        RecordingSink sink;
        PreviewFile(g, sink, {"junk", "Baud 4800"}, false); // an earlier load leaves nothing behind
        PreviewFile(g, sink,
                    {"Channel 5", "Start Title 7", "Squelch Off", "Channel 9", "Start Mode Title",
                     "Baud 2400"},
                    false);
        QCOMPARE(sink.errorCount, 0);
        ApplyAcceptedLines(g, sink);
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
