// Every keyword's accepted and dropped forms: one line through the preview pass (the
// canonical line echoed, or nothing) and then through the apply pass (the controls set).

#include "RecordingSink.h"
#include "settingsfile/Parser.h"

#include <QTest>

using namespace modParser;

class KeywordTest : public QObject
{
    Q_OBJECT
private slots:
    void oneLine_data();
    void oneLine();
    void unrecognized_data();
    void unrecognized();
};

namespace {
enum Lock
{
    Unlocked,
    Locked,
    BoxDisabled
};
}
Q_DECLARE_METATYPE(Lock)

void KeywordTest::oneLine_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<Lock>("lock");
    QTest::addColumn<QString>("canonical"); // "" = dropped silently
    QTest::addColumn<QString>("applied");   // the controls' values after the apply pass

    const QString init23 = QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVW");

    QTest::newRow("header") << "Begin Quillmere Corvane 2.0(beta) Save File" << Unlocked << ""
                            << "";
    QTest::newRow("begin alone") << "BEGIN" << Unlocked << ""
                                 << "";
    QTest::newRow("timestamp") << "Timestamp 3/14/2008 10:15:07 AM" << Unlocked << ""
                               << "";
    QTest::newRow("footer") << "End Quillmere Corvane 2.0(beta) Save File" << Unlocked << ""
                            << "";

    QTest::newRow("model unlocked") << "Model 22" << Unlocked << "Model 22"
                                    << "Model=22";
    QTest::newRow("model locked") << "Model 22" << Locked << ""
                                  << "";
    QTest::newRow("model box disabled") << "Model 22" << BoxDisabled << ""
                                        << "";
    QTest::newRow("model without value") << "Model" << Unlocked << ""
                                         << "";
    QTest::newRow("model empty value word") << "Model  22" << Unlocked << ""
                                            << "";
    QTest::newRow("model value not checked") << "model abc" << Unlocked << "model abc"
                                             << "Model=abc";
    QTest::newRow("channel, extra words ignored") << "CHANNEL 7 and more" << Unlocked << "CHANNEL 7"
                                                  << "Channel=7";
    QTest::newRow("channel locked") << "Channel 7" << Locked << ""
                                    << "";
    QTest::newRow("channel box disabled") << "Channel 7" << BoxDisabled << ""
                                          << "";

    QTest::newRow("start mode title") << "Start Mode Title" << Locked << "Start Mode Title"
                                      << "StartMode=StartTitle";
    QTest::newRow("start mode chapter, lower case kept")
        << "start mode chapter" << Locked << "start mode chapter"
        << "StartMode=StartChapter";
    QTest::newRow("start mode timecode, extra word")
        << "START MODE TIMECODE now" << Locked << "START MODE TIMECODE"
        << "StartMode=StartTimecode";
    QTest::newRow("start mode frame") << "Start Mode Frame" << Locked << "Start Mode Frame"
                                      << "StartMode=StartFrame";
    QTest::newRow("end mode title") << "End Mode Title" << Locked << "End Mode Title"
                                    << "EndMode=EndTitle";
    QTest::newRow("end mode chapter") << "End Mode Chapter" << Locked << "End Mode Chapter"
                                      << "EndMode=EndChapter";
    QTest::newRow("end mode timecode") << "End Mode Timecode" << Locked << "End Mode Timecode"
                                       << "EndMode=EndTimecode";
    QTest::newRow("end mode frame") << "end MODE frame" << Locked << "end MODE frame"
                                    << "EndMode=EndFrame";
    QTest::newRow("unknown mode word") << "Start Mode Minutes" << Locked << ""
                                       << "";
    QTest::newRow("mode without word") << "Start Mode" << Locked << ""
                                       << "";
    QTest::newRow("empty word 1") << "Start  Title 5" << Locked << ""
                                  << "";
    QTest::newRow("start unknown part") << "Start Minutes 5" << Locked << ""
                                        << "";
    QTest::newRow("end unknown part") << "End Seconds 5" << Locked << ""
                                      << "";

    QTest::newRow("start frame commas") << "Start Frame 1,234" << Locked << "Start Frame 1234"
                                        << "StartFrame=1234";
    QTest::newRow("start frame empty value word") << "Start Frame  5" << Locked << "Start Frame 0"
                                                  << "StartFrame=0";
    QTest::newRow("start frame commas only") << "Start Frame ,," << Locked << "Start Frame 0"
                                             << "StartFrame=0";
    QTest::newRow("start frame not a number") << "Start Frame abc" << Locked << "Start Frame abc"
                                              << "StartFrame=abc";
    QTest::newRow("start timecode goes to the frame")
        << "Start Timecode 9,000" << Locked << "Start Timecode 9000"
        << "StartFrame=9000";
    QTest::newRow("end frame") << "End Frame 1,079,999" << Locked << "End Frame 1079999"
                               << "EndFrame=1079999";
    QTest::newRow("end timecode goes to the frame")
        << "end timecode 12" << Locked << "end timecode 12"
        << "EndFrame=12";
    QTest::newRow("start title") << "Start Title 3" << Locked << "Start Title 3"
                                 << "StartTitle=3";
    QTest::newRow("end title") << "End Title 1,2" << Locked << "End Title 12"
                               << "EndTitle=12";
    QTest::newRow("start chapter") << "Start Chapter 5" << Locked << "Start Chapter 5"
                                   << "StartChapter=5";
    QTest::newRow("end chapter") << "End Chapter 6" << Locked << "End Chapter 6"
                                 << "EndChapter=6";

    QTest::newRow("synchronize on") << "Synchronize On" << Locked << "Synchronize On"
                                    << "Synchronize=1";
    QTest::newRow("synchronize off, any case") << "SYNCHRONIZE oFf x" << Locked << "SYNCHRONIZE oFf"
                                               << "Synchronize=0";
    QTest::newRow("synchronize yes") << "Synchronize YES" << Locked << ""
                                     << "";
    QTest::newRow("synchronize alone") << "Synchronize" << Locked << ""
                                       << "";
    QTest::newRow("squelch on") << "squelch on" << Locked << "squelch on"
                                << "Squelch=1";
    QTest::newRow("squelch off") << "Squelch Off" << Locked << "Squelch Off"
                                 << "Squelch=0";
    QTest::newRow("squelch 1") << "Squelch 1" << Locked << ""
                               << "";

    QTest::newRow("baud 1200") << "Baud 1200" << Locked << "Baud 1200"
                               << "Baud=0";
    QTest::newRow("baud 2400") << "BAUD 2400" << Locked << "BAUD 2400"
                               << "Baud=1";
    QTest::newRow("baud 4800") << "baud 4800" << Locked << "baud 4800"
                               << "Baud=2";
    QTest::newRow("baud 9600") << "Baud 9600" << Locked << "Baud 9600"
                               << "Baud=3";
    QTest::newRow("baud 19200") << "Baud 19200" << Locked << ""
                                << "";
    QTest::newRow("baud 9,600") << "Baud 9,600" << Locked << ""
                                << "";
    QTest::newRow("baud alone") << "Baud" << Locked << ""
                                << "";

    QTest::newRow("init string") << "Init String 1 0KL0DS" << Locked << "Init String 1 0KL0DS"
                                 << "InitStr1=0KL0DS";
    QTest::newRow("init string without value empties it")
        << "Init String 2" << Locked << "Init String 2 "
        << "InitStr2=";
    QTest::newRow("init string with blanks kept")
        << "Init String 3 AB CD  " << Locked << "Init String 3 AB CD  "
        << "InitStr3=AB CD  ";
    QTest::newRow("init string leading blank kept")
        << "Init String 4  X" << Locked << "Init String 4  X"
        << "InitStr4= X";
    QTest::newRow("init string of 23 kept whole")
        << "Init String 1 " + init23 << Locked << "Init String 1 " + init23 << "InitStr1=" + init23;
    QTest::newRow("init string cut to 23") << "Init String 1 " + init23 + "XYZ" << Locked
                                           << "Init String 1 " + init23 << "InitStr1=" + init23;
    QTest::newRow("init string with tabs")
        << "Init\tString\t2\tA\tB" << Locked << "Init String 2 A\tB"
        << "InitStr2=A\tB";
    QTest::newRow("init string lower case kept") << "init string 4 x" << Locked << "init string 4 x"
                                                 << "InitStr4=x";
    QTest::newRow("init string number 02") << "Init String 02 y" << Locked << "Init String 02 y"
                                           << "InitStr2=y";
    QTest::newRow("init string 0") << "Init String 0 X" << Locked << ""
                                   << "";
    QTest::newRow("init string 5") << "Init String 5 X" << Locked << ""
                                   << "";
    QTest::newRow("init strings") << "Init Strings 1 X" << Locked << ""
                                  << "";
    QTest::newRow("init string one") << "Init String one X" << Locked << ""
                                     << "";
    QTest::newRow("init string huge number") << "Init String 4294967297 X" << Locked << ""
                                             << "";
    QTest::newRow("init string no number") << "Init String" << Locked << ""
                                           << "";

    QTest::newRow("comment") << "Comment lobby wall" << Locked << "Comment lobby wall"
                             << "Comment=lobby wall";
    QTest::newRow("comment alone empties it") << "Comment" << Locked << "Comment "
                                              << "Comment=";
    QTest::newRow("comment cut to 15")
        << "Comment 12345678901234567890" << Locked << "Comment 123456789012345"
        << "Comment=123456789012345";
    QTest::newRow("comment inner and trailing blanks")
        << "COMMENT  a  b  " << Locked << "COMMENT  a  b  "
        << "Comment= a  b  ";
    QTest::newRow("comment after a tab") << "Comment\tx y" << Locked << "Comment x y"
                                         << "Comment=x y";
    QTest::newRow("comment line indented by a tab")
        << "\tComment tabbed" << Locked << "Comment tabbed"
        << "Comment=tabbed";
    QTest::newRow("indented by blanks") << "   Start Title 4" << Locked << "Start Title 4"
                                        << "StartTitle=4";
    QTest::newRow("blank line") << "     " << Locked << ""
                                << "";
    QTest::newRow("tab line") << "\t \t" << Locked << ""
                              << "";
}

