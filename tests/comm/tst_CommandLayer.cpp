#include "CommRig.h"
#include "comm/EventWait.h"
#include "support/TestRunner.h"

#include <QSignalSpy>
#include <QTest>
#include <QTimer>

using namespace modCorvaneComm;
using simsync::Direction;
using simsync::Fault;

namespace {
const QStringList ThreeTries{"R56", "ATT", "ATT", "R56", "ATT", "ATT", "R56"};
} // namespace

class CommandLayerTest : public QObject
{
    Q_OBJECT
private slots:
    // The paced exchange: attention, two reads and a write at the real times.
    void attentionReadsAndWrite()
    {
        CommRig rig;
        QVERIFY(rig.open(LineTiming{}));
        QElapsedTimer clock;
        clock.start();
        QVERIFY(awaited(SendAttention(rig.c)));
        QVERIFY(clock.elapsed() >= 130); // the two attention frames go out apart
        for (const auto& [cell, value] : {std::pair{63, 22}, {62, 1}}) { // model, channel
            rig.cmd.LastCommError = "stale";
            const CellReply got = awaited(ReadCell(rig.c, int16_t(cell)));
            QCOMPARE(got.status, int16_t(ReadGood));
            QCOMPARE(DecodeReplyNumber(got.bytes), value);
            QVERIFY(got.failure.isEmpty());
            QVERIFY(rig.cmd.LastCommError.isEmpty()); // the record follows the reply
            QCOMPARE(rig.cmd.ReplyBytes, got.bytes);
        }
        QVERIFY(!rig.timer.Enabled());
        // A write has no answer, and the unit gets 100 ms to store the cell.
        clock.restart();
        const FrameReply written = awaited(WriteCell(rig.c, 0x48, 'H', 'i'));
        QVERIFY(written.sent && written.queued);
        QVERIFY(clock.elapsed() >= 100);
        QVERIFY(written.failure.isEmpty());
        QVERIFY(rig.sim.waitForFramesReceived(5, 1000));
        QCOMPARE(rig.sim.cell(0x48), (std::array<uint8_t, 2>{'H', 'i'}));
        QCOMPARE(rig.sim.frames(Direction::ToUnit),
                 (QStringList{"ATT", "ATT", "R63", "R62", "W72 Hi"}));
        QCOMPARE(rig.sim.frames(Direction::FromUnit).size(), 2);
    }

    void faultyReplies_data()
    {
        QTest::addColumn<Fault>("first");
        QTest::addColumn<Fault>("later"); // the second and third answer
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("error");
        QTest::addColumn<QByteArray>("reply"); // empty: not looked at
        // The unit sends each reply frame whole, so a five-byte reply is seen as five bytes.
        const QByteArray none(2, '\0');
        const auto row = [](const char* n, Fault f, Fault l, int st, const char* e,
                            const QByteArray& r) { QTest::newRow(n) << f << l << st << e << r; };
        row("five bytes", Fault::Long5, Fault::Long5, -2, "Reply garbled", "01");
        row("three bytes", Fault::Short3, Fault::Short3, 0, "Reply Timed Out", none);
        row("silence", Fault::Silence, Fault::Silence, 0, "Reply Timed Out", none);
        row("CR LF", Fault::WrongTerminator, Fault::WrongTerminator, -2, "Reply garbled", "01");
        row("garbage", Fault::Garbage, Fault::Garbage, -2, "Reply garbled", {});
        row("recovered on the third try", Fault::Long5, Fault::Short3, 1, "", "01");
    }

    void faultyReplies()
    {
        QFETCH(Fault, first);
        QFETCH(Fault, later);
        QFETCH(int, status);
        QFETCH(QString, error);
        QFETCH(QByteArray, reply);
        CommRig rig;
        // Pauses at a quarter of their length, limits as they are.
        QVERIFY(rig.open(LineTiming{}.scaled(0.25, 1)));
        rig.sim.queueFaults(status == 1 ? QList<Fault>{first, later}
                                        : QList<Fault>{first, later, later});
        QElapsedTimer clock;
        clock.start();
        const CellReply got = awaited(ReadCell(rig.c, 56));
        QCOMPARE(got.status, int16_t(status));
        // Six 130 ms pauses around two attention pairs, and three reply limits of silence.
        const qint64 took = clock.elapsed(), minMs = (first == Fault::Silence ? 600 : 0) + 780 / 4;
        QVERIFY2(took >= minMs, qPrintable(QString::number(took)));
        QCOMPARE(got.failure, error);
        QCOMPARE(rig.cmd.LastCommError, error);
        if (!reply.isEmpty())
            QCOMPARE(QByteArray(reinterpret_cast<const char*>(got.bytes.data()), 2), reply);
        QVERIFY(!rig.timer.Enabled());
        QCOMPARE(rig.sim.frames(Direction::ToUnit), ThreeTries);
    }

