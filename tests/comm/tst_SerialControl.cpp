// The serial control against a bare pseudo-terminal whose far end the test holds: the
// line settings it gives the device, open or not, flow control, NUL bytes, and output that
// the far end stops with XOFF; then opening a port, and what stops it.

#include "CommRig.h"
#include "comm/DeviceOrder.h"
#include "support/TestRunner.h"

#include <QFile>
#include <QTest>
#include <fcntl.h>
#include <termios.h>
#include <unistd.h>

using namespace modCorvaneComm;

namespace {

// The far end of a pseudo-terminal; COM5 of `rig` is its near end.
struct FarEnd
{
    int fd = -1;
    explicit FarEnd(CommRig& rig)
    {
        rig.comm.setCommPort(CommRig::Port);
        fd = ::posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK);
        if (fd >= 0 && ::grantpt(fd) == 0 && ::unlockpt(fd) == 0)
            rig.ports.setTestMapping({{CommRig::Port, QString::fromLocal8Bit(::ptsname(fd))}});
    }
    ~FarEnd() { ::close(fd); }
    void send(const QByteArray& bytes) const
    {
        QVERIFY(::write(fd, bytes.constData(), size_t(bytes.size())) == bytes.size());
    }
    // The line as the device has it: "9600 xon" ("rts" for hardware flow control).
    QString line() const
    {
        termios t{};
        ::tcgetattr(fd, &t);
        const speed_t speed = ::cfgetospeed(&t);
        QString out = QString::number(speed == B1200 ? 1200 : speed == B9600 ? 9600 : -1);
        if (t.c_iflag & IXON)
            out += " xon";
        if (t.c_cflag & CRTSCTS)
            out += " rts";
        return out;
    }
};

} // namespace

class SerialControlTest : public QObject
{
    Q_OBJECT
private slots:
    void settingsReachTheDeviceOpenOrNot()
    {
        CommRig rig;
        FarEnd far(rig);
        rig.comm.setSettings("1200,N,8,1");
        QCOMPARE(awaited(rig.comm.openPort()).number, 0);
        QVERIFY(rig.comm.PortOpen());
        QCOMPARE(far.line(), QString("1200"));
        // Changed while open, they apply at once.
        // (A pseudo-terminal refuses parity, so every row is N,8,1.)
        const QStringList table[] = {{"9600,N,8,1", "0", "9600"},
                                     {"1200,N,8,1", "1", "1200 xon"},
                                     {"1200,N,8,1", "2", "1200 rts"},
                                     {"9600,N,8,1", "3", "9600 rts"},
                                     {"1200,N,8,1", "0", "1200"}};
        for (const QStringList& row : table) {
            rig.comm.setSettings(row[0]);
            rig.comm.setHandshaking(row[1].toInt());
            QVERIFY2(!rig.comm.hasError(), qPrintable(rig.comm.lastError().description));
            QCOMPARE(far.line(), row[2]);
        }
        rig.comm.setHandshaking(4);
        QCOMPARE(rig.comm.lastError().description, QString("Invalid property value"));
        QCOMPARE(rig.comm.Handshaking(), 0);
    }

    void nulBytesDroppedWhenAsked()
    {
        CommRig rig;
        FarEnd far(rig);
        QCOMPARE(awaited(rig.comm.openPort()).number, 0);
        for (const bool discard : {false, true}) {
            rig.comm.setNullDiscard(discard);
            far.send(QByteArray("A\0B", 3));
            QTRY_COMPARE(rig.comm.InBufferCount(), discard ? 2 : 3);
            QCOMPARE(rig.comm.Input(), discard ? QByteArray("AB") : QByteArray("A\0B", 3));
        }
    }

    // XOFF from the far end holds the frame in the driver: the send fails as a transmit
    // time-out; after XON the control sees the queue drain by itself.
    void stoppedOutputIsATransmitTimeOut()
    {
        CommRig rig;
        FarEnd far(rig);
        QCOMPARE(awaited(OpenSyncPort(rig.c, CommRig::Port)).number, 0);
        rig.comm.setHandshaking(1);
        // The driver takes bytes in order: once the byte after XOFF has arrived, output is
        // stopped, if no byte may restart it (which the control allows).
        termios t{};
        ::tcgetattr(far.fd, &t);
        t.c_iflag &= ~tcflag_t(IXANY);
        ::tcsetattr(far.fd, TCSANOW, &t);
        far.send("\x13.");
        QTRY_COMPARE(rig.comm.InBufferCount(), 1);
        QCOMPARE(rig.comm.Input(), QByteArray("."));
        QVERIFY(!awaited(SendAttention(rig.c)));
        QCOMPARE(rig.cmd.LastCommError, QString("Serial Transmit Timed Out"));
        QCOMPARE(rig.comm.OutBufferCount(), 4);
        // The control notices the drain by itself, looking again at most a second apart.
        bool drainSeen = false;
        QObject::connect(&rig.comm, &MSComm::outputProgress,
                         [&] { drainSeen = drainSeen || rig.comm.OutBufferCount() == 0; });
        far.send("\x11");
        QTRY_VERIFY_WITH_TIMEOUT(drainSeen, 1500);
    }

