// "SAVE to Synchronizer" through the editor window against the simulated unit: what goes
// on the wire with the model/channel lock on and off, the compare that follows, and the
// values a save refuses to send.

#include "EditorState.h"
#include "TransferRig.h"
#include "app/EditorDefaults.h"
#include "app/HiddenKeys.h"
#include "support/TestRunner.h"
#include "transfer/CellMap.h"
#include "transfer/SavePlan.h"
#include "transfer/flows/EditorReading.h"
#include "transfer/flows/modGetSetAll.h"

#include <QAction>
#include <QElapsedTimer>
#include <QPushButton>
#include <QRadioButton>

using namespace TransferTest;

namespace {
QStringList framesFor(const char* kind, const QVector<uint8_t>& addresses)
{
    QStringList out;
    for (uint8_t a : addresses)
        out << QStringLiteral("%1%2").arg(QLatin1String(kind)).arg(a);
    return out;
}

// "W60 90" -> "W60": the frame kind and address.
QStringList withoutData(const QStringList& frames)
{
    QStringList out;
    for (const QString& f : frames)
        out << f.section(' ', 0, 0);
    return out;
}
} // namespace

class SaveCommandTest : public QObject
{
    Q_OBJECT
private slots:
    void cleanSaveLockedWrites54AndCompares();
    void loadUnlocksThenSaveWrites56AndRelocks();
    void unitKeepingACellFailsTheCompare();
    void valuesTheUnitCannotHoldSendNothing_data();
    void valuesTheUnitCannotHoldSendNothing();
    void saveWorkerRefusesThemToo();
};

void SaveCommandTest::cleanSaveLockedWrites54AndCompares()
{
    Rig rig;
    QVERIFY(rig.open());
    frmMain& m = rig.main();
    modCorvaneComm::SetDefaults(m);
    m.optStartTimecode->setChecked(true);
    m.scrStartMinutes->setValueClamped(12);
    m.scrStartSeconds->setValueClamped(5);
    m.txtComment->setText("Hello");
    m.scrModel->setValueClamped(40); // locked: the unit keeps its own
    // Marks of an earlier load stand until the save.
    m.shpHiLiteStartTitle->setFillColor(HighlightColors::Yellow);
    m.shpHiLiteStartTitle->show();
    rig.g().marks[MarkKey::StartTitle].OutOfRange = true;
    const SavePlan plan = buildSavePlan(readEditor(m));
    QVERIFY(plan.ok());
    const QStringList fieldsBefore = storedFields(m);

    ProgressWatch progress(rig.fx.app->progress());
    QElapsedTimer clock;
    qint64 firstCellMs = -1;
    modGetSetAll::setCellHook([&](uint8_t) {
        if (firstCellMs < 0)
            firstCellMs = clock.elapsed();
    });
    clock.start();
    QTest::mouseClick(m.cmdSaveTo, Qt::LeftButton);
    modGetSetAll::setCellHook({});

    QVERIFY2(rig.fx.modal.requests.empty(),
             qPrintable(rig.messages().join("|") + rig.problems.join("|")));
    // No settling pause before a save: the attention pair and the first write follow at once.
    QVERIFY2(firstCellMs >= 0 && firstCellMs < 2000, qPrintable(QString::number(firstCellMs)));

    QCOMPARE(progress.showings.size(), 2);
    QCOMPARE(progress.showings[0].caption, QString("Save to Synchronizer"));
    QCOMPARE(progress.showings[0].line, QString("Saving............."));
    QCOMPARE(progress.showings[0].barAtShow, 0);
    QCOMPARE(progress.showings[0].barAtHide, 57);
    QCOMPARE(progress.showings[1].caption, QString("Save to Synchronizer"));
    QCOMPARE(progress.showings[1].line, QString("Comparing............."));
    QCOMPARE(progress.showings[1].barAtShow, 0);
    QCOMPARE(progress.showings[1].barAtHide, 56);
    QCOMPARE(progress.showings[1].barMax, 60);
    QVERIFY(rig.fx.app->progress().isHidden());

    const QStringList writes = rig.framesStartingWith("W");
    QCOMPARE(writes.size(), 54);
    QCOMPARE(withoutData(writes), framesFor("W", saveWriteOrder(false)));
    QVERIFY(!writes.join(' ').contains("W62") && !writes.join(' ').contains("W63"));
    QCOMPARE(rig.framesStartingWith("R"), framesFor("R", compareReadOrder(false)));
    QCOMPARE(rig.framesStartingWith("ATT").size(), 4);
    for (const CellWrite& w : plan.writes)
        QCOMPARE(rig.sim.cell(w.address), (std::array<uint8_t, 2>{w.bytes.d0, w.bytes.d1}));
    QCOMPARE(rig.sim.cell(0x3F), (std::array<uint8_t, 2>{'2', '2'}));
    QCOMPARE(rig.sim.cell(0x30), (std::array<uint8_t, 2>{'0', '0'})); // 12:05 as 0001205
    QCOMPARE(rig.sim.cell(0x32), (std::array<uint8_t, 2>{'2', '0'}));

    QVERIFY(rig.shownMarks().isEmpty());
    QVERIFY(!rig.g().marks.any());
    QCOMPARE(storedFields(m), fieldsBefore);
    QCOMPARE(m.params.StartMode, PointMode::Timecode);
    QVERIFY(m.cmdSaveTo->isEnabled() && !rig.g().TransferRunning);
}

