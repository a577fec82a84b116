// Units behind a device server: the system's ser2net in front of a simulated unit,
// reached through RFC 2217 and raw TCP by the command line, the editor, the debug window and
// the finder; then the ways a server fails, each with the reason a user reads.

#include "../cli/CliStory.h"
#include "../finder/FinderRig.h"
#include "../transfer/TransferRig.h"
#include "Ser2net.h"
#include "app/frmDebug.h"
#include "app/frmNetworkPort.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QSpinBox>

using namespace CliTest;

namespace {
QByteArray telnet(std::initializer_list<int> bytes)
{
    QByteArray out;
    for (int b : bytes)
        out += char(b);
    return out;
}
} // namespace

class NetworkLineTest : public QObject
{
    Q_OBJECT
private slots:
    void init()
    {
        QVERIFY2(Ser2net::installed(),
                 "ser2net is missing (tools/setup-deps.sh --with-test-servers installs it)");
    }

    void cliRoundTrip_data()
    {
        QTest::addColumn<QString>("transport");
        QTest::newRow("serial device") << "";
        QTest::newRow("RFC 2217") << "rfc2217";
        QTest::newRow("raw TCP") << "tcp";
    }

    // read, write and verify, on a device or through the server: a unit set up by hand, with
    // frame points so that every parameter cell is in the file, reaches another unit whole.
    // Quiet: no progress lines.
    void cliRoundTrip()
    {
        QFETCH(QString, transport);
        CliStory s;
        QVERIFY(s.tell({"units 2"}));
        std::unique_ptr<Ser2net> first, second;
        QString at1 = "--device %path1", at2 = "--device %path2";
        if (!transport.isEmpty()) {
            first = std::make_unique<Ser2net>(s.unit(1).path(), transport == "rfc2217");
            second = std::make_unique<Ser2net>(s.unit(2).path(), transport == "rfc2217");
            QVERIFY(first->ok && second->ok);
            at1 = "--device " + first->url(transport == "rfc2217");
            at2 = "--device " + second->url(transport == "rfc2217");
        }
        const QStringList viaServer{"file:%dir/wire.log~connected to " + at1.mid(9),
                                    transport == "rfc2217" ? "file:%dir/wire.log~server signature: ser2net"
                                                           : "file:%dir/wire.log!~server signature"};
        QVERIFY2(s.tell(QStringList{
                            "unit modes=F/F start=0012345 end=0098765 38=03 39=04 3F=31 3E=07 "
                            "comment=Lobby",
                            "cli read -o %dir/first.txt --quiet --wire-log %dir/wire.log " + at1,
                            "status=0", "out=", "err=", "file:%dir/first.txt~~^([^\n]*\r\n){20}$",
                            "file:%dir/first.txt~\r\nModel 31\r\nChannel 7\r\n",
                            "file:%dir/first.txt~\r\nStart Mode Frame\r\nEnd Mode Frame\r\n",
                            "cli write %dir/first.txt --unlock --no-backup " + at2, "status=0",
                            // The unit is named as it was given, address or device.
                            "err~Saved to " + at2.mid(9) + " and compared: no differences.",
                            "cli verify %dir/first.txt --unlock " + at2, "status=0", "out=",
                            "err~" + at2.mid(9) + " holds what",
                            "cells@2==cells@1"} +
                            (transport.isEmpty() ? QStringList() : viaServer)),
                 qPrintable(s.failure));
    }

    // The editor and the debug window on a network COM number: RandFill's bytes (0xFF
    // among them) arrive whole, Dump reads them back, then a load and a saved compare.
    void editorThroughTheServer()
    {
        TransferTest::Rig rig(false);
        QVERIFY(rig.ok);
        Ser2net server(rig.sim.path(), true);
        QVERIFY(server.ok);
        rig.fx.app->ports.setTestMapping({{5, server.url(true)}});
        CommContext c = rig.fx.app->comm();
        const CommError opened = awaited(modCorvaneComm::OpenSyncPort(c, 5));
        QVERIFY2(opened.number == 0, qPrintable(opened.description));
        frmDebug& d = rig.fx.app->debug();
        d.show();
        PortLease& lease = rig.fx.app->lease();
        QTest::mouseClick(d.cmdRandFill, Qt::LeftButton);
        QVERIFY(untilLeaseFree(lease));
        QVERIFY(rig.sim.waitForFramesReceived(63, 5000));
        QCOMPARE(rig.sim.cell(48), (std::array<uint8_t, 2>{0xd0, '#'}));
        QCOMPARE(rig.sim.cell(63), (std::array<uint8_t, 2>{'$', 0x01}));
        rig.sim.setCell(0x6F, 0xFF, 0xFF);
        QTest::mouseClick(d.cmdDump, Qt::LeftButton);
        QVERIFY(untilLeaseFree(lease));
        const QStringList dump = d.txtMsg->toPlainText().split('\n', Qt::SkipEmptyParts);
        QCOMPARE(dump.value(0).left(9), QString("30  D0 23"));
        QCOMPARE(dump.value(63).left(9), QString("6F  FF FF"));

        rig.sim.loadDefaults();
        rig.click("cmdLoadFrom");
        QVERIFY(untilLeaseFree(lease));
        QCOMPARE(ctl<QLineEdit>(rig.main(), "txtModel")->text(), QString("22"));
        setControls(rig.main(), {"scrEndTitle=9", "txtComment=over TCP"});
        rig.click("cmdSaveTo");
        QVERIFY(untilLeaseFree(lease));
        QVERIFY2(rig.problems.isEmpty(), qPrintable(rig.problems.join('|')));
        QCOMPARE(rig.sim.cell(0x39), (std::array<uint8_t, 2>{'0', '9'}));
    }

