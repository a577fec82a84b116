// "SAVE to Synchronizer" through the editor window: what goes on the wire with the
// model/channel lock on and off, the compare that follows, and the values a save refuses
// to send.

#include "TransferRig.h"
#include "app/HiddenKeys.h"
#include "flows/modGetSetAll.h"
#include "support/TestRunner.h"
#include "transfer/CellMap.h"
#include "transfer/SavePlan.h"

#include <QAction>
#include <QPushButton>

using namespace TransferTest;

namespace {
// "W60 90" -> "W60", and the frames expected for a list of addresses.
QStringList withoutData(const QStringList& frames)
{
    QStringList out;
    for (const QString& f : frames)
        out << f.section(' ', 0, 0);
    return out;
}
QStringList framesFor(const char* kind, const QVector<uint8_t>& addresses)
{
    QStringList out;
    for (uint8_t a : addresses)
        out << QLatin1String(kind) + QString::number(a);
    return out;
}
} // namespace

class SaveTest : public QObject
{
    Q_OBJECT
private slots:
    void cleanSaveWritesAndCompares_data();
    void cleanSaveWritesAndCompares();
    void unitKeepingACellFailsTheCompare();
    void valuesTheUnitCannotHoldSendNothing_data();
    void valuesTheUnitCannotHoldSendNothing();
};

void SaveTest::cleanSaveWritesAndCompares_data()
{
    QTest::addColumn<bool>("unlocked");
    QTest::addColumn<QString>("compareBar"); // model and channel move only the compare's bar
    QTest::newRow("locked: the unit keeps its model and channel") << false << "0-56/60";
    QTest::newRow("unlocked by a load that marked them") << true << "0-58/60";
}

void SaveTest::cleanSaveWritesAndCompares()
{
    QFETCH(bool, unlocked);
    QFETCH(QString, compareBar);
    Rig rig;
    QVERIFY(rig.ok);
    frmMain& m = rig.main();
    if (unlocked) {
        putCells(rig.sim, {"3F=??"});
        QCOMPARE(modGetSetAll::GetAllFromCorvane(*rig.fx.app), int16_t(1));
        rig.sim.clearWireLog();
        rig.fx.modal.clear();
    } else {
        // Marks of an earlier load stand until the save.
        ctl<HighlightShape>(m, "shpHiLiteStartTitle")->setFillColor(HighlightColors::Yellow);
        ctl<HighlightShape>(m, "shpHiLiteStartTitle")->show();
        rig.main().model().marks()[MarkKey::StartTitle].OutOfRange = true;
    }
    ctl<Spinner>(m, "scrModel")->setValueClamped(33);
    ctl<Spinner>(m, "scrChannel")->setValueClamped(4);
    ctl<QRadioButton>(m, "optStartTimecode")->setChecked(true);
    ctl<QLineEdit>(m, "txtComment")->setText("Hello");
    const SavePlan plan = buildSavePlan(m.model().snapshot());
    QVERIFY(plan.ok());
    const QStringList fieldsBefore = storedFields(m);
    ProgressWatch progress(rig.fx.app->progressWindow());

    QTest::mouseClick(ctl<QPushButton>(m, "cmdSaveTo"), Qt::LeftButton);

    QVERIFY2(rig.fx.modal.requests.empty(), rig.boxes());
    QCOMPARE(progress.showings,
             (QStringList{"Save to Synchronizer|Saving.............|0-57/60",
                          "Save to Synchronizer|Comparing.............|" + compareBar}));
    QVERIFY(rig.fx.app->progressWindow().isHidden());
    const QStringList writes = rig.framesStartingWith("W");
    QCOMPARE(writes.size(), unlocked ? 56 : 54);
    QCOMPARE(withoutData(writes), framesFor("W", saveWriteOrder(unlocked)));
    QCOMPARE(writes.filter(QRegularExpression("^W6[23] ")).size(), unlocked ? 2 : 0);
    QCOMPARE(rig.framesStartingWith("R"), framesFor("R", compareReadOrder(unlocked)));
    QCOMPARE(rig.framesStartingWith("ATT").size(), 4);
    for (const CellWrite& w : plan.writes)
        QCOMPARE(rig.sim.cell(w.address), (std::array<uint8_t, 2>{w.bytes.d0, w.bytes.d1}));
    const uint8_t model = unlocked ? '3' : '2';
    QCOMPARE(rig.sim.cell(0x3F), (std::array<uint8_t, 2>{model, model}));
    QVERIFY(rig.shownMarks().isEmpty() && !rig.main().model().marks().any());
    QCOMPARE(storedFields(m), fieldsBefore);
    // The compare locks model and channel again.
    QVERIFY(!rig.main().model().modelChannelUnlocked() &&
            !rig.main().model().modelChannelMarked() &&
            !ctl<QLineEdit>(m, "txtModel")->isEnabled());
    QVERIFY(ctl<QPushButton>(m, "cmdSaveTo")->isEnabled() && !rig.main().model().transferRunning());
}

