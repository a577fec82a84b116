#include "CommRig.h"
#include "CommTests.h"
#include "comm/EventWait.h"

#include <QTest>
#include <QTimer>

using namespace modCorvaneComm;
using simsync::Direction;
using simsync::Fault;

void CommandLayerTest::cleanup()
{
    PortMap::setTestMapping({});
}

void CommandLayerTest::readsCellOfDefaultSet()
{
    CommRig rig;
    QVERIFY(rig.open());
    QVERIFY(SendAttention(rig.c));
    rig.g.LastCommError = "stale";
    QCOMPARE(ReadCell(rig.c, 63), int16_t(ReadGood));
    QCOMPARE(DecodeReplyNumber(rig.g), 22);
    QVERIFY(rig.g.LastCommError.isEmpty());
    QCOMPARE(ReadCell(rig.c, 62), int16_t(ReadGood));
    QCOMPARE(DecodeReplyNumber(rig.g), 1);
    QVERIFY(!rig.timer.Enabled());
    QCOMPARE(rig.sim.frames(Direction::ToUnit), (QStringList{"ATT", "ATT", "R63", "R62"}));
}

void CommandLayerTest::faultyReplies_data()
{
    QTest::addColumn<Fault>("fault");
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("error");
    QTest::addColumn<QByteArray>("replyBytes");
    // The unit sends each reply frame whole, so a five-byte reply is seen as five bytes.
    QTest::newRow("five bytes") << Fault::Long5 << -2 << "Reply garbled" << QByteArray("22");
    QTest::newRow("three bytes") << Fault::Short3 << 0 << "Reply Timed Out" << QByteArray(2, '\0');
    QTest::newRow("silence") << Fault::Silence << 0 << "Reply Timed Out" << QByteArray(2, '\0');
    QTest::newRow("CR LF") << Fault::WrongTerminator << -2 << "Reply garbled" << QByteArray("22");
}

void CommandLayerTest::faultyReplies()
{
    QFETCH(Fault, fault);
    QFETCH(int, status);
    QFETCH(QString, error);
    QFETCH(QByteArray, replyBytes);
    CommRig rig;
    QVERIFY(rig.open());
    rig.sim.setStandingFault(fault);
    QCOMPARE(ReadCell(rig.c, 63), int16_t(status));
    QCOMPARE(rig.g.LastCommError, error);
    QCOMPARE(rig.g.ReplyBytes[0], static_cast<uint8_t>(replyBytes[0]));
    QCOMPARE(rig.g.ReplyBytes[1], static_cast<uint8_t>(replyBytes[1]));
    QVERIFY(!rig.timer.Enabled());
    QCOMPARE(rig.sim.frames(Direction::ToUnit).count("R63"), 3);
}

void CommandLayerTest::garbageIsRetriedWithAttentionBetween()
{
    CommRig rig;
    QVERIFY(rig.open());
    rig.sim.setStandingFault(Fault::Garbage);
    QElapsedTimer clock;
    clock.start();
    QCOMPARE(ReadCell(rig.c, 60), int16_t(ReadGarbled));
    // Two recoveries: 130 ms before, between and after the two attention frames.
    QVERIFY2(clock.elapsed() >= 2 * 3 * 130, qPrintable(QString::number(clock.elapsed())));
    QCOMPARE(rig.g.LastCommError, ReplyGarbledText);
    QCOMPARE(rig.sim.frames(Direction::ToUnit),
             (QStringList{"R60", "ATT", "ATT", "R60", "ATT", "ATT", "R60"}));
}

void CommandLayerTest::oneBadReplyIsRecovered()
{
    CommRig rig;
    QVERIFY(rig.open());
    rig.sim.queueFaults({Fault::Long5, Fault::Short3});
    QCOMPARE(ReadCell(rig.c, 56), int16_t(ReadGood));
    QCOMPARE(DecodeReplyNumber(rig.g), 1);
    QVERIFY(rig.g.LastCommError.isEmpty());
    QCOMPARE(rig.sim.frames(Direction::ToUnit),
             (QStringList{"R56", "ATT", "ATT", "R56", "ATT", "ATT", "R56"}));
}

void CommandLayerTest::attentionFramesArePaced()
{
    CommRig rig;
    QVERIFY(rig.open());
    QElapsedTimer clock;
    clock.start();
    QVERIFY(SendAttention(rig.c));
    QVERIFY(clock.elapsed() >= 130);
    QVERIFY(rig.sim.waitForFramesReceived(2, 1000));
    const auto log = rig.sim.wireLog();
    QCOMPARE(log.size(), 2);
    QCOMPARE(log[0].bytes, QByteArray("OK\n\r"));
    QCOMPARE(log[1].bytes, QByteArray("OK\n\r"));
    QVERIFY(!rig.timer.Enabled());
}

void CommandLayerTest::closedPortFails()
{
    CommRig rig;
    const QString text = QStringLiteral("Operation valid only when the port is open");
    rig.g.ReplyBytes = {'4', '2'};
    QCOMPARE(ReadCell(rig.c, 63), int16_t(ReadNotSent));
    QCOMPARE(rig.g.LastCommError, text);
    QCOMPARE(rig.g.ReplyBytes[0], uint8_t(0));

    rig.g.LastCommError.clear();
    QVERIFY(!SendAttention(rig.c));
    QCOMPARE(rig.g.LastCommError, text);

    rig.g.LastCommError.clear();
    QElapsedTimer clock;
    clock.start();
    QCOMPARE(WriteCell(rig.c, 63, '1', '2'), int16_t(0));
    QCOMPARE(rig.g.LastCommError, text);
    QVERIFY(clock.elapsed() < 100); // nothing went out: no pause
    QVERIFY(!rig.timer.Enabled());
}

