// A valid set in each of the sixteen pairs of modes, stored in the unit as a save writes
// it, comes back into an editor that showed something else unchanged and unmarked.

#include "EditorState.h"
#include "TransferRig.h"
#include "ValidSets.h"
#include "support/TestRunner.h"
#include "transfer/SavePlan.h"
#include "transfer/flows/EditorReading.h"
#include "transfer/flows/modGetSetAll.h"

using namespace TransferTest;

class RoundTripTest : public QObject
{
    Q_OBJECT
private slots:
    void everyModePairComesBack_data();
    void everyModePairComesBack();
};

void RoundTripTest::everyModePairComesBack_data()
{
    QTest::addColumn<int>("startMode");
    QTest::addColumn<int>("endMode");
    const char* names[] = {"Title", "Chapter", "Time", "Frame"};
    for (int s = 0; s < 4; ++s)
        for (int e = 0; e < 4; ++e)
            QTest::addRow("%s to %s", names[s], names[e]) << s << e;
}

void RoundTripTest::everyModePairComesBack()
{
    QFETCH(int, startMode);
    QFETCH(int, endMode);
    Rig rig;
    QVERIFY(rig.open());
    frmMain& m = rig.main();

    enterValidSet(m, startMode, endMode);
    const QStringList saved = storedFields(m);
    const SavePlan plan = buildSavePlan(readEditor(m));
    QVERIFY2(plan.ok(), qPrintable(plan.problemText));
    for (const CellWrite& w : plan.writes)
        rig.sim.setCell(w.address, w.bytes.d0, w.bytes.d1);

    enterOtherSet(m, startMode, endMode);
    QVERIFY(storedFields(m) != saved);
    rig.fx.modal.clear();

    QCOMPARE(modGetSetAll::GetAllFromCorvane(m), int16_t(0));
    QCOMPARE(storedFields(m), saved);
    QVERIFY(rig.shownMarks().isEmpty());
    QVERIFY2(rig.fx.modal.requests.empty(), qPrintable(rig.messages().join("|")));
}

CORVANE_TEST_CLASS(RoundTripTest)
#include "RoundTripTest.moc"
