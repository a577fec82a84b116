#include "CommRig.h"
#include "CommTests.h"
#include "simsync/FrameParser.h"

#include <QTest>

using namespace simsync;

void SimulatorTest::parserSplitsFrames_data()
{
    QTest::addColumn<QByteArray>("stream");
    QTest::addColumn<QStringList>("frames");
    QTest::newRow("attention, read, write")
        << QByteArray("OK\n\rR?\rW0ab\r") << QStringList{"ATT", "R63", "W48 ab"};
    QTest::newRow("noise before a read") << QByteArray("xR>\r") << QStringList{"JUNK 78", "R62"};
    QTest::newRow("broken read resyncs on next R")
        << QByteArray("RR?\r") << QStringList{"JUNK 52", "R63"};
    QTest::newRow("broken attention")
        << QByteArray("OKR1\r") << QStringList{"JUNK 4f", "JUNK 4b", "R49"};
    QTest::newRow("incomplete frame waits") << QByteArray("W0a") << QStringList{};
}

void SimulatorTest::parserSplitsFrames()
{
    QFETCH(QByteArray, stream);
    QFETCH(QStringList, frames);
    FrameParser parser;
    QStringList seen;
    for (char b : stream) {
        parser.feed(b);
        while (auto f = parser.next())
            seen << describeFrame(f->bytes, Direction::ToUnit);
    }
    QCOMPARE(seen, frames);
}

void SimulatorTest::defaultCellsHoldDefaultSet()
{
    const Cells cells = defaultCells();
    auto at = [&](int address) {
        const auto c = cells[address - FirstCell];
        return QByteArray{reinterpret_cast<const char*>(c.data()), 2};
    };
    QCOMPARE(at(0x3F), QByteArray("22"));
    QCOMPARE(at(0x3E), QByteArray("01"));
    QCOMPARE(at(0x3C), QByteArray("50")); // both modes Chapter
    QCOMPARE(at(0x30) + at(0x31) + at(0x32) + at(0x33), QByteArray("00000010")); // frame 1
    QCOMPARE(at(0x34) + at(0x35) + at(0x36) + at(0x37), QByteArray("00010000")); // frame 1000
    QCOMPARE(at(0x38) + at(0x39) + at(0x3A) + at(0x3B), QByteArray("01020102"));
    QCOMPARE(at(0x3D), QByteArray("7<"));
    QCOMPARE(at(0x48), QByteArray("\a\a"));
    QCOMPARE(at(0x50) + at(0x51) + at(0x52) + at(0x53), QByteArray("0KL0DS\r\a"));
    QCOMPARE(at(0x6F), QByteArray("\a\a"));
}

void SimulatorTest::resetAnnouncementInPiecesAfterNoise()
{
    CommRig rig;
    QVERIFY(rig.open());
    QElapsedTimer clock;
    clock.start();
    rig.sim.pressReset(3, 50, "\xff");
    QByteArray got;
    QTRY_COMPARE((got += rig.comm.Input()), QByteArray("\xff"
                                                       "ATS0=1\n\r"));
    // Nine bytes on the line and two pauses between the pieces.
    QVERIFY(clock.elapsed() >= 9 * ByteMs + 2 * 50 - 1);
    QVERIFY(rig.sim.waitUntilSent(1000));
    const auto log = rig.sim.wireLog();
    QCOMPARE(log.size(), 4);
    QCOMPARE(log[0].bytes, QByteArray("\xff"));
    QVERIFY(log[1].bytes.size() >= 2 && log[2].bytes.size() >= 2 && log[3].bytes.size() >= 2);
    QCOMPARE(log[1].bytes + log[2].bytes + log[3].bytes, QByteArray("ATS0=1\n\r"));
}

void SimulatorTest::frozenCellIgnoresWrites()
{
    CommRig rig;
    QVERIFY(rig.open(false));
    rig.sim.freezeCell(0x3F);
    QCOMPARE(modCorvaneComm::WriteCell(rig.c, 0x3F, '9', '9'), int16_t(1));
    QCOMPARE(modCorvaneComm::WriteCell(rig.c, 0x3E, '0', '7'), int16_t(1));
    QVERIFY(rig.sim.waitForFramesReceived(2, 1000));
    QCOMPARE(rig.sim.cell(0x3F), (std::array<uint8_t, 2>{'2', '2'}));
    QCOMPARE(rig.sim.cell(0x3E), (std::array<uint8_t, 2>{'0', '7'}));
    QCOMPARE(modCorvaneComm::ReadCell(rig.c, 0x3F), int16_t(1));
    QCOMPARE(modCorvaneComm::DecodeReplyNumber(rig.g), 22);
}