void CommandLayerTest::writeStoresCellAndPauses()
{
    CommRig rig;
    QVERIFY(rig.open());
    QElapsedTimer clock;
    clock.start();
    QCOMPARE(WriteCell(rig.c, 0x48, 'H', 'i'), int16_t(1));
    QVERIFY(clock.elapsed() >= 100);
    QVERIFY(rig.g.LastCommError.isEmpty());
    QVERIFY(rig.sim.waitForFramesReceived(1, 1000));
    QCOMPARE(rig.sim.cell(0x48), (std::array<uint8_t, 2>{'H', 'i'}));
    QCOMPARE(rig.sim.frames(Direction::ToUnit), QStringList{"W72 Hi"});
    QCOMPARE(rig.sim.frames(Direction::FromUnit), QStringList{}); // no answer to a write
}

void CommandLayerTest::lineVanishingEndsReadPromptly()
{
    CommRig rig;
    QVERIFY(rig.open());
    int errors = 0, losses = 0;
    QObject::connect(&rig.comm, &MSComm::errorRaised, [&] { ++errors; });
    QObject::connect(&rig.comm, &MSComm::lineLost, [&] { ++losses; });
    rig.sim.closeAfterFrames(1); // the request arrives, then the cable is pulled

    QElapsedTimer clock;
    clock.start();
    const int16_t status = ReadCell(rig.c, 63);
    const qint64 took = clock.elapsed();

    QVERIFY(status != ReadGood);
    // Sooner than the 200 ms reply limit: the loss itself ended the wait.
    QVERIFY2(took < 200, qPrintable(QString::number(took)));
    QVERIFY(!rig.comm.PortOpen());
    QCOMPARE(losses, 1);
    QVERIFY(!rig.g.LastCommError.isEmpty());
    QVERIFY(rig.g.LastCommError != ReplyTimedOutText);
    const QString lossText = rig.g.LastCommError;
    QVERIFY2(lossText.contains(rig.sim.path()), qPrintable(lossText));

    // Nothing keeps firing once the port is closed.
    const double cpuBefore = processCpuSeconds();
    const int errorsBefore = errors;
    QTest::qWait(300);
    QVERIFY(processCpuSeconds() - cpuBefore < 0.1);
    QCOMPARE(errors, errorsBefore);

    // Later commands on the dead line say why it is dead.
    QCOMPARE(ReadCell(rig.c, 63), int16_t(ReadNotSent));
    QCOMPARE(rig.g.LastCommError, lossText);
}

void CommandLayerTest::eventLoopRunsDuringWaits()
{
    CommRig rig;
    QVERIFY(rig.open());
    rig.sim.setStandingFault(Fault::Silence);
    int ticks = 0;
    QTimer ui;
    QObject::connect(&ui, &QTimer::timeout, [&] { ++ticks; });
    ui.start(20);
    const double cpuBefore = processCpuSeconds();
    QElapsedTimer clock;
    clock.start();
    QCOMPARE(ReadCell(rig.c, 63), int16_t(ReadTimedOut));
    const qint64 took = clock.elapsed();
    const double cpu = processCpuSeconds() - cpuBefore;
    // Three 200 ms limits and four 130 ms pauses at least.
    QVERIFY2(took >= 3 * 200 + 4 * 130, qPrintable(QString::number(took)));
    QVERIFY2(ticks >= took / 20 / 2, qPrintable(QString::number(ticks)));
    QVERIFY2(cpu < 0.25 * took / 1000.0, qPrintable(QString::number(cpu)));
}

namespace {
class Button : public QObject
{
    Q_OBJECT
signals:
    void clicked();
};
} // namespace

void CommandLayerTest::eventWaitWakesOnAnySignal()
{
    CommTimer timer;
    Button cancel;
    bool running = true;
    QTimer::singleShot(30, &cancel, [&] {
        running = false;
        emit cancel.clicked();
    });
    timer.setInterval(2000);
    timer.setEnabled(true);
    QElapsedTimer clock;
    clock.start();
    EventWait wait;
    wait.wakeOn(&cancel, &Button::clicked);
    QVERIFY(wait.until(timer, [&] { return !running; }));
    QVERIFY(clock.elapsed() < 1000);
    QVERIFY(timer.Enabled()); // the caller decides when to switch it off

    // Without a wake signal the condition alone is never looked at again: the limit ends it.
    timer.setInterval(50);
    timer.setEnabled(true);
    running = true;
    QTimer::singleShot(10, [&] { running = false; });
    EventWait deaf;
    QVERIFY(!deaf.until(timer, [&] { return !running; }));
    QVERIFY(!timer.Enabled());
}

void CommandLayerTest::eventWaitEndsWhenTimerSwitchedOff()
{
    CommTimer timer;
    timer.setInterval(5000);
    timer.setEnabled(true);
    QTimer::singleShot(20, [&] { timer.setEnabled(false); });
    QElapsedTimer clock;
    clock.start();
    EventWait::pause(timer);
    QVERIFY(clock.elapsed() < 1000);
    QVERIFY(!timer.Enabled());
}

void CommandLayerTest::nullDiscardDropsNuls()
{
    CommRig rig;
    QVERIFY(rig.open(false));
    for (bool discard : {false, true}) {
        rig.comm.setNullDiscard(discard);
        rig.sim.sendRaw(QByteArray("a\0b", 3));
        QTRY_VERIFY(rig.comm.InBufferCount() >= (discard ? 2 : 3));
        QCOMPARE(rig.comm.Input(), discard ? QByteArray("ab") : QByteArray("a\0b", 3));
    }
}

#include "tst_CommandLayer.moc"
