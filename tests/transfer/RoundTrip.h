#pragma once
// A valid set in a pair of modes, stored in the unit, comes back into an editor that showed
// something else: unchanged, unmarked, no box. The sets are chosen so that the numbers a
// point's cells also hold in its other reading would be pushed by the frame checks or the
// end-after-start rules if a load applied them: start time 12:05 (frame 1205) before end
// frame 1000, start frame 50000 (time 500:00) before end time 10:00, start titles and
// chapters of 99 where the end uses the other field.

#include "TransferRig.h"
#include "flows/EditorDefaults.h"
#include "flows/modGetSetAll.h"
#include "transfer/SavePlan.h"

#include <QPushButton>

namespace TransferTest {

constexpr int Title = 0, Chapter = 1, Time = 2, Frame = 3;

// Every pair, or a few whose readings would clash if a load mixed them up.
inline void addModePairRows(bool everyPair)
{
    QTest::addColumn<int>("startMode");
    QTest::addColumn<int>("endMode");
    const char* names[] = {"Title", "Chapter", "Time", "Frame"};
    for (int s = 0; s < 4; ++s)
        for (int e = 0; e < 4; ++e)
            if (everyPair || (s == Time && e == Frame) || (s == Frame && e == Time) ||
                (s == Title && e == Title))
                QTest::addRow("%s to %s", names[s], names[e]) << s << e;
}

// Puts a valid set for the modes into the editor as a user could have left it.
inline void enterValidSet(frmMain& m, int startMode, int endMode)
{
    m.cmdDefaults_Click();
    modeOptions(m, false)[endMode]->setChecked(true);
    modeOptions(m, true)[startMode]->setChecked(true);
    // Frame boxes: typed and checked as when the focus leaves them.
    const bool timeThenFrame = startMode == Time && endMode == Frame;
    ctl<QLineEdit>(m, "txtEndFrame")->setText(timeThenFrame ? "1000" : "60000");
    m.txtEndFrame_LostFocus();
    ctl<QLineEdit>(m, "txtStartFrame")
        ->setText(startMode == Frame ? "50000"
                  : timeThenFrame    ? "500"
                                     : "3000");
    m.txtStartFrame_LostFocus();
    ctl<Spinner>(m, "scrEndMinutes")->setValueClamped(startMode == Time ? 20 : 10);
    ctl<Spinner>(m, "scrEndSeconds")->setValueClamped(startMode == Time ? 30 : 0);
    ctl<Spinner>(m, "scrStartMinutes")->setValueClamped(12);
    ctl<Spinner>(m, "scrStartSeconds")->setValueClamped(5);
    ctl<Spinner>(m, "scrEndTitle")->setValueClamped(99);
    ctl<Spinner>(m, "scrStartTitle")->setValueClamped(endMode == Title ? 98 : 99);
    ctl<Spinner>(m, "scrEndChapter")->setValueClamped(99);
    ctl<Spinner>(m, "scrStartChapter")->setValueClamped(endMode == Chapter ? 98 : 99);
    ctl<QCheckBox>(m, "chkSynchronize")->setChecked((startMode + endMode) % 2 == 0);
    ctl<QCheckBox>(m, "chkSquelch")->setChecked(startMode % 2 == 0);
    ctl<QLineEdit>(m, "txtComment")
        ->setText(QStringLiteral("Round %1/%2 trip").arg(startMode).arg(endMode));
    ctl<QLineEdit>(m, "txtInitStr2")->setText("PL2");
    ctl<QLineEdit>(m, "txtInitStr3")->setText("X");
}

// The row's set goes out (through "SAVE to Synchronizer", or written straight into the
// unit's cells) and comes back (through "LOAD from Synchronizer", or the load worker).
inline void checkRoundTrip(bool throughButtons)
{
    QFETCH(int, startMode);
    QFETCH(int, endMode);
    Rig rig;
    QVERIFY(rig.ok);
    frmMain& m = rig.main();
    enterValidSet(m, startMode, endMode);
    const QStringList saved = storedFields(m);
    if (throughButtons) {
        QTest::mouseClick(ctl<QPushButton>(m, "cmdSaveTo"), Qt::LeftButton);
        QCOMPARE(rig.framesStartingWith("W").size(), 54);
    } else {
        const SavePlan plan = buildSavePlan(m.model().snapshot());
        QVERIFY2(plan.ok(), qPrintable(plan.problemText));
        for (const CellWrite& w : plan.writes)
            rig.sim.setCell(w.address, w.bytes.d0, w.bytes.d1);
    }
    QVERIFY2(rig.fx.modal.requests.empty(), rig.boxes());

    // Something else in every stored field, with other modes: the end mode leaves the
    // start title or chapter a bound of 98 that the loaded set does not have.
    m.cmdDefaults_Click();
    modeOptions(m, false)[endMode == Title ? Chapter : Title]->setChecked(true);
    modeOptions(m, true)[startMode == Frame ? Time : Frame]->setChecked(true);
    ctl<QCheckBox>(m, "chkSynchronize")
        ->setChecked(!ctl<QCheckBox>(m, "chkSynchronize")->isChecked());
    ctl<QLineEdit>(m, "txtComment")->setText("other");
    QVERIFY(storedFields(m) != saved);

    if (throughButtons)
        QTest::mouseClick(ctl<QPushButton>(m, "cmdLoadFrom"), Qt::LeftButton);
    else
        QCOMPARE(modGetSetAll::GetAllFromCorvane(*rig.fx.app), int16_t(0));
    QVERIFY2(rig.fx.modal.requests.empty(), rig.boxes());
    QCOMPARE(storedFields(m), saved);
    QVERIFY(rig.shownMarks().isEmpty());
}

} // namespace TransferTest
