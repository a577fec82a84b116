#include "CommRig.h"
#include "CommTests.h"

#include <QTest>

using namespace modCorvaneComm;

namespace {
const QStringList Heading = {"", "", "Looking for Serial Ports"};
} // namespace

class PortAccessTest : public QObject
{
    Q_OBJECT
private slots:
    void listingReportsEachPresentPort()
    {
        CommRig rig;
        QVERIFY(rig.open()); // an open port is closed before the listing
        SimSync second;
        QVERIFY(second.start());
        // 2 names a device that does not exist; 17 must never be tried.
        rig.ports.setTestMapping({{1, rig.sim.path()},
                                  {2, missingDevicePath("ttyX")},
                                  {3, second.path()},
                                  {17, second.path()}});
        rig.portAccess.PortPresent.fill(true);
        int changed = 0;
        QObject::connect(&rig.portAccess, &PortAccess::listChanged, [&] { ++changed; });

        QVERIFY(ListSerialPorts(rig.c));

        QCOMPARE(rig.portAccess.statusBacklog,
                 (Heading + QStringList{"  Com1 is possible", "  Com3 is possible"}));
        QCOMPARE(rig.portAccess.PortList.size(), 2);
        QCOMPARE(rig.portAccess.PortList[0].label, QStringLiteral("COM1"));
        QCOMPARE(rig.portAccess.PortList[0].device, rig.sim.path());
        QCOMPARE(rig.portAccess.PortList[1].port, int16_t(3));
        QCOMPARE(rig.portAccess.PortListSelected, 0);
        for (int n = 1; n <= 16; ++n)
            QCOMPARE(rig.portAccess.PortPresent[n], n == 1 || n == 3);
        QCOMPARE(changed, 1);
        QVERIFY(!rig.comm.PortOpen());
    }

    void listingWithoutPortsReportsProblem()
    {
        CommRig rig;
        rig.ports.setTestMapping({{1, missingDevicePath("ttyX")}});
        rig.portAccess.PortList.append(PortListEntry{"COM9", 9, {}});
        rig.portAccess.PortListSelected = 0;
        QVERIFY(!ListSerialPorts(rig.c));
        QCOMPARE(rig.portAccess.statusBacklog,
                 (Heading + QStringList{"PROBLEM!!!", "No Serial Ports are avaliable!!",
                                        "  Close other programs that might be using",
                                        "  serial ports and try again"}));
        QVERIFY(rig.portAccess.PortList.isEmpty());
        QCOMPARE(rig.portAccess.PortListSelected, -1);
    }

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
        QVERIFY(!OpenSyncPort(rig.c, static_cast<int16_t>(port)));
        QVERIFY(!rig.comm.PortOpen());
        QCOMPARE(rig.cmd.LastCommError, expected);
        QVERIFY(TestPortAvailable(rig.c, static_cast<int16_t>(port)) != 0);
    }

    void openSyncPortSetsLineAndHoldsIt()
    {
        CommRig rig;
        rig.cmd.LastCommError = "stale";
        QVERIFY(rig.open()); // a pseudo-terminal refuses RTS, which is no failure
        QVERIFY(rig.cmd.LastCommError.isEmpty());
        QCOMPARE(rig.comm.Settings(), QStringLiteral("1200,N,8,1"));
        QCOMPARE(rig.comm.Handshaking(), 0);
        QVERIFY(rig.comm.RTSEnable());
        MSComm other(rig.ports); // another program on the same device
        CommTimer timer;
        CommandState cmd;
        PortAccess portAccess;
        CommContext c{other, timer, cmd, portAccess};
        QVERIFY(!OpenSyncPort(c, CommRig::Port));
        QVERIFY(!cmd.LastCommError.isEmpty());
        QVERIFY2(!cmd.LastCommError.contains("dialout"), qPrintable(cmd.LastCommError));
        QVERIFY(TestPortAvailable(c, CommRig::Port) != 0);
        QVERIFY(rig.comm.PortOpen());
    }

    void deviceOrder()
    {
        // Built-in ports in natural order, then adapters, then anything else.
        QCOMPARE(
            PortMap::orderDevices({"/dev/rfcomm0", "/dev/ttyUSB1", "/dev/ttyS10", "/dev/ttyACM0",
                                   "/dev/ttyS2", "/dev/ttyUSB0", "/dev/ttyAMA0"}),
            (QStringList{"/dev/ttyAMA0", "/dev/ttyS2", "/dev/ttyS10", "/dev/ttyACM0",
                         "/dev/ttyUSB0", "/dev/ttyUSB1", "/dev/rfcomm0"}));
    }
};

int runPortAccessTest(int argc, char** argv)
{
    PortAccessTest t;
    return QTest::qExec(&t, argc, argv);
}

#include "tst_PortAccess.moc"