    // Add Network Port puts the server's port on the next free COM number (COM1 is a unit
    // here, COM2 a device that is gone); the finder lists it, selected, and finds the unit
    // there after RESET.
    void finderFindsTheUnitAfterReset()
    {
        FinderRig r(unpacedWithRealTicks());
        QVERIFY(r.startUnits({1}, {{2, "/nonexistent/ttyGone"}}));
        SimSync unit;
        QVERIFY(unit.start());
        Ser2net server(unit.path(), true);
        QVERIFY(server.ok);
        frmFinder& fi = r.openFinder();
        QString comShown;
        r.f.modal.onDialog = [&](const Modal::Request& request) {
            auto* d = qobject_cast<frmNetworkPort*>(request.dialog);
            QVERIFY(d && !d->cmdOK->isEnabled());
            comShown = d->lblCom->text();
            d->txtHost->setText("127.0.0.1");
            d->txtTcpPort->setValue(server.port);
            QTest::mouseClick(d->cmdOK, Qt::LeftButton);
        };
        fi.menuAddNetworkPort->trigger();
        QTRY_COMPARE(comShown, QString("COM3, for this run only"));
        QTRY_COMPARE(fi.cmbPort->currentText(), QString("COM3"));
        QCOMPARE(fi.cmbPort->currentData(Qt::ToolTipRole).toString(), server.url(true));
        Script script;
        script.when(r.probing(3), [&] { unit.pressReset(); });
        // The unit holds another model than the defaults, so the editor shows what it read.
        unit.setCell(0x3F, '3', '1');
        QTest::mouseClick(fi.cmdConnect, Qt::LeftButton);
        QTRY_VERIFY_WITH_TIMEOUT(r.statusLines().contains("  --- Found synchronizer on COM3"),
                                 30000);
        QVERIFY(r.main().isVisible());
        QTRY_COMPARE_WITH_TIMEOUT(ctl<QLineEdit>(r.main(), "txtModel")->text(), QString("31"),
                                  30000);
        // The scan hands the line over to the load without a gap: it is given back only
        // once the load has ended, so no other command can start on it meanwhile.
        const auto commands = [&r] {
            QStringList texts;
            for (const WireLogEntry& e : r.f.app->wireLog().entries())
                if (e.kind == WireLogEntry::Command)
                    texts << e.text;
            return texts;
        };
        const QRegularExpression loadEnded("load ended: .*"); // indexOf matches whole texts
        QTRY_VERIFY_WITH_TIMEOUT(commands().contains("end scan of one port") &&
                                     commands().indexOf(loadEnded) >= 0,
                                 30000);
        QVERIFY2(commands().indexOf("end scan of one port") > commands().indexOf(loadEnded),
                 qPrintable(commands().join('|')));
    }

    // An open that waits on a server and is abandoned (the finder listening on a network
    // port when Try Specific closes it and opens another) leaves the port and the error
    // text to the open that followed: both ends of the race, the later open done first
    // (a device) and still waiting (another server's port).
    void abandonedOpenLeavesTheNextOneAlone_data()
    {
        QTest::addColumn<bool>("nextWaits");
        QTest::newRow("next open done first") << false;
        QTest::newRow("next open still waiting") << true;
    }
    void abandonedOpenLeavesTheNextOneAlone()
    {
        QFETCH(bool, nextWaits);
        TransferTest::Rig rig(false);
        Ser2net server(rig.sim.path(), true);
        QVERIFY(server.ok);
        FakeServer mute([](const QByteArray&) { return QByteArray(); });
        rig.fx.app->ports.setTestMapping(
            {{3, mute.url()}, {5, nextWaits ? server.url(true) : rig.sim.path()}});
        CommContext c = rig.fx.app->comm();
        MSComm& m = rig.fx.app->serial();
        Task<CommError> first = modCorvaneComm::OpenSyncPort(c, 3);
        m.closePort();
        Task<CommError> next = modCorvaneComm::OpenSyncPort(c, 5);
        QCOMPARE(awaited(std::move(first)).number, CommErrorNumber::OpenAbandoned);
        QCOMPARE(awaited(std::move(next)).number, 0);
        QVERIFY(m.PortOpen());
        QCOMPARE(m.CommPort(), int16_t(5));
        QCOMPARE(c.cmd.LastCommError, QString());
        QCOMPARE(rig.fx.app->wireLog().lines().filter("opening abandoned").size(), 1);
    }