    // A port that fails to open is left closed, and commands on it say so.
    void openSyncPortFailures_data()
    {
        QTest::addColumn<int>("port");
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("expected");
        QTest::newRow("missing device")
            << 5 << missingDevicePath("ttyX") << "No such file or directory";
        QTest::newRow("unmapped") << 6 << ""
                                  << "There is no serial device for COM6";
        QTest::newRow("port 17") << 17 << "/dev/null"
                                 << "Invalid port number";
    }

    void openSyncPortFailures()
    {
        QFETCH(int, port);
        QFETCH(QString, path);
        QFETCH(QString, expected);
        CommRig rig;
        if (!path.isEmpty())
            rig.ports.setTestMapping({{port, path}});
        const CommError failed = awaited(OpenSyncPort(rig.c, static_cast<int16_t>(port)));
        QVERIFY(failed.number != 0);
        QVERIFY(!rig.comm.PortOpen());
        QCOMPARE(failed.description, expected);
        QCOMPARE(rig.cmd.LastCommError, expected); // the record follows the result
        QCOMPARE(awaited(TestPortAvailable(rig.c, static_cast<int16_t>(port))),
                 int16_t(failed.number));
        // Commands on the closed port send nothing, and a write makes no pause.
        const QString closed = QStringLiteral("Operation valid only when the port is open");
        rig.cmd.ReplyBytes = {'4', '2'};
        const CellReply read = awaited(ReadCell(rig.c, 63));
        QCOMPARE(read.status, int16_t(ReadNotSent));
        QCOMPARE(read.failure, closed);
        QCOMPARE(rig.cmd.ReplyBytes[0], uint8_t(0));
        QElapsedTimer clock;
        clock.start();
        for (const FrameReply& r :
             {awaited(SendAttention(rig.c)), awaited(WriteCell(rig.c, 63, '1', '2'))}) {
            QVERIFY(!r.sent && !r.queued);
            QCOMPARE(r.failure, closed);
        }
        QVERIFY(clock.elapsed() < 100);
        QCOMPARE(rig.comm.OutBufferCount(), 0); // nothing is waiting to go out
    }

    // Opening sets the line; another program then finds the device held, and the listing
    // names the holder of the serial layer's lock.
    void openSyncPortSetsLineAndHoldsIt()
    {
        CommRig rig;
        rig.cmd.LastCommError = "stale";
        QVERIFY(rig.open()); // a pseudo-terminal refuses RTS, which is no failure
        QVERIFY(rig.cmd.LastCommError.isEmpty());
        QCOMPARE(rig.comm.Settings(), QStringLiteral("1200,N,8,1"));
        QCOMPARE(rig.comm.Handshaking(), 0);
        QVERIFY(rig.comm.RTSEnable());
        CommClient other(rig.ports);
        const CommError held = awaited(OpenSyncPort(other.c, CommRig::Port));
        QVERIFY(held.number != 0);
        QCOMPARE(held.description, QString("Permission error while locking the device"));
        QVERIFY(awaited(TestPortAvailable(other.c, CommRig::Port)) != 0);
        QVERIFY(!awaited(ListSerialPorts(other.c)));
        QFile comm("/proc/self/comm");
        QVERIFY(comm.open(QIODevice::ReadOnly));
        QCOMPARE(other.status.backlog().last(),
                 QString("  %1: in use by another program (%2, process %3): close it and try again")
                     .arg(rig.sim.path(), QString(comm.readAll()).trimmed())
                     .arg(QCoreApplication::applicationPid()));
        QVERIFY(rig.comm.PortOpen());
    }

    void deviceOrder()
    {
        // Built-in ports in natural order, then adapters, then anything else.
        QCOMPARE(
            DeviceOrder::inComOrder({"/dev/rfcomm0", "/dev/ttyUSB1", "/dev/ttyS10", "/dev/ttyACM0",
                                     "/dev/ttyS2", "/dev/ttyUSB0", "/dev/ttyAMA0"}),
            (QStringList{"/dev/ttyAMA0", "/dev/ttyS2", "/dev/ttyS10", "/dev/ttyACM0",
                         "/dev/ttyUSB0", "/dev/ttyUSB1", "/dev/rfcomm0"}));
    }
};

CORVANE_TEST_CLASS(SerialControlTest)

#include "tst_SerialControl.moc"