void KeywordTest::oneLine()
{
    QFETCH(QString, line);
    QFETCH(Lock, lock);
    QFETCH(QString, canonical);
    QFETCH(QString, applied);

    Globals g;
    g.ModelChannelUnlocked = lock != Locked;
    RecordingSink sink;
    sink.modelEnabled = sink.channelEnabled = lock == Unlocked;

    PreviewFile(g, sink, {line}, false);
    const QStringList expectedDetails =
        canonical.isEmpty() ? QStringList() : QStringList{"LoadFile: " + canonical + "\r\n"};
    QCOMPARE(sink.details, expectedDetails);
    QCOMPARE(g.FileErrorCount, 0);
    QCOMPARE(sink.errorCount, 0);
    QVERIFY(sink.log.isEmpty()); // the preview never touches the editor

    ApplyAcceptedLines(g, sink);
    QCOMPARE(sink.state(), applied);
    QCOMPARE(sink.log.first(), QStringLiteral("begin"));
    QCOMPARE(sink.log.last(), QStringLiteral("end"));
    // Nothing new in the details box: every kept line is understood again.
    QCOMPARE(sink.details, expectedDetails);
    QCOMPARE(g.FileErrorCount, 0);
}

void KeywordTest::unrecognized_data()
{
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<QStringList>("details");

    QTest::newRow("plain") << QStringList{"Hello world"}
                           << QStringList{"LoadFile: ->>> Ignoring Unrecognized Line "
                                          "(1)-->>>Hello world\r\n"};
    QTest::newRow("line as read, leading blanks kept")
        << QStringList{"Model 1", "  Modell 5 "}
        << QStringList{"LoadFile: ->>> Ignoring Unrecognized Line (2)-->>>  Modell 5 \r\n"};
    QTest::newRow("blank lines count")
        << QStringList{"", "   ", "Start Title 2", "\tbogus"}
        << QStringList{"LoadFile: Start Title 2\r\n",
                       "LoadFile: ->>> Ignoring Unrecognized Line (4)-->>>\tbogus\r\n"};
    QTest::newRow("keyword must be a whole word")
        << QStringList{"StartMode Title"}
        << QStringList{"LoadFile: ->>> Ignoring Unrecognized Line (1)-->>>StartMode Title\r\n"};
}

void KeywordTest::unrecognized()
{
    QFETCH(QStringList, lines);
    QFETCH(QStringList, details);
    Globals g;
    RecordingSink sink;
    PreviewFile(g, sink, lines, false);
    QCOMPARE(sink.details, details);
    const int errors = static_cast<int>(details.filter("Ignoring").size());
    QCOMPARE(int(g.FileErrorCount), errors);
    QCOMPARE(sink.errorCount, errors);
    QCOMPARE(int(g.AcceptedCount), details.size() - errors);
}

int runKeywordTest(int argc, char** argv)
{
    KeywordTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "KeywordTest.moc"