    void serverStoppedMidTransfer_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<QString>("heading");
        QTest::newRow("load") << "cmdLoadFrom"
                              << "Cannot Load! ";
        QTest::newRow("save") << "cmdSaveTo"
                              << "Cannot Save! ";
    }

    // The server goes in the middle of a load or a save: the problem window keeps its text
    // and adds the line's own reason on a line of its own; once the server is back the next
    // load works.
    void serverStoppedMidTransfer()
    {
        QFETCH(QString, command);
        QFETCH(QString, heading);
        TransferTest::Rig rig(false);
        QVERIFY(rig.ok);
        auto server = std::make_unique<Ser2net>(rig.sim.path(), true);
        QVERIFY(server->ok);
        const QString url = server->url(true);
        rig.fx.app->ports.setTestMapping({{5, url}});
        CommContext c = rig.fx.app->comm();
        QCOMPARE(awaited(modCorvaneComm::OpenSyncPort(c, 5)).number, 0);
        rig.main().cmdDefaults_Click();
        rig.fx.app->cellHook = [&](uint8_t address) {
            if (address == 0x48)
                server->stop();
        };
        rig.click(qPrintable(command));
        QVERIFY(untilLeaseFree(rig.fx.app->lease()));
        rig.fx.app->cellHook = nullptr;
        QCOMPARE(rig.problems,
                 QStringList(heading +
                             "There were communications errors on the serial port or the "
                             "synchronizer is not responding.\n Please try again\n"
                             "Connection closed by the device server (" +
                             url + ")"));
        QVERIFY(!rig.fx.app->wireLog().lines().filter("closed by the server").isEmpty());

        Ser2net again(rig.sim.path(), true, server->port);
        QVERIFY(again.ok);
        QCOMPARE(awaited(modCorvaneComm::OpenSyncPort(c, 5)).number, 0);
        rig.problems.clear();
        rig.click("cmdLoadFrom");
        QVERIFY(untilLeaseFree(rig.fx.app->lease()));
        QVERIFY2(rig.problems.isEmpty(), qPrintable(rig.problems.join('|')));
    }

    // Each way a network port cannot be used: the open's reason, and the port list's line.
    void reasons_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("reason");
        QTest::newRow("second client") << "busy"
                                       << "held by another client";
        QTest::newRow("nothing listens") << "closed"
                                         << "connection refused";
        QTest::newRow("unknown host") << "host"
                                      << "host not found";
        QTest::newRow("COM-PORT refused") << "refuses"
                                          << "the server refused the COM-PORT option";
        QTest::newRow("speed never acknowledged")
            << "mute"
            << "the server did not acknowledge the line settings (speed, data size, "
               "parity, stop bits)";
    }

    void reasons()
    {
        QFETCH(QString, kind);
        QFETCH(QString, reason);
        SimSync unit;
        QVERIFY(unit.start());
        Ser2net server(unit.path(), true);
        QVERIFY(server.ok);
        // Refuses COM-PORT, or takes it and acknowledges everything but the speed.
        FakeServer fake([kind](const QByteArray& got) {
            if (kind == "refuses")
                return telnet({255, 254, 44});
            QByteArray out = got.contains(telnet({255, 251, 44})) ? telnet({255, 253, 44}) : "";
            for (int code : {102, 103, 104})
                out += telnet({255, 250, 44, code, 1, 255, 240});
            return out;
        });
        const QString url = kind == "busy" ? server.url(true)
                            : kind == "closed"
                                ? QString("rfc2217://127.0.0.1:%1").arg(freeTcpPort())
                            : kind == "host" ? QString("rfc2217://no-such-host.invalid:7001")
                                             : fake.url();
        TransferTest::Rig holder(false), rig(false);
        holder.fx.app->ports.setTestMapping({{5, server.url(true)}});
        CommContext held = holder.fx.app->comm();
        QCOMPARE(awaited(modCorvaneComm::OpenSyncPort(held, 5)).number, 0);

        // The server sends a second client its words and closes; when it closes before it
        // has read the client's greeting, the system resets the connection and the words
        // may be lost on the way: then all the host can say is that the server closed.
        const QString reasons = "(" + QRegularExpression::escape(reason) +
                                (kind == "busy" ? "|closed by the server)" : ")");
        const QRegularExpression told(QRegularExpression::escape(url + ": ") + reasons);
        rig.fx.app->ports.setTestMapping({{2, url}});
        CommContext c = rig.fx.app->comm();
        const CommError refused = awaited(modCorvaneComm::OpenSyncPort(c, 2));
        QVERIFY(refused.number != 0);
        QVERIFY2(QRegularExpression('^' + reasons).match(refused.description).hasMatch(),
                 qPrintable(refused.description));
        QVERIFY(!awaited(modCorvaneComm::ListSerialPorts(c)));
        const QString line = rig.fx.app->finderStatus.backlog().last();
        QVERIFY2(QRegularExpression("^  " + told.pattern()).match(line).hasMatch(), qPrintable(line));
        const Run listed = runCli({"ports"}, "2=" + url);
        QVERIFY2(told.match(listed.out).hasMatch(), qPrintable(listed.out));
    }
};

CORVANE_TEST_CLASS(NetworkLineTest)
#include "NetworkLineTest.moc"
