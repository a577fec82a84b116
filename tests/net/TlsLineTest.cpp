// Units behind a device server that speaks TLS: read, write and verify through
// rfc2217+tls:// and tcp+tls://, trusted by a CA or by a pinned fingerprint; a rack behind
// one server; the server gone in the middle of a save; and each way a TLS line is refused,
// with the reason a user reads, before a byte reaches the unit.

#include "../cli/CliStory.h"
#include "Ser2net.h"
#include "TlsFiles.h"
#include "comm/NetworkLine.h"

#include <QElapsedTimer>
#include <QTimer>

using namespace CliTest;

class TlsLineTest : public QObject
{
    Q_OBJECT
    std::unique_ptr<TlsFiles> files_;

    Ser2net::Tls serverTls(bool clientAuth = false) const
    {
        return {files_->path("server.crt"), files_->path("server.key"),
                clientAuth ? files_->authDir() : QString()};
    }
    // `text` with %port and the files' names (%ca.crt, %client.key ...) and fingerprints
    // (%pin: the server's, %wrongpin: the CA's) in place.
    QString placed(QString text, quint16 port = 0) const
    {
        for (const char* name :
             {"stranger.crt", "stranger.key", "client.crt", "client.key", "ca.crt"})
            text.replace('%' + QString(name), files_->path(name));
        return text.replace("%port", QString::number(port))
            .replace("%wrongpin", files_->fingerprint("ca"))
            .replace("%pin", files_->fingerprint("server"));
    }

private slots:
    void initTestCase()
    {
        QVERIFY2(Ser2net::installed(),
                 "ser2net is missing (tools/setup-deps.sh --with-test-servers installs it)");
        files_ = std::make_unique<TlsFiles>();
        QVERIFY2(files_->ok, qPrintable(files_->failure));
        QVERIFY(!files_->fingerprint("server").isEmpty() && !files_->fingerprint("ca").isEmpty());
    }

    void roundTrip_data()
    {
        QTest::addColumn<bool>("rfc2217");
        QTest::addColumn<QString>("trust");
        QTest::newRow("RFC 2217, --ca") << true << "--ca %ca.crt";
        QTest::newRow("RFC 2217, pinned in the address") << true << "?pin=%pin";
        QTest::newRow("raw TCP, --ca") << false << "--ca %ca.crt";
        QTest::newRow("raw TCP, pinned in the address") << false << "?pin=%pin";
    }

    // read, write and verify over TLS, as cliRoundTrip does in the clear: the unit set up
    // by hand reaches the other whole. The wire log names the session as openssl saw it
    // with the same server, and the fingerprint openssl printed; the trust query is no part
    // of the unit's name.
    void roundTrip()
    {
        QFETCH(bool, rfc2217);
        QFETCH(QString, trust);
        CliStory s;
        QVERIFY(s.tell({"units 3"}));
        Ser2net server({s.unit(1).path(), s.unit(2).path(), s.unit(3).path()}, rfc2217,
                       serverTls());
        QVERIFY(server.ok);
        // The third connection is openssl's own, so it leaves the other two alone.
        const QString seen = files_->sessionSeenByOpenssl(server.port + 2);
        QVERIFY2(seen.startsWith("TLSv1."), qPrintable(seen));
        const QString session = "TLS: " + seen.section(' ', 0, 0).replace("TLSv", "TLS ") +
                                ", cipher " + seen.section(' ', 1) +
                                ", server certificate SHA-256 " + files_->fingerprint("server");
        const auto at = [&](int n) {
            return trust.startsWith('?') ? server.url(rfc2217, n) + placed(trust)
                                         : server.url(rfc2217, n) + ' ' + placed(trust);
        };
        const QString name2 = server.url(rfc2217, 1);
        QVERIFY2(
            s.tell({"unit modes=F/F start=0012345 end=0098765 38=03 39=04 3F=31 3E=07 "
                    "comment=Lobby",
                    "cli read -o %dir/first.txt --quiet --wire-log %dir/wire.log --device " + at(0),
                    "status=0", "out=", "err=", "file:%dir/first.txt~\r\nModel 31\r\nChannel 7\r\n",
                    "file:%dir/wire.log~connected to " + server.url(rfc2217, 0) + '\n',
                    "file:%dir/wire.log~" + session + '\n',
                    "cli write %dir/first.txt --unlock --no-backup --device " + at(1), "status=0",
                    "err~Saved to " + name2 + " and compared: no differences.",
                    "cli verify %dir/first.txt --unlock --device " + at(1), "status=0", "out=",
                    "err~" + name2 + " holds what", "err!~pin=", "cells@2==cells@1", "frames@3=0"}),
            qPrintable(s.failure));
    }

