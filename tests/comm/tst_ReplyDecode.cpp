#include "comm/LineSettings.h"
#include "comm/modCorvaneComm.h"
#include "support/TestRunner.h"

#include <QTest>

using namespace modCorvaneComm;

class ReplyDecodeTest : public QObject
{
    Q_OBJECT
private slots:
    void decode_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("number");
        QTest::addColumn<int>("first");
        QTest::addColumn<int>("second");
        QTest::newRow("12") << QByteArray("12") << 12 << 1 << 2;
        QTest::newRow("05") << QByteArray("05") << 5 << 0 << 5;
        QTest::newRow("space 5") << QByteArray(" 5") << 5 << 0 << 5;
        QTest::newRow("9 space") << QByteArray("9 ") << 9 << 9 << 0;
        QTest::newRow("two spaces") << QByteArray("  ") << 0 << 0 << 0;
        QTest::newRow("5A") << QByteArray("5A") << -1 << 5 << -1;
        QTest::newRow("A5") << QByteArray("A5") << -1 << -1 << 5;
        QTest::newRow("space A") << QByteArray(" A") << -1 << 0 << -1;
        QTest::newRow("A space") << QByteArray("A ") << -1 << -1 << 0;
        QTest::newRow("NUL and DEL") << QByteArray("\0\x7f", 2) << -1 << -1 << -1;
        QTest::newRow("colon") << QByteArray("1:") << -1 << 1 << -1; // the byte after "9"
        QTest::newRow("slash") << QByteArray("/1") << -1 << -1 << 1; // the byte before "0"
    }

    void decode()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(int, number);
        QFETCH(int, first);
        QFETCH(int, second);
        const std::array<uint8_t, 2> reply{static_cast<uint8_t>(bytes[0]),
                                           static_cast<uint8_t>(bytes[1])};
        QCOMPARE(DecodeReplyNumber(reply), number);
        QCOMPARE(DecodeReplyDigit(reply, 0), first);
        QCOMPARE(DecodeReplyDigit(reply, 1), second);
        QCOMPARE(DecodeReplyDigit(reply, 2), -1);
    }

    void filterInitCharAtEachEdge()
    {
        // Kept: BEL, CR and 32 to 254 but DEL; every other byte becomes 0.
        const std::pair<uint8_t, uint8_t> rows[] = {
            {0, 0},  {6, 0},   {7, 7},     {8, 0},   {12, 0},    {13, 13},   {14, 0},
            {31, 0}, {32, 32}, {126, 126}, {127, 0}, {128, 128}, {254, 254}, {255, 0}};
        for (const auto& [byte, kept] : rows)
            QCOMPARE(FilterInitChar(byte), kept);
    }

    void lineSettings()
    {
        QCOMPARE(LineSettings::parse("1200,N,8,1").value().charMicroseconds(), 8334);
        QCOMPARE(LineSettings::parse("9600,e,7,2").value().charMicroseconds(), 1146);
        QCOMPARE(LineSettings::parse("1200,N,8,1.5").value().charMicroseconds(), 8750);
        for (const char* bad : {"1200,N,8", "1200,X,8,1", "1200,N,9,1", "0,N,8,1", "1200,N,8,3"})
            QVERIFY2(!LineSettings::parse(bad), bad);
    }
};

CORVANE_TEST_CLASS(ReplyDecodeTest)

#include "tst_ReplyDecode.moc"
