// "LOAD from Synchronizer" through the editor window: the pause, the progress window, the
// wire and its log, every field filled, one load's marks, its report and the model/channel
// lock, and the commands held off while the load runs.

#include "TransferRig.h"
#include "support/Story.h"
#include "support/TestRunner.h"

#include <QAction>
#include <QComboBox>
#include <QElapsedTimer>

using namespace TransferTest;

class LoadTest : public QObject
{
    Q_OBJECT
private slots:
    // The paced load. While it waits out its settling pause and again mid-load, every command
    // that could start on the port is disabled and does nothing when clicked or chosen; Exit
    // still asks the application to end.
    void cleanLoadFillsEveryField()
    {
        Rig rig(true, LineTiming{}); // the paced load: real pauses, 1200 baud
        QVERIFY(rig.ok);
        frmMain& m = rig.main();
        // Every field differs from what the editor shows after start-up: model 41, channel 7,
        // start Time 12:05 to end Frame 123456, titles 5 and 17, chapters 33 and 44, squelch
        // only, a comment and four init strings.
        CellTokens::put(rig.sim,
                        {"3F=41",  "3E=07", "3C=>0",  "30=00", "31=01", "32=20", "33=50",  "34=01",
                         "35=23",  "36=45", "37=60",  "38=05", "39=17", "3A=33", "3B=44",  "3D=74",
                         "48=St",  "49=ag", "4A=e ",  "4B=le", "4C=ft", "50=AB", "51=1\r", "52=CD",
                         "53=2\r", "54=EF", "55=3\r", "56=GH", "57=4\r"});
        setControls(m, {"txtComment=kept"});
        ProgressWatch progress(rig.fx.app->progressWindow());
        QElapsedTimer clock;
        qint64 firstCellMs = -1;
        QStringList enabled;
        QStringList commentMidLoad;
        const auto tryEveryCommand = [&] {
            for (const char* c :
                 {"cmdSaveTo", "cmdLoadFrom", "cmdFileSave", "cmdFileLoad", "cmdDefaults",
                  "menuSaveTo", "menuLoadFrom", "menuConnect", "menuFileLoad", "menuFileSave"}) {
                QObject* command = ctl<QObject>(m, c);
                if (command->property("enabled").toBool())
                    enabled << c;
                QMetaObject::invokeMethod(command, *c == 'c' ? "click" : "trigger");
            }
            commentMidLoad << pick(m, "txtComment"); // "Defaults" would have emptied it
        };
        rig.fx.app->cellHook = [&](uint8_t address) {
            if (firstCellMs < 0)
                firstCellMs = clock.elapsed();
            if (address != 0x60)
                return;
            tryEveryCommand();
            rig.click("cmdExit");
        };
        clock.start();
        rig.click("cmdLoadFrom");
        QVERIFY(firstCellMs < 0 && !rig.fx.app->lease().isFree()); // in its settling pause
        tryEveryCommand();
        QVERIFY(untilLeaseFree(rig.fx.app->lease()));
        rig.fx.app->cellHook = nullptr;

        QCOMPARE(enabled, QStringList());
        QCOMPARE(commentMidLoad, QStringList(2, "txtComment=kept"));
        QVERIFY(rig.fx.endRequests == 1 && !rig.fx.app->hasFinder());
        QVERIFY2(rig.fx.modal.requests.empty(), rig.boxes());
        QVERIFY2(firstCellMs >= 2500, qPrintable(QString::number(firstCellMs))); // settling pause
        QCOMPARE(progress.showings,
                 QStringList{"Load from Synchronizer|Loading.............|0-60/60"}); // and hidden
        // The unit's wire; the log names the same frames, in hex, each read's reply logged
        // before the next frame goes out.
        const QStringList wire = Story::loadFrames();
        QCOMPARE(rig.frames(), wire);
        QString log, named;
        for (const WireLogEntry& e : rig.fx.app->wireLog().entries())
            log += e.kind == WireLogEntry::Sent       ? ' ' + e.text
                   : e.kind == WireLogEntry::Received ? "<"
                                                      : "";
        for (const QString& f : wire)
            named += f == "ATT" ? " ATTN"
                                : " R " + QString::number(f.mid(1).toInt(), 16).toUpper() + '<';
        QCOMPARE(log, named);
        QCOMPARE(rig.logged(WireLogEntry::Command),
                 (QStringList{"begin load", "load ended: 0 problems marked", "end load"}));

        QCOMPARE(pick(m, "txt|opt\\w+=1|chk|lock|marks|record|shp\\w+=(?!hidden)"),
                 "chkSquelch=1|chkSynchronize=0|lock=shut|marks=..........|optEndFrame=1|"
                 "optStartTimecode=1|record=2/3 4|txtChannel=7 disabled|txtComment=Stage left|"
                 "txtEndChapter=44|txtEndFrame=123456|txtEndMinutes=234|txtEndSeconds=56|"
                 "txtEndTitle=17|txtInitStr1=AB1|txtInitStr2=CD2|txtInitStr3=EF3|txtInitStr4=GH4|"
                 "txtModel=41 disabled|txtStartChapter=33|txtStartFrame=1205|txtStartMinutes=12|"
                 "txtStartSeconds=5|txtStartTitle=5"); // record: Time to Frame, squelch only
        QCOMPARE(ctl<QComboBox>(m, "cmbBaud")->currentText(), QString("9600"));
        QVERIFY(m.model().record().EndFrame == 123456 && m.model().record().InitStr[3] == "GH4");
        QVERIFY(m.model().linkedFieldsActive() && !m.model().transferRunning());
        QVERIFY(ctl<QPushButton>(m, "cmdDefaults")->isEnabled() &&
                ctl<QAction>(m, "menuConnect")->isEnabled());
    }

