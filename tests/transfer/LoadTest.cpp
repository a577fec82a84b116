// "LOAD from Synchronizer" through the editor window: the pause, the progress window,
// every field filled, one load's marks applied to the window, the model/channel lock,
// and the commands held off while the load runs.

#include "TransferRig.h"
#include "app/HiddenKeys.h"
#include "flows/modGetSetAll.h"
#include "support/TestRunner.h"
#include "transfer/LoadReport.h"

#include <QAction>
#include <QComboBox>
#include <QElapsedTimer>
#include <QPushButton>
#include <QTimer>

using namespace TransferTest;

class LoadTest : public QObject
{
    Q_OBJECT
private slots:
    void cleanLoadFillsEveryField();
    void marksAndLockFollowLoads();
    void commandsHeldOffWhileLoading();
    void loadKeepsValidSetIntact();
};

void LoadTest::cleanLoadFillsEveryField()
{
    Rig rig(true, LineTiming{}); // the paced load: real pauses, 1200 baud
    QVERIFY(rig.ok);
    // Every field differs from what the editor shows after start-up.
    putCells(rig.sim,
             {"3F=41", "3E=07", "modes=M/F", "start=0001205", "end=0123456", "38=05", "39=17",
              "3A=33", "3B=44", "3D=74", "comment=Stage left", "init=AB1\rCD2\rEF3\rGH4\r"});
    ProgressWatch progress(rig.fx.app->progressWindow());
    QElapsedTimer clock;
    qint64 firstCellMs = -1;
    rig.fx.app->cellHook = ([&](uint8_t) {
        if (firstCellMs < 0)
            firstCellMs = clock.elapsed();
    });
    clock.start();
    QTest::mouseClick(ctl<QPushButton>(rig.main(), "cmdLoadFrom"), Qt::LeftButton);
    rig.fx.app->cellHook = nullptr;

    frmMain& m = rig.main();
    QVERIFY2(rig.fx.modal.requests.empty(), rig.boxes());
    QVERIFY2(firstCellMs >= 2500, qPrintable(QString::number(firstCellMs))); // settling pause
    QCOMPARE(progress.showings, QStringList{"Load from Synchronizer|Loading.............|0-60/60"});
    QVERIFY(rig.fx.app->progressWindow().isHidden());
    QStringList expected{"ATT", "ATT", "R63", "R62", "R60"};
    for (int a = 0x30; a <= 0x3B; ++a)
        expected << QStringLiteral("R%1").arg(a);
    expected << "R61";
    for (int a = 0x48; a <= 0x6F; ++a)
        expected << QStringLiteral("R%1").arg(a);
    QCOMPARE(rig.framesStartingWith(""), expected);

    const QStringList state = wholeEditor(m);
    for (const QString& f :
         QString("txtModel=41|txtChannel=7|optStartTimecode=1|optEndFrame=1|txtStartMinutes=12|"
                 "txtStartSeconds=5|txtStartFrame=1205|txtEndFrame=123456|txtEndMinutes=234|"
                 "txtEndSeconds=56|txtStartTitle=5|txtEndTitle=17|txtStartChapter=33|"
                 "txtEndChapter=44|chkSynchronize=0|chkSquelch=1|txtComment=Stage left|"
                 "txtInitStr1=AB1|txtInitStr2=CD2|txtInitStr4=GH4|unlocked=0 marked=0 txtModel "
                 "enabled=0")
             .split('|'))
        QVERIFY2(state.contains(f), qPrintable(f));
    QCOMPARE(ctl<QComboBox>(m, "cmbBaud")->currentText(), QString("9600"));
    QCOMPARE(m.model().record().StartMode, PointMode::Timecode);
    QCOMPARE(m.model().record().EndMode, PointMode::Frame);
    QCOMPARE(m.model().record().OptionBits, uint16_t(4));
    QCOMPARE(m.model().record().EndFrame, 123456);
    QCOMPARE(m.model().record().InitStr[3], QString("GH4"));
    QVERIFY(rig.shownMarks().isEmpty());
    QVERIFY(m.model().linkedFieldsActive());
    QVERIFY(ctl<QPushButton>(m, "cmdLoadFrom")->isEnabled() &&
            ctl<QAction>(m, "menuSaveTo")->isEnabled());
}

// A load that marks model or channel unlocks them for correction; the next clean load
// locks them again. A lock the user opened stays open through loads.
void LoadTest::marksAndLockFollowLoads()
{
    Rig rig;
    QVERIFY(rig.ok);
    frmMain& m = rig.main();
    putCells(rig.sim, {"3E=AB", "3B=00"});
    QCOMPARE(modGetSetAll::GetAllFromCorvane(*rig.fx.app), int16_t(2));
    QCOMPARE(rig.shownMarks(), (QStringList{"shpHiLiteChannel=red", "shpHiLiteEndChapter=yellow"}));
    QCOMPARE(rig.messages(), QStringList{loadReportText(1, 1)});
    QVERIFY(rig.fx.modal.requests.back().exclamation && rig.problems.isEmpty());
    // Beside the editor, so that the marked fields stay in view.
    QVERIFY(rig.fx.modal.requests.back().place == Modal::Place::BesideOwner);
    const QStringList state = wholeEditor(m);
    QVERIFY(state.contains("txtChannel=1") && state.contains("txtEndChapter=2"));
    QVERIFY(m.model().modelChannelUnlocked() && m.model().modelChannelMarked());
    QVERIFY(ctl<QLineEdit>(m, "txtModel")->isEnabled() &&
            !ctl<Spinner>(m, "scrChannel")->isHidden());

    putCells(rig.sim, {"3E=07", "3B=44"});
    QCOMPARE(modGetSetAll::GetAllFromCorvane(*rig.fx.app), int16_t(0));
    QVERIFY(rig.shownMarks().isEmpty());
    QVERIFY(!m.model().modelChannelUnlocked() && !m.model().modelChannelMarked());
    QVERIFY(ctl<Spinner>(m, "scrChannel")->isHidden() &&
            !ctl<QLineEdit>(m, "txtChannel")->isEnabled());

    m.Form_KeyPress(HiddenKeys::First);
    m.Form_KeyPress(HiddenKeys::Second);
    QVERIFY(m.model().modelChannelUnlocked());
    putCells(rig.sim, {"3E=00"});
    QCOMPARE(modGetSetAll::GetAllFromCorvane(*rig.fx.app), int16_t(1));
    QVERIFY(m.model().modelChannelUnlocked() && !m.model().modelChannelMarked());
    putCells(rig.sim, {"3E=01"});
    QCOMPARE(modGetSetAll::GetAllFromCorvane(*rig.fx.app), int16_t(0));
    QVERIFY(m.model().modelChannelUnlocked() && !ctl<Spinner>(m, "scrChannel")->isHidden());
}

