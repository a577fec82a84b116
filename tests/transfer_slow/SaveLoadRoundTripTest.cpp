// A valid set in each of the sixteen pairs of modes goes out with "SAVE to Synchronizer"
// and comes back with "LOAD from Synchronizer": minutes, for the load's pause.

#include "support/TestRunner.h"
#include "transfer/RoundTrip.h"

class SaveLoadRoundTripTest : public QObject
{
    Q_OBJECT
private slots:
    void everyModePairThroughTheButtons_data() { TransferTest::addModePairRows(true); }
    void everyModePairThroughTheButtons() { TransferTest::checkRoundTrip(true); }
};

CORVANE_TEST_CLASS(SaveLoadRoundTripTest)
#include "SaveLoadRoundTripTest.moc"