// Model and channel that a load found bad are unlocked for correction, written and read
// back by the save (56 cells), and locked again by the compare.
void SaveCommandTest::loadUnlocksThenSaveWrites56AndRelocks()
{
    Rig rig;
    QVERIFY(rig.open());
    frmMain& m = rig.main();
    putCells(rig.sim, {"3F=??"});
    QCOMPARE(modGetSetAll::GetAllFromCorvane(m), int16_t(1));
    QVERIFY(rig.g().ModelChannelUnlocked && rig.g().ModelChannelMarked);
    m.scrModel->setValueClamped(33);
    m.scrChannel->setValueClamped(4);
    rig.sim.clearWireLog();
    rig.fx.modal.clear();
    ProgressWatch progress(rig.fx.app->progress());

    QTest::mouseClick(m.cmdSaveTo, Qt::LeftButton);

    QVERIFY2(rig.fx.modal.requests.empty(),
             qPrintable(rig.messages().join("|") + rig.problems.join("|")));
    const QStringList writes = rig.framesStartingWith("W");
    QCOMPARE(writes.size(), 56);
    QCOMPARE(writes.mid(0, 2), (QStringList{"W63 33", "W62 04"}));
    QCOMPARE(withoutData(writes), framesFor("W", saveWriteOrder(true)));
    QCOMPARE(rig.framesStartingWith("R"), framesFor("R", compareReadOrder(true)));
    QCOMPARE(progress.showings.size(), 2);
    QCOMPARE(progress.showings[0].barAtHide, 57);
    QCOMPARE(progress.showings[1].barAtHide, 58);
    QCOMPARE(rig.sim.cell(0x3F), (std::array<uint8_t, 2>{'3', '3'}));
    QVERIFY(!rig.g().ModelChannelUnlocked && !rig.g().ModelChannelMarked);
    QVERIFY(m.scrModel->isHidden() && !m.txtModel->isEnabled());
    QCOMPARE(m.txtModel->text(), QString("33"));
}