// Mid-load, every command that could start on the port is disabled and does nothing when
// clicked or chosen; Exit still asks the application to end.
void LoadTest::commandsHeldOffWhileLoading()
{
    Rig rig;
    QVERIFY(rig.ok);
    frmMain& m = rig.main();
    ctl<QLineEdit>(m, "txtComment")->setText("kept");
    QStringList disabled;
    rig.fx.app->cellHook = [&](uint8_t address) {
        if (address != 0x60)
            return;
        for (QPushButton* b :
             {ctl<QPushButton>(m, "cmdSaveTo"), ctl<QPushButton>(m, "cmdLoadFrom"),
              ctl<QPushButton>(m, "cmdFileSave"), ctl<QPushButton>(m, "cmdFileLoad"),
              ctl<QPushButton>(m, "cmdDefaults")}) {
            disabled << b->objectName() + (b->isEnabled() ? "=on" : "");
            QTest::mouseClick(b, Qt::LeftButton);
        }
        for (QAction* a : {ctl<QAction>(m, "menuSaveTo"), ctl<QAction>(m, "menuLoadFrom"),
                           ctl<QAction>(m, "menuConnect"), ctl<QAction>(m, "menuFileLoad"),
                           ctl<QAction>(m, "menuFileSave")}) {
            disabled << a->objectName() + (a->isEnabled() ? "=on" : "");
            a->trigger();
        }
        disabled << "comment=" +
                        ctl<QLineEdit>(m, "txtComment")->text(); // "Defaults" would have emptied it
        QTest::mouseClick(ctl<QPushButton>(m, "cmdExit"), Qt::LeftButton);
    };

    QTest::mouseClick(ctl<QPushButton>(m, "cmdLoadFrom"), Qt::LeftButton);

    QCOMPARE(disabled, (QStringList{"cmdSaveTo", "cmdLoadFrom", "cmdFileSave", "cmdFileLoad",
                                    "cmdDefaults", "menuSaveTo", "menuLoadFrom", "menuConnect",
                                    "menuFileLoad", "menuFileSave", "comment=kept"}));
    QCOMPARE(rig.fx.endRequests, 1);
    QVERIFY(!rig.fx.app->hasFinder());
    QCOMPARE(rig.framesStartingWith("").size(), 2 + 56); // one load and nothing else
    QVERIFY(rig.problems.isEmpty());
    QCOMPARE(ctl<QLineEdit>(m, "txtComment")->text(), QString()); // the unit's comment
    QVERIFY(ctl<QPushButton>(m, "cmdDefaults")->isEnabled() &&
            ctl<QAction>(m, "menuConnect")->isEnabled() && !rig.main().model().transferRunning());
}

// Two ways the editor's own reactions could alter a valid loaded set: the user was typing a
// start frame (a menu entry leaves the focus there) when the load switches the start to a
// time, and the editor's old init strings filled the 58 characters.
void LoadTest::loadKeepsValidSetIntact()
{
    Rig rig;
    QVERIFY(rig.ok);
    frmMain& m = rig.main();
    ctl<QRadioButton>(m, "optEndFrame")->setChecked(true);
    ctl<QRadioButton>(m, "optStartFrame")->setChecked(true);
    ctl<QLineEdit>(m, "txtStartFrame")->setFocus();
    QTest::keyClicks(ctl<QLineEdit>(m, "txtStartFrame"), "7");
    ctl<QLineEdit>(m, "txtInitStr1")->setText("A");
    ctl<QLineEdit>(m, "txtInitStr2")->setText(QString(23, 'B'));
    ctl<QLineEdit>(m, "txtInitStr3")->setText(QString(23, 'C'));
    ctl<QLineEdit>(m, "txtInitStr4")->setText(QString(11, 'D'));
    putCells(rig.sim, {"modes=M/F", "start=0001205", "end=0001000", "init=12345678901234567890\r"});

    QCOMPARE(modGetSetAll::GetAllFromCorvane(*rig.fx.app), int16_t(0));

    QCOMPARE(ctl<QLineEdit>(m, "txtStartFrame")->text(), QString("1205"));
    QCOMPARE(ctl<QLineEdit>(m, "txtEndFrame")->text(), QString("1000"));
    QCOMPARE(m.model().record().EndFrame, 1000);
    QVERIFY(rig.shownMarks().isEmpty());
    QVERIFY2(rig.boxes().isEmpty(), rig.boxes().constData());
    QCOMPARE(ctl<QLineEdit>(m, "txtInitStr1")->text(), QString("12345678901234567890"));
    QCOMPARE(ctl<QLineEdit>(m, "txtInitStr2")->text(), QString());
}

CORVANE_TEST_CLASS(LoadTest)
#include "LoadTest.moc"
