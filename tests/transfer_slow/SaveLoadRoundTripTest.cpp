// A valid set in each of the sixteen pairs of modes goes out with "SAVE to Synchronizer"
// (save and compare, no message) and comes back with "LOAD from Synchronizer" into an
// editor that showed something else: unchanged, unmarked, no box.

#include "support/TestRunner.h"
#include "transfer/EditorState.h"
#include "transfer/TransferRig.h"
#include "transfer/ValidSets.h"

#include <QPushButton>

using namespace TransferTest;

class SaveLoadRoundTripTest : public QObject
{
    Q_OBJECT
private slots:
    void everyModePairThroughTheButtons_data();
    void everyModePairThroughTheButtons();
};

void SaveLoadRoundTripTest::everyModePairThroughTheButtons_data()
{
    QTest::addColumn<int>("startMode");
    QTest::addColumn<int>("endMode");
    const char* names[] = {"Title", "Chapter", "Time", "Frame"};
    for (int s = 0; s < 4; ++s)
        for (int e = 0; e < 4; ++e)
            QTest::addRow("%s to %s", names[s], names[e]) << s << e;
}

void SaveLoadRoundTripTest::everyModePairThroughTheButtons()
{
    QFETCH(int, startMode);
    QFETCH(int, endMode);
    Rig rig;
    QVERIFY(rig.open());
    frmMain& m = rig.main();

    enterValidSet(m, startMode, endMode);
    const QStringList saved = storedFields(m);
    QTest::mouseClick(m.cmdSaveTo, Qt::LeftButton);
    QVERIFY2(rig.fx.modal.requests.empty(),
             qPrintable(rig.messages().join("|") + rig.problems.join("|")));
    QCOMPARE(rig.framesStartingWith("W").size(), 54);

    enterOtherSet(m, startMode, endMode);
    QVERIFY(storedFields(m) != saved);
    QTest::mouseClick(m.cmdLoadFrom, Qt::LeftButton);

    QVERIFY2(rig.fx.modal.requests.empty(),
             qPrintable(rig.messages().join("|") + rig.problems.join("|")));
    QCOMPARE(storedFields(m), saved);
    QVERIFY(rig.shownMarks().isEmpty());
}

CORVANE_TEST_CLASS(SaveLoadRoundTripTest)
#include "SaveLoadRoundTripTest.moc"
