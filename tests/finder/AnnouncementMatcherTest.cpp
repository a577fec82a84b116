// The announcement matcher on its own: batches of bytes in, "heard it" out.

#include "comm/AnnouncementMatcher.h"
#include "support/TestRunner.h"

#include <QTest>

class AnnouncementMatcherTest : public QObject
{
    Q_OBJECT
private slots:
    void batches_data();
    void batches();
    void bytesAfterTheAnnouncementAreNotLookedAt();
};

void AnnouncementMatcherTest::batches_data()
{
    QTest::addColumn<QList<QByteArray>>("batches");
    QTest::addColumn<int>("foundInBatch"); // -1: never
    const QByteArray a("ATS0=1\n\r");
    QTest::newRow("whole") << QList<QByteArray>{a} << 0;
    QTest::newRow("three pieces") << QList<QByteArray>{"ATS", "0=1", "\n\r"} << 2;
    QTest::newRow("byte by byte") << QList<QByteArray>{"A", "T", "S", "0", "=", "1", "\n", "\r"}
                                  << 7;
    QTest::newRow("noise before") << QList<QByteArray>{"xyz", a} << 1;
    QTest::newRow("other byte then whole") << QList<QByteArray>{"Q" + a} << 0;
    QTest::newRow("NUL then whole") << QList<QByteArray>{QByteArray(1, '\0') + a} << 0;
    // The second A breaks the sequence and is not taken as a new start.
    QTest::newRow("AA then rest") << QList<QByteArray>{"A" + a} << -1;
    QTest::newRow("AA across batches") << QList<QByteArray>{"A", a} << -1;
    QTest::newRow("restart after AT") << QList<QByteArray>{"AT" + a} << -1;
    QTest::newRow("after a broken try, a new A") << QList<QByteArray>{"AA", "x", a} << 2;
    QTest::newRow("CR LF swapped") << QList<QByteArray>{"ATS0=1\r\n"} << -1;
    QTest::newRow("lower case") << QList<QByteArray>{"ats0=1\n\r"} << -1;
    QTest::newRow("cut short") << QList<QByteArray>{"ATS0=1\n"} << -1;
    QTest::newRow("OK answer is no announcement") << QList<QByteArray>{"OK\n\r"} << -1;
}

void AnnouncementMatcherTest::batches()
{
    QFETCH(QList<QByteArray>, batches);
    QFETCH(int, foundInBatch);
    AnnouncementMatcher m;
    int found = -1;
    for (int i = 0; i < batches.size() && found < 0; ++i)
        if (m.feed(batches[i]))
            found = i;
    QCOMPARE(found, foundInBatch);
}

void AnnouncementMatcherTest::bytesAfterTheAnnouncementAreNotLookedAt()
{
    AnnouncementMatcher m;
    QVERIFY(m.feed(QByteArray("ATS0=1\n\rATS")));
    QCOMPARE(m.state(), 1); // the "ATS" after it left no trace
    QVERIFY(!m.feed(QByteArray("0=1\n\r")));
    QVERIFY(!m.feed(QByteArray("ATS0=1\n")));
    QCOMPARE(m.state(), 8);
    QVERIFY(m.feed(uint8_t('\r')));
}

CORVANE_TEST_CLASS(AnnouncementMatcherTest)
#include "AnnouncementMatcherTest.moc"
