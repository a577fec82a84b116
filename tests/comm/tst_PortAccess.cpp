#include "CommRig.h"
#include "CommTests.h"

#include <QTemporaryDir>
#include <QTest>

using namespace modCorvaneComm;

namespace {
const QStringList ProblemLines = {"PROBLEM!!!", "No Serial Ports are avaliable!!",
                                  "  Close other programs that might be using",
                                  "  serial ports and try again"};
const QStringList Heading = {"", "", "Looking for Serial Ports"};
} // namespace

void PortAccessTest::cleanup()
{
    PortMap::setTestMapping({});
}

void PortAccessTest::listingReportsEachPresentPort()
{
    CommRig rig;
    SimSync second;
    QVERIFY(rig.sim.start());
    QVERIFY(second.start());
    // 2 and 4 name devices that do not exist; 17 must never be tried.
    PortMap::setTestMapping({{1, rig.sim.path()},
                             {2, missingDevicePath("ttyX")},
                             {3, second.path()},
                             {4, missingDevicePath("ttyY")},
                             {17, second.path()}});
    rig.g.PortPresent.fill(true);
    int changed = 0;
    rig.g.portListChanged = [&] { ++changed; };

    QVERIFY(ListSerialPorts(rig.c));

    QCOMPARE(rig.g.finderStatusBacklog,
             (Heading + QStringList{"  Com1 is possible", "  Com3 is possible"}));
    QCOMPARE(rig.g.PortList.size(), 2);
    QCOMPARE(rig.g.PortList[0].label, QStringLiteral("COM1"));
    QCOMPARE(rig.g.PortList[0].port, int16_t(1));
    QCOMPARE(rig.g.PortList[0].device, rig.sim.path());
    QCOMPARE(rig.g.PortList[1].label, QStringLiteral("COM3"));
    QCOMPARE(rig.g.PortList[1].port, int16_t(3));
    QCOMPARE(rig.g.PortListSelected, 0);
    for (int n = 1; n <= 16; ++n)
        QCOMPARE(rig.g.PortPresent[n], n == 1 || n == 3);
    QCOMPARE(changed, 1);
    QVERIFY(!rig.comm.PortOpen());
}

void PortAccessTest::listingWithoutPortsReportsProblem()
{
    CommRig rig;
    PortMap::setTestMapping({{1, missingDevicePath("ttyX")}});
    rig.g.PortList.append(PortListEntry{"COM9", 9, {}});
    rig.g.PortListSelected = 0;

    QVERIFY(!ListSerialPorts(rig.c));

    QCOMPARE(rig.g.finderStatusBacklog, Heading + ProblemLines);
    QVERIFY(rig.g.PortList.isEmpty());
    QCOMPARE(rig.g.PortListSelected, -1);
    for (int n = 1; n <= 16; ++n)
        QVERIFY(!rig.g.PortPresent[n]);
}

void PortAccessTest::listingClosesOpenPortFirst()
{
    CommRig rig;
    QVERIFY(rig.open(false));
    QVERIFY(rig.comm.PortOpen());
    QVERIFY(ListSerialPorts(rig.c));
    QVERIFY(!rig.comm.PortOpen());
    QCOMPARE(rig.g.PortList.size(), 1);
    QCOMPARE(rig.g.PortList[0].port, CommRig::Port);
}

void PortAccessTest::unmappedPortsReachNoDevice()
{
    PortMap::setTestMapping({{2, "/dev/null-not-a-port"}});
    for (int n = 0; n <= 17; ++n)
        QCOMPARE(PortMap::devicePath(n),
                 n == 2 ? QStringLiteral("/dev/null-not-a-port") : QString());
    CommRig rig;
    PortMap::setTestMapping({});
    QCOMPARE(TestPortAvailable(rig.c, 1), int16_t(CommErrorNumber::InvalidPortNumber));
    QCOMPARE(TestPortAvailable(rig.c, 17), int16_t(CommErrorNumber::InvalidPortNumber));
}

void PortAccessTest::openSyncPortToleratesMissingModemLines()
{
    CommRig rig;
    rig.g.LastCommError = "stale";
    QVERIFY(rig.open(false)); // a pseudo-terminal refuses RTS
    QVERIFY(rig.g.LastCommError.isEmpty());
    QVERIFY(rig.comm.PortOpen());
    QCOMPARE(rig.comm.CommPort(), CommRig::Port);
    QCOMPARE(rig.comm.Settings(), QStringLiteral("1200,N,8,1"));
    QCOMPARE(rig.comm.Handshaking(), 0);
    QVERIFY(rig.comm.RTSEnable());
    QVERIFY(!rig.comm.NullDiscard());
    QCOMPARE(rig.comm.devicePath(), rig.sim.path());
    QVERIFY(!rig.comm.hasError());
}

