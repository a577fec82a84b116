#include "CommTests.h"
#include "comm/LineSettings.h"
#include "comm/modCorvaneComm.h"

#include <QTest>

using namespace modCorvaneComm;

void ReplyDecodeTest::decodeNumber_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("expected");
    QTest::newRow("12") << QByteArray("12") << 12;
    QTest::newRow("99") << QByteArray("99") << 99;
    QTest::newRow("00") << QByteArray("00") << 0;
    QTest::newRow("05") << QByteArray("05") << 5;
    QTest::newRow("space 5") << QByteArray(" 5") << 5;
    QTest::newRow("5 space") << QByteArray("5 ") << 5;
    QTest::newRow("9 space") << QByteArray("9 ") << 9;
    QTest::newRow("two spaces") << QByteArray("  ") << 0;
    QTest::newRow("5A") << QByteArray("5A") << -1;
    QTest::newRow("A5") << QByteArray("A5") << -1;
    QTest::newRow("space A") << QByteArray(" A") << -1;
    QTest::newRow("A space") << QByteArray("A ") << -1;
    QTest::newRow("-1") << QByteArray("-1") << -1;
    QTest::newRow("NULs") << QByteArray(2, '\0') << -1;
    QTest::newRow("colon") << QByteArray("1:") << -1; // the byte after "9"
    QTest::newRow("slash") << QByteArray("/1") << -1; // the byte before "0"
}

void ReplyDecodeTest::decodeNumber()
{
    QFETCH(QByteArray, bytes);
    QFETCH(int, expected);
    Globals g;
    g.ReplyBytes = {static_cast<uint8_t>(bytes[0]), static_cast<uint8_t>(bytes[1])};
    QCOMPARE(DecodeReplyNumber(g), expected);
}

void ReplyDecodeTest::decodeDigit_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("first");
    QTest::addColumn<int>("second");
    QTest::newRow("digits") << QByteArray("07") << 0 << 7;
    QTest::newRow("nine and space") << QByteArray("9 ") << 9 << 0;
    QTest::newRow("letters") << QByteArray("A:") << -1 << -1;
    QTest::newRow("NUL and DEL") << QByteArray("\0\x7f", 2) << -1 << -1;
}

void ReplyDecodeTest::decodeDigit()
{
    QFETCH(QByteArray, bytes);
    QFETCH(int, first);
    QFETCH(int, second);
    Globals g;
    g.ReplyBytes = {static_cast<uint8_t>(bytes[0]), static_cast<uint8_t>(bytes[1])};
    QCOMPARE(DecodeReplyDigit(g, 0), first);
    QCOMPARE(DecodeReplyDigit(g, 1), second);
}

void ReplyDecodeTest::filterInitCharOverAllBytes()
{
    int kept = 0;
    for (int v = 0; v < 256; ++v) {
        const bool allowed = v == 7 || v == 13 || (v >= 32 && v <= 254 && v != 127);
        const uint8_t out = FilterInitChar(static_cast<uint8_t>(v));
        QCOMPARE(out, allowed ? static_cast<uint8_t>(v) : uint8_t(0));
        kept += out != 0;
    }
    // BEL, CR and 32..254 without DEL.
    QCOMPARE(kept, 2 + (254 - 32 + 1) - 1);
    QCOMPARE(FilterInitChar(10), uint8_t(0));
    QCOMPARE(FilterInitChar(9), uint8_t(0));
    QCOMPARE(FilterInitChar(128), uint8_t(128));
    QCOMPARE(FilterInitChar(255), uint8_t(0));
}

void ReplyDecodeTest::lineSettings_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("valid");
    QTest::addColumn<int>("baud");
    QTest::addColumn<int>("charUs");
    QTest::newRow("1200,N,8,1") << "1200,N,8,1" << true << 1200 << 8334;
    QTest::newRow("9600,e,7,2") << "9600,e,7,2" << true << 9600 << 1146;
    QTest::newRow("1.5 stop") << "1200,N,8,1.5" << true << 1200 << 8750;
    QTest::newRow("three fields") << "1200,N,8" << false << 0 << 0;
    QTest::newRow("parity X") << "1200,X,8,1" << false << 0 << 0;
    QTest::newRow("9 data bits") << "1200,N,9,1" << false << 0 << 0;
    QTest::newRow("baud 0") << "0,N,8,1" << false << 0 << 0;
    QTest::newRow("3 stop bits") << "1200,N,8,3" << false << 0 << 0;
}

void ReplyDecodeTest::lineSettings()
{
    QFETCH(QString, text);
    QFETCH(bool, valid);
    const auto s = LineSettings::parse(text);
    QCOMPARE(s.has_value(), valid);
    if (!valid)
        return;
    QFETCH(int, baud);
    QFETCH(int, charUs);
    QCOMPARE(s->baud, baud);
    QCOMPARE(s->charMicroseconds(), charUs);
}
