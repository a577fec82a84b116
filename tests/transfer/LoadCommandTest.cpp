// "LOAD from Synchronizer" through the editor window against the simulated unit: the
// port check, the progress window, the pause, filling every field, and the commands held
// off while the load runs.

#include "EditorState.h"
#include "TransferRig.h"
#include "support/TestRunner.h"
#include "transfer/flows/modGetSetAll.h"

#include <QAction>
#include <QComboBox>
#include <QElapsedTimer>
#include <QPushButton>
#include <QTimer>

using namespace TransferTest;

class LoadCommandTest : public QObject
{
    Q_OBJECT
private slots:
    void portClosedSendsNothing();
    void cleanLoadFillsEveryField();
    void commandsHeldOffWhileLoading();
};

void LoadCommandTest::portClosedSendsNothing()
{
    Rig rig;
    QVERIFY(rig.sim.start()); // the unit is there, the port is not open
    const QStringList before = wholeEditor(rig.main());
    ProgressWatch progress(rig.fx.app->progress());

    QTest::mouseClick(rig.main().cmdLoadFrom, Qt::LeftButton);

    QCOMPARE(rig.problems, QStringList{asShown("Cannot Load! Serial port is not available\r\n"
                                               "Use Synchronizer > Find Synchronizer")});
    QVERIFY(progress.showings.isEmpty());
    QCOMPARE(rig.sim.framesReceived(), 0);
    QCOMPARE(wholeEditor(rig.main()), before);
}

void LoadCommandTest::cleanLoadFillsEveryField()
{
    Rig rig;
    QVERIFY(rig.open());
    // Every field differs from what the editor shows after start-up.
    putCells(rig.sim,
             {"3F=41", "3E=07", "modes=M/F", "start=0001205", "end=0123456", "38=05", "39=17",
              "3A=33", "3B=44", "3D=74", "comment=Stage left", "init=AB1\rCD2\rEF3\rGH4\r"});
    ProgressWatch progress(rig.fx.app->progress());
    QElapsedTimer clock;
    qint64 firstCellMs = -1;
    modGetSetAll::setCellHook([&](uint8_t) {
        if (firstCellMs < 0)
            firstCellMs = clock.elapsed();
    });

    clock.start();
    QTest::mouseClick(rig.main().cmdLoadFrom, Qt::LeftButton);
    modGetSetAll::setCellHook({});

    frmMain& m = rig.main();
    QVERIFY2(rig.fx.modal.requests.empty(), qPrintable(rig.messages().join("|")));
    QVERIFY(rig.problems.isEmpty());
    // The unit is given 2.5 s before the first request.
    QVERIFY2(firstCellMs >= 2500, qPrintable(QString::number(firstCellMs)));

    QCOMPARE(progress.showings.size(), 1);
    QCOMPARE(progress.showings[0].caption, QString("Load from Synchronizer"));
    QCOMPARE(progress.showings[0].line, QString("Loading............."));
    QCOMPARE(progress.showings[0].barAtShow, 0);
    QCOMPARE(progress.showings[0].barAtHide, 60);
    QCOMPARE(progress.showings[0].barMax, 60);
    QVERIFY(rig.fx.app->progress().isHidden());

    // The attention pair, then the 56 cells in the load's order.
    QStringList expected{"ATT", "ATT", "R63", "R62", "R60"};
    for (int a = 0x30; a <= 0x3B; ++a)
        expected << QStringLiteral("R%1").arg(a);
    expected << "R61";
    for (int a = 0x48; a <= 0x6F; ++a)
        expected << QStringLiteral("R%1").arg(a);
    QCOMPARE(rig.framesToUnit(), expected);

    QCOMPARE(m.txtModel->text(), QString("41"));
    QCOMPARE(m.txtChannel->text(), QString("7"));
    QVERIFY(m.optStartTimecode->isChecked());
    QVERIFY(m.optEndFrame->isChecked());
    QCOMPARE(m.params.StartMode, PointMode::Timecode);
    QCOMPARE(m.params.EndMode, PointMode::Frame);
    QCOMPARE(m.txtStartMinutes->text(), QString("12"));
    QCOMPARE(m.txtStartSeconds->text(), QString("5"));
    QCOMPARE(m.txtStartFrame->text(), QString("1205"));
    QCOMPARE(m.txtEndFrame->text(), QString("123456"));
    QCOMPARE(m.txtEndMinutes->text(), QString("234"));
    QCOMPARE(m.txtEndSeconds->text(), QString("56"));
    QCOMPARE(m.txtStartTitle->text(), QString("5"));
    QCOMPARE(m.txtEndTitle->text(), QString("17"));
    QCOMPARE(m.txtStartChapter->text(), QString("33"));
    QCOMPARE(m.txtEndChapter->text(), QString("44"));
    QVERIFY(!m.chkSynchronize->isChecked());
    QVERIFY(m.chkSquelch->isChecked());
    QCOMPARE(m.params.OptionBits, uint16_t(4));
    QCOMPARE(m.cmbBaud->currentText(), QString("9600"));
    QCOMPARE(m.txtComment->text(), QString("Stage left"));
    QCOMPARE(m.txtInitStr1->text(), QString("AB1"));
    QCOMPARE(m.txtInitStr4->text(), QString("GH4"));
    QCOMPARE(m.params.InitStr[3], QString("GH4"));
    QCOMPARE(m.params.StartTitle, int16_t(5));
    QCOMPARE(m.params.EndFrame, 123456);
    QVERIFY(rig.shownMarks().isEmpty());
    QVERIFY(!rig.g().ModelChannelUnlocked);
    QVERIFY(rig.g().LinkedFieldsActive);
    QVERIFY(!m.SuspendModeFrameChecks);
    QVERIFY(m.cmdLoadFrom->isEnabled() && m.menuSaveTo->isEnabled());
}