    void lineVanishingEndsReadPromptly()
    {
        CommRig rig;
        QVERIFY(rig.open(LineTiming{}));
        QSignalSpy errors(&rig.comm, &MSComm::errorRaised), losses(&rig.comm, &MSComm::lineLost);
        rig.sim.closeAfterFrames(1); // the request arrives, then the cable is pulled
        QElapsedTimer clock;
        clock.start();
        const CellReply lost = awaited(ReadCell(rig.c, 63));
        QVERIFY(!lost.good());
        // Sooner than the 200 ms reply limit: the loss itself ended the wait.
        QVERIFY2(clock.elapsed() < 200, qPrintable(QString::number(clock.elapsed())));
        // A hung-up line that stayed open would go on reporting read errors: it is closed at
        // once, having told the loss once.
        QVERIFY(!rig.comm.PortOpen());
        QCOMPARE(losses.size(), 1);
        QCOMPARE(errors.size(), 1);
        const QString lossText = lost.failure;
        QVERIFY2(lossText.contains(rig.sim.path()), qPrintable(lossText));
        // Later commands on the dead line say why it is dead.
        const CellReply later = awaited(ReadCell(rig.c, 63));
        QCOMPARE(later.status, int16_t(ReadNotSent));
        QCOMPARE(later.failure, lossText);
    }

    void eventWaitEnds()
    {
        CommTimer timer;
        bool running = true;
        QTimer cancel; // stands for a button the wait listens to
        cancel.setSingleShot(true);
        QObject::connect(&cancel, &QTimer::timeout, [&] { running = false; });
        cancel.start(30);
        timer.setInterval(2000);
        timer.setEnabled(true);
        QElapsedTimer clock;
        clock.start();
        EventWait wait(timer, [&] { return !running; });
        wait.wakeOn(&cancel, &QTimer::timeout);
        QVERIFY(awaited(waitOnce(wait)));
        QVERIFY(clock.elapsed() < 1000);
        QVERIFY(timer.Enabled()); // the caller decides when to switch it off

        // Without a wake signal the condition alone is never looked at again: the limit ends it.
        timer.setInterval(50);
        timer.setEnabled(true);
        running = true;
        QTimer::singleShot(10, [&] { running = false; });
        EventWait deaf(timer, [&] { return !running; });
        QVERIFY(!awaited(waitOnce(deaf)));
        QVERIFY(!timer.Enabled());

        // A pause ends as soon as someone switches the timer off.
        timer.setInterval(5000);
        timer.setEnabled(true);
        QTimer::singleShot(20, [&] { timer.setEnabled(false); });
        clock.restart();
        EventWait pause(timer);
        QVERIFY(!awaited(waitOnce(pause)));
        QVERIFY(clock.elapsed() < 1000);
    }

    // A wait is bound to its line's timer: a client torn down while a reply is awaited
    // resumes nothing afterwards: no frame goes out, and nothing it would have done happens.
    void teardownWhileAwaitingResumesNothing()
    {
        CommRig rig;
        QVERIFY(rig.serve(LineTiming{}));
        rig.sim.setStandingFault(Fault::Silence);
        auto client = std::make_unique<CommClient>(rig.ports);
        client->c.timing = rig.c.timing;
        QCOMPARE(awaited(OpenSyncPort(client->c, CommRig::Port)).number, 0);
        bool ended = false;
        Await::start(readAndNote(client->c, &ended));
        QVERIFY(QTest::qWaitFor([&] { return !rig.sim.frames(Direction::ToUnit).isEmpty(); }));
        client.reset(); // the client goes while its read waits for the reply
        // A read from the rig, begun later, ends after every limit, pause and retry the first
        // would have gone through.
        QCOMPARE(awaited(OpenSyncPort(rig.c, CommRig::Port)).number, 0);
        QCOMPARE(awaited(ReadCell(rig.c, 56)).failure, QString("Reply Timed Out"));
        QVERIFY(!ended);
        QCOMPARE(rig.sim.frames(Direction::ToUnit), QStringList{"R63"} + ThreeTries);
    }

private:
    static Task<bool> waitOnce(EventWait& wait) { co_return co_await wait; }
    static Task<> readAndNote(CommContext c, bool* ended)
    {
        co_await ReadCell(c, 63);
        *ended = true;
    }
};

CORVANE_TEST_CLASS(CommandLayerTest)

#include "tst_CommandLayer.moc"