    // Four units behind one server, each line of the rack with its own trust: a pin, or a
    // CA file named relative to the rack file. All four are written and then verified.
    void rackBehindOneServer()
    {
        CliStory s;
        QVERIFY(s.tell({"units 4"}));
        Ser2net server({s.unit(1).path(), s.unit(2).path(), s.unit(3).path(), s.unit(4).path()},
                       true, serverTls());
        QVERIFY(server.ok);
        QVERIFY(QFile::copy(files_->path("ca.crt"), s.scratch.dir.filePath("rack-ca.crt")));
        QString rack;
        for (int n = 0; n < 4; ++n)
            rack += server.url(true, n) + QStringLiteral(" channel=%1 ").arg(n + 1) +
                    (n % 2 ? "ca=rack-ca.crt\n" : placed("pin=%pin\n"));
        QStringList rows{"file f.txt: End Title 7", "text rack.txt: " + rack,
                         "cli write --rack %rack.txt %f.txt --no-backup", "status=0",
                         "err!~Cannot"};
        for (int n = 1; n <= 4; ++n)
            rows << QStringLiteral("out~~(^|\n)%1 +22 +%2 +written +ok\n")
                        .arg(QRegularExpression::escape(server.url(true, n - 1)))
                        .arg(n)
                 << QStringLiteral("cell:39@%1=07").arg(n)
                 << QStringLiteral("cell:3E@%1=0%1").arg(n);
        rows << "cli verify --rack %rack.txt %f.txt"
             << "status=0"
             << "out#compared        ok=4";
        QVERIFY2(s.tell(rows), qPrintable(s.failure));
    }

    // The server goes in the middle of a save over TLS (once the unit has had five
    // writes): the save is told as failed with the server's closing as the line's reason,
    // and nothing as saved. The pause after each write keeps the host in step with the
    // unit, so the server goes while writes are still to come.
    void serverStoppedMidSave()
    {
        CliStory s;
        QVERIFY(s.tell({"units 1"}));
        Ser2net server({s.unit(1).path()}, true, serverTls());
        QVERIFY(server.ok);
        QTimer watch;
        QObject::connect(&watch, &QTimer::timeout, [&] {
            if (Story::writesIn(s.unit(1).frames(simsync::Direction::ToUnit)).size() >= 5) {
                watch.stop();
                server.stop();
            }
        });
        watch.start(5);
        const QString url = server.url(true);
        QVERIFY2(
            s.tell({"timing in-step", "file f.txt: End Title 7",
                    "cli write %f.txt --no-backup --device " + url + placed("?pin=%pin"),
                    "status=2", "out=",
                    "err$\nCannot Save! There were communications errors on the serial port or "
                    "the synchronizer is not responding.\n Please try again\n"
                    "Connection closed by the device server (" +
                        url + ")\n",
                    "err!~Saved to", "writes@1~~^([5-9]|[1-4][0-9]|5[0-3])$"}),
            qPrintable(s.failure));
    }

    void refusals_data()
    {
        QTest::addColumn<QString>("server");  // tls, tls-raw, clientauth, plain, plain-raw
        QTest::addColumn<QString>("address"); // %port: the server's
        QTest::addColumn<QString>("reason");  // a pattern; "" when the open goes through
        QTest::addColumn<QString>("lost");    // then what a read is told, or "" for nothing
        const QString distrust = "certificate not trusted \\(fingerprint %pin\\): ";
        QTest::newRow("untrusted certificate") << "tls"
                                               << "rfc2217+tls://127.0.0.1:%port" << distrust + ".+"
                                               << "";
        QTest::newRow("wrong pin") << "tls"
                                   << "rfc2217+tls://127.0.0.1:%port?pin=%wrongpin"
                                   << distrust + "not the pinned certificate$"
                                   << "";
        QTest::newRow("no client certificate") << "clientauth"
                                               << "rfc2217+tls://127.0.0.1:%port?ca=%ca.crt"
                                               << "^the server asked for a client certificate$"
                                               << "";
        QTest::newRow("a stranger's client certificate")
            << "clientauth"
            << "rfc2217+tls://127.0.0.1:%port?ca=%ca.crt&cert=%stranger.crt&key=%stranger.key"
            << "^the server did not accept the client certificate %stranger.crt$"
            << "";
        QTest::newRow("the right client certificate")
            << "clientauth"
            << "rfc2217+tls://127.0.0.1:%port?ca=%ca.crt&cert=%client.crt&key=%client.key"
            << ""
            << "";
        // Files that cannot be used are told before the server hears a byte.
        QTest::newRow("a CA file that is not there")
            << "tls"
            << "rfc2217+tls://127.0.0.1:%port?ca=/no/such/ca.crt"
            << "^cannot read the CA file /no/such/ca\\.crt \\(.+\\)$"
            << "";
        QTest::newRow("a key file that holds no key")
            << "clientauth"
            << "rfc2217+tls://127.0.0.1:%port?ca=%ca.crt&cert=%client.crt&key=%client.crt"
            << "^cannot read the key %client.crt \\(no key without a passphrase in it\\)$"
            << "";
        QTest::newRow("plain RFC 2217 server named +tls")
            << "plain"
            << "rfc2217+tls://127.0.0.1:%port?ca=%ca.crt"
            << "^TLS handshake failed: .+"
            << "";
        QTest::newRow("plain raw server named +tls") << "plain-raw"
                                                     << "tcp+tls://127.0.0.1:%port?ca=%ca.crt"
                                                     << "^TLS handshake failed: .+"
                                                     << "";
        QTest::newRow("TLS server named rfc2217://")
            << "tls"
            << "rfc2217://127.0.0.1:%port"
            << "^closed by the server before the Telnet negotiation \\(if it speaks TLS, name "
               "it rfc2217\\+tls://\\)$"
            << "";
        QTest::newRow("TLS server named tcp://")
            << "tls-raw"
            << "tcp://127.0.0.1:%port"
            << ""
            << "Connection closed by the device server (tcp://127.0.0.1:%port) before it sent "
               "anything; a TLS port is named tcp+tls://";
    }