// Mid-load, every command that could start on the port is disabled and does nothing when
// clicked or chosen; Exit still asks the application to end.
void LoadCommandTest::commandsHeldOffWhileLoading()
{
    Rig rig;
    QVERIFY(rig.open());
    frmMain& m = rig.main();
    m.txtComment->setText("kept");
    QStringList disabled;
    bool probed = false;
    QTimer::singleShot(600, &m, [&] {
        probed = true;
        for (QPushButton* b :
             {m.cmdSaveTo, m.cmdLoadFrom, m.cmdFileSave, m.cmdFileLoad, m.cmdDefaults}) {
            if (!b->isEnabled())
                disabled << b->objectName();
            QTest::mouseClick(b, Qt::LeftButton);
        }
        for (QAction* a :
             {m.menuSaveTo, m.menuLoadFrom, m.menuConnect, m.menuFileLoad, m.menuFileSave}) {
            if (!a->isEnabled())
                disabled << a->objectName();
            a->trigger();
        }
        // "Defaults" would have emptied the comment.
        if (m.txtComment->text() != "kept")
            disabled << "Defaults ran";
        QTest::mouseClick(m.cmdExit, Qt::LeftButton);
    });

    QTest::mouseClick(m.cmdLoadFrom, Qt::LeftButton);

    QVERIFY(probed);
    QCOMPARE(disabled, (QStringList{"cmdSaveTo", "cmdLoadFrom", "cmdFileSave", "cmdFileLoad",
                                    "cmdDefaults", "menuSaveTo", "menuLoadFrom", "menuConnect",
                                    "menuFileLoad", "menuFileSave"}));
    QCOMPARE(rig.fx.endRequests, 1);
    QVERIFY(!rig.fx.app->hasFinder());
    // One load and nothing else reached the unit.
    QCOMPARE(rig.framesToUnit().size(), 2 + 56);
    QVERIFY(rig.framesStartingWith("W").isEmpty());
    QVERIFY(rig.problems.isEmpty());
    QCOMPARE(m.txtComment->text(), QString()); // the unit's comment
    for (QPushButton* b : {m.cmdSaveTo, m.cmdLoadFrom, m.cmdFileSave, m.cmdFileLoad, m.cmdDefaults})
        QVERIFY(b->isEnabled());
    QVERIFY(m.menuConnect->isEnabled());
    QVERIFY(!rig.g().TransferRunning);
}

CORVANE_TEST_CLASS(LoadCommandTest)
#include "LoadCommandTest.moc"