    // A load that marks model or channel unlocks them for correction, each mark in words for
    // a screen reader and in the tooltip, and one report of red and yellow (its text:
    // LoadValidationTest::reportText) beside the editor so that the marked fields stay in
    // view; the next clean load locks them again. A lock the user opened stays open through
    // loads. The first load gets the model cell's reply only when it asks again.
    void marksAndLockFollowLoads()
    {
        const QString unreadable = "unreadable; set to its default|unreadable; set to its default";
        WindowStory s;
        QVERIFY2(
            s.tell({"unit holds back 1 reads", "unit 3E=AB 3B=00", "click cmdLoadFrom",
                    "fields{txt(Model|Channel|EndChapter)=|scrChannel|lock|shp\\w+=(?!hidden)}="
                    "lock=open marked|scrChannel=1/99|shpHiLiteChannel=red|"
                    "shpHiLiteEndChapter=yellow|txtChannel=1|txtEndChapter=2|txtModel=22",
                    "log:Finding=Channel marked red (unreadable): cell 3E bytes 41 42, set to 1\n"
                    "End Chapter marked yellow (out of range): cell 3B bytes 30 30, set to 2",
                    "log:Event~no full reply to R 3F within 200 ms (0 bytes): Reply Timed Out\n",
                    "log:Event~retry 2 of 3 for R 3F after: Reply Timed Out",
                    "log:Command~load ended: 2 problems marked", "described:txtChannel=" + unreadable,
                    "described:scrChannel=" + unreadable,
                    "described:txtEndChapter=out of range; corrected|out of range; corrected",
                    "described:txtModel=|", "messages^ERROR!", "messages~warnings in yellow",
                    "messages!~|", "problems=", "lastbox=exclamation beside",
                    // the marks cleared, their words too
                    "unit 3E=07 3B=44", "load", "result=0",
                    "fields{txt(Model|Channel)=|scrChannel|lock|shp\\w+=(?!hidden)}=lock=shut|"
                    "scrChannel=7/99 hidden|txtChannel=7 disabled|txtModel=22 disabled",
                    "described:txtChannel=|", "described:txtEndChapter=|",
                    // The load holds back the frame checks only while it fills the editor.
                    "set txtStartFrame=abc|optStartFrame=1", "fields{txtStartFrame}=txtStartFrame=1",
                    "hidden keys", "unit 3E=00", "load", "result=1", "fields{lock}=lock=open",
                    "unit 3E=01", "load", "result=0",
                    "fields{scrChannel|lock}=lock=open|scrChannel=1/99"}),
            qPrintable(s.failure));
    }
};

CORVANE_TEST_CLASS(LoadTest)
#include "LoadTest.moc"