void SaveCommandTest::unitKeepingACellFailsTheCompare()
{
    Rig rig;
    QVERIFY(rig.open());
    frmMain& m = rig.main();
    rig.sim.freezeCell(0x48);
    m.txtComment->setText("Hello");
    ProgressWatch progress(rig.fx.app->progress());

    QTest::mouseClick(m.cmdSaveTo, Qt::LeftButton);

    QCOMPARE(rig.problems,
             QStringList{asShown("Compare Failed! The settings did not save correctly "
                                 "to the synchronizer.\r\n Please try again")});
    QVERIFY(rig.messages().isEmpty());
    QCOMPARE(progress.showings.size(), 2);
    QCOMPARE(rig.framesStartingWith("R").size(), 54);
    QVERIFY(rig.shownMarks().isEmpty()); // a compare counts, it does not mark
}

void SaveCommandTest::valuesTheUnitCannotHoldSendNothing_data()
{
    QTest::addColumn<QString>("setup");
    QTest::addColumn<QString>("holds");

    // Boxes a settings file may have filled with anything, and a frame number typed but
    // not yet checked when the menu entry (which leaves the focus in the box) saves.
    QTest::newRow("start title not a number") << "txtStartTitle=abc"
                                              << "Start Title holds \"abc\"";
    QTest::newRow("end title above 99") << "txtEndTitle=150"
                                        << "End Title holds \"150\"";
    QTest::newRow("start chapter empty") << "txtStartChapter="
                                         << "Start Chapter holds nothing";
    QTest::newRow("unchecked start frame, saved from the menu") << "typed start frame 2000000"
                                                                << "Start Frame holds \"2000000\"";
    QTest::newRow("model not a number while unlocked") << "unlocked txtModel=x"
                                                       << "Model holds \"x\"";
}

void SaveCommandTest::valuesTheUnitCannotHoldSendNothing()
{
    QFETCH(QString, setup);
    QFETCH(QString, holds);
    Rig rig;
    QVERIFY(rig.open());
    frmMain& m = rig.main();
    bool viaMenu = false;
    if (setup.startsWith("typed start frame ")) {
        m.optStartFrame->setChecked(true);
        m.txtStartFrame->setFocus();
        m.txtStartFrame->selectAll();
        QTest::keyClicks(m.txtStartFrame, setup.section(' ', 3));
        viaMenu = true;
    } else {
        if (setup.startsWith("unlocked ")) {
            m.Form_KeyPress(HiddenKeys::First);
            m.Form_KeyPress(HiddenKeys::Second);
            setup = setup.section(' ', 1);
        }
        m.findChild<QLineEdit*>(setup.section('=', 0, 0))->setText(setup.section('=', 1));
    }
    const QStringList before = wholeEditor(m);
    ProgressWatch progress(rig.fx.app->progress());

    if (viaMenu)
        m.menuSaveTo->trigger();
    else
        QTest::mouseClick(m.cmdSaveTo, Qt::LeftButton);

    QCOMPARE(rig.problems.size(), 1);
    QVERIFY2(rig.problems[0].startsWith("Cannot Save! "), qPrintable(rig.problems[0]));
    QVERIFY2(rig.problems[0].contains(holds), qPrintable(rig.problems[0]));
    QVERIFY(!rig.problems[0].contains("communications errors"));
    QVERIFY(rig.messages().isEmpty());
    QVERIFY(progress.showings.isEmpty());
    QCOMPARE(rig.sim.framesReceived(), 0);
    QCOMPARE(wholeEditor(m), before);
}

// The worker checks on its own as well, for any other caller.
void SaveCommandTest::saveWorkerRefusesThemToo()
{
    Rig rig;
    QVERIFY(rig.open());
    frmMain& m = rig.main();
    m.txtEndChapter->setText("1");

    QCOMPARE(modGetSetAll::SetAllToCorvane(m), modGetSetAll::AlreadyReported);

    QCOMPARE(rig.problems.size(), 1);
    QVERIFY(rig.problems[0].startsWith("Cannot Save! ") &&
            rig.problems[0].contains("End Chapter holds \"1\""));
    QCOMPARE(rig.sim.framesReceived(), 0);
}

CORVANE_TEST_CLASS(SaveCommandTest)
#include "SaveCommandTest.moc"