    // Each way a TLS line cannot be used: the open's reason and the port list's line for
    // it, and not a frame at the unit. A TLS server named tcp:// takes the connection and
    // hangs up on the first frame, which a read tells.
    void refusals()
    {
        QFETCH(QString, server);
        QFETCH(QString, address);
        QFETCH(QString, reason);
        QFETCH(QString, lost);
        SimSync unit;
        QVERIFY(unit.start());
        const bool tls = !server.startsWith("plain");
        Ser2net ser2net(QStringList{unit.path()}, !server.endsWith("raw"),
                        tls ? serverTls(server == "clientauth") : Ser2net::Tls{});
        QVERIFY(ser2net.ok);
        address = placed(address, ser2net.port);
        const QString shown = address.section('?', 0, 0);
        const QRegularExpression why(placed(reason, ser2net.port),
                                     QRegularExpression::MultilineOption);

        NetworkLine line(LineAddress::parse(address));
        Line::Setup setup;
        setup.settings.baud = 1200;
        const CommError opened = awaited(line.open(setup));
        line.close(); // the server serves one client at a time
        QVERIFY2((opened.number == 0) == reason.isEmpty(), qPrintable(opened.description));
        QVERIFY2(why.match(opened.description).hasMatch(), qPrintable(opened.description));

        // The list names the address without its trust query: as a port to use, or with
        // the reason.
        const Run listed = runCli({"ports"}, "2=" + address);
        const QString entry = reason.isEmpty()
                                  ? "^COM2 +" + QRegularExpression::escape(shown) + '$'
                                  : '^' + QRegularExpression::escape(shown + ": ") +
                                        why.pattern().remove(QRegularExpression("^\\^"));
        const QRegularExpression told(entry, QRegularExpression::MultilineOption);
        QVERIFY2(told.match(listed.out).hasMatch(), qPrintable(listed.out + listed.err));
        QCOMPARE(listed.status, reason.isEmpty() ? 0 : 2);
        QCOMPARE(unit.framesReceived(), 0);

        if (!reason.isEmpty())
            return;
        // Through, or lost at the first frame, which never reaches the unit.
        const Run read = runCli({"read", "-o", "read.txt", "--quiet", "--device", address});
        QVERIFY2(read.err.contains(placed(lost, ser2net.port)), qPrintable(read.err));
        QVERIFY2(read.status == (lost.isEmpty() ? 0 : 2), qPrintable(read.err));
        if (!lost.isEmpty())
            QCOMPARE(unit.framesReceived(), 0);
    }

    void busyPort_data()
    {
        QTest::addColumn<bool>("rfc2217");
        QTest::newRow("rfc2217+tls://") << true;
        QTest::newRow("tcp+tls://") << false;
    }

    // A port another client holds: over TLS the server says so and keeps the connection,
    // and the second client is told at once, not after a timeout or at its first frame.
    void busyPort()
    {
        QFETCH(bool, rfc2217);
        SimSync unit;
        QVERIFY(unit.start());
        Ser2net ser2net(QStringList{unit.path()}, rfc2217, serverTls());
        QVERIFY(ser2net.ok);
        const QString address =
            placed(QString(rfc2217 ? "rfc2217" : "tcp") + "+tls://127.0.0.1:%port?ca=%ca.crt",
                   ser2net.port);
        Line::Setup setup;
        setup.settings.baud = 1200;
        NetworkLine holder(LineAddress::parse(address));
        QCOMPARE(awaited(holder.open(setup)).number, 0);
        NetworkLine second(LineAddress::parse(address));
        QElapsedTimer clock;
        clock.start();
        const CommError refused = awaited(second.open(setup));
        QCOMPARE(refused.description, QString("held by another client"));
        QVERIFY2(clock.elapsed() < NetworkLine::SetupMs,
                 qPrintable(QString::number(clock.elapsed())));
        QCOMPARE(unit.framesReceived(), 0);
    }
};

CORVANE_TEST_CLASS(TlsLineTest)
#include "TlsLineTest.moc"