void PortAccessTest::openSyncPortFailures_data()
{
    QTest::addColumn<int>("port");
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("expected");
    QTest::newRow("missing device")
        << 5 << missingDevicePath("ttyX") << "No such file or directory";
    QTest::newRow("unmapped") << 6 << ""
                              << "There is no serial device for COM6";
    QTest::newRow("port 0") << 0 << ""
                            << "Invalid port number";
    QTest::newRow("port 17") << 17 << ""
                             << "Invalid port number";
}

void PortAccessTest::openSyncPortFailures()
{
    QFETCH(int, port);
    QFETCH(QString, path);
    QFETCH(QString, expected);
    QMap<int, QString> mapping;
    if (!path.isEmpty())
        mapping.insert(port, path);
    PortMap::setTestMapping(mapping);
    CommRig rig;
    QVERIFY(!OpenSyncPort(rig.c, static_cast<int16_t>(port)));
    QVERIFY(!rig.comm.PortOpen());
    QCOMPARE(rig.g.LastCommError, expected);
}

void PortAccessTest::portHeldElsewhereIsRefused()
{
    CommRig rig;
    QVERIFY(rig.open(false));
    // Another program (here: a second control) tries the same device.
    MSComm other;
    CommTimer timer;
    Globals g;
    CommContext c{other, timer, g};
    QVERIFY(!OpenSyncPort(c, CommRig::Port));
    QVERIFY(!other.PortOpen());
    QVERIFY(!g.LastCommError.isEmpty());
    QVERIFY2(!g.LastCommError.contains("dialout"), qPrintable(g.LastCommError));
    QVERIFY(TestPortAvailable(c, CommRig::Port) != 0);
    QVERIFY(rig.comm.PortOpen());
}

void PortAccessTest::statusLinesGoToSinkOnceInstalled()
{
    Globals g;
    AppendFinderStatus(g, "early");
    QStringList seen;
    g.finderStatusSink = [&](const QString& line) { seen << line; };
    AppendFinderStatus(g, "");
    AppendFinderStatus(g, "late");
    QCOMPARE(g.finderStatusBacklog, QStringList{"early"});
    QCOMPARE(seen, (QStringList{"", "late"}));
}

void PortAccessTest::deviceOrder_data()
{
    QTest::addColumn<QStringList>("given");
    QTest::addColumn<QStringList>("expected");
    QTest::newRow("uarts before adapters, natural numbers")
        << QStringList{"/dev/ttyUSB1", "/dev/ttyS10",  "/dev/ttyACM0",
                       "/dev/ttyS2",   "/dev/ttyUSB0", "/dev/ttyS0"}
        << QStringList{"/dev/ttyS0",   "/dev/ttyS2",   "/dev/ttyS10",
                       "/dev/ttyACM0", "/dev/ttyUSB0", "/dev/ttyUSB1"};
    QTest::newRow("others last") << QStringList{"/dev/rfcomm0", "/dev/ttyAMA0", "/dev/ttyUSB3"}
                                 << QStringList{"/dev/ttyAMA0", "/dev/ttyUSB3", "/dev/rfcomm0"};
}

void PortAccessTest::deviceOrder()
{
    QFETCH(QStringList, given);
    QFETCH(QStringList, expected);
    QCOMPARE(PortMap::orderDevices(given), expected);
}

void PortAccessTest::closedPortOperationsRaise()
{
    MSComm m;
    QVERIFY(!m.PortOpen());
    m.setPortOpen(false); // closing a closed port is no error
    QVERIFY(!m.hasError());

    const QList<std::function<void()>> ops = {
        [&] { m.setOutput("R?\r"); },    [&] { m.Input(); },
        [&] { m.setOutBufferCount(0); }, [&] { m.setInBufferCount(0); },
        [&] { m.OutBufferCount(); },     [&] { m.InBufferCount(); }};
    for (const auto& op : ops) {
        m.clearError();
        op();
        QCOMPARE(m.lastError().number, CommErrorNumber::PortNotOpen);
        QVERIFY(!m.lastError().description.isEmpty());
    }
    m.clearError();
    m.setSettings("fast");
    QCOMPARE(m.lastError().number, CommErrorNumber::InvalidSettings);
    QCOMPARE(m.Settings(), QStringLiteral("9600,N,8,1"));
}