void SaveTest::unitKeepingACellFailsTheCompare()
{
    Rig rig;
    QVERIFY(rig.ok);
    rig.sim.freezeCell(0x48);
    ctl<QLineEdit>(rig.main(), "txtComment")->setText("Hello");
    ProgressWatch progress(rig.fx.app->progressWindow());

    QTest::mouseClick(ctl<QPushButton>(rig.main(), "cmdSaveTo"), Qt::LeftButton);

    QCOMPARE(rig.problems,
             QStringList{asShown("Compare Failed! The settings did not save "
                                 "correctly to the synchronizer.\r\n Please try again")});
    QVERIFY(rig.messages().isEmpty());
    QCOMPARE(progress.showings.size(), 2);
    QCOMPARE(rig.framesStartingWith("R").size(), 54);
    QVERIFY(rig.shownMarks().isEmpty()); // a compare counts, it does not mark
}

void SaveTest::valuesTheUnitCannotHoldSendNothing_data()
{
    QTest::addColumn<QString>("via");
    QTest::addColumn<QString>("box");
    QTest::addColumn<QString>("value");
    // Boxes a settings file may have filled with anything; a frame number typed but not
    // yet checked when the menu entry (which leaves the focus in the box) saves; the worker
    // checks on its own too, for any other caller.
    QTest::newRow("button") << "button"
                            << "txtEndTitle"
                            << "150";
    QTest::newRow("menu, frame being typed") << "menu"
                                             << "txtStartFrame"
                                             << "2000000";
    QTest::newRow("worker") << "worker"
                            << "txtEndChapter"
                            << "1";
}

void SaveTest::valuesTheUnitCannotHoldSendNothing()
{
    QFETCH(QString, via);
    QFETCH(QString, box);
    QFETCH(QString, value);
    Rig rig;
    QVERIFY(rig.ok);
    frmMain& m = rig.main();
    auto* edit = m.findChild<QLineEdit*>(box);
    ctl<QRadioButton>(m, "optStartFrame")->setChecked(true);
    if (via == "menu") {
        edit->setFocus();
        edit->selectAll();
        QTest::keyClicks(edit, value);
    } else {
        edit->setText(value);
    }
    const QStringList before = wholeEditor(m);
    ProgressWatch progress(rig.fx.app->progressWindow());

    if (via == "menu")
        ctl<QAction>(m, "menuSaveTo")->trigger();
    else if (via == "button")
        QTest::mouseClick(ctl<QPushButton>(m, "cmdSaveTo"), Qt::LeftButton);
    else
        QCOMPARE(modGetSetAll::SetAllToCorvane(*rig.fx.app, buildSavePlan(m.model().snapshot())),
                 modGetSetAll::AlreadyReported);

    QCOMPARE(rig.problems.size(), 1);
    QVERIFY2(rig.problems[0].startsWith("Cannot Save! ") &&
                 rig.problems[0].contains(QStringLiteral(" holds \"%1\"").arg(value)) &&
                 !rig.problems[0].contains("communications errors"),
             qPrintable(rig.problems[0]));
    QVERIFY(rig.messages().isEmpty() && progress.showings.isEmpty());
    QCOMPARE(rig.sim.framesReceived(), 0);
    QCOMPARE(wholeEditor(m), before);
}

CORVANE_TEST_CLASS(SaveTest)
#include "SaveTest.moc"
