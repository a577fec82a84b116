// A few pairs of modes through the load worker; every pair through the buttons runs in
// transfer_slow.

#include "RoundTrip.h"
#include "support/TestRunner.h"

class RoundTripTest : public QObject
{
    Q_OBJECT
private slots:
    void modePairComesBack_data() { TransferTest::addModePairRows(false); }
    void modePairComesBack() { TransferTest::checkRoundTrip(false); }
};

CORVANE_TEST_CLASS(RoundTripTest)
#include "RoundTripTest.moc"
