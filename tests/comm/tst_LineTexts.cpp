// What the line's texts mean: a unit's reply bytes, line settings and line addresses.

#include "comm/LineAddress.h"
#include "comm/LineSettings.h"
#include "comm/StableDeviceName.h"
#include "comm/modCorvaneComm.h"
#include "support/TestRunner.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace modCorvaneComm;

class LineTextsTest : public QObject
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

#define PIN_PLAIN "00112233445566778899aabbccddeeff00112233445566778899AABBCCDDEEFF"
#define PIN_COLONS                                                                                 \
    "00:11:22:33:44:55:66:77:88:99:AA:BB:CC:DD:EE:FF:00:11:22:33:44:55:66:77:88:99:AA:BB:CC:"      \
    "DD:EE:FF"

    // What an address names: a device path as it is, or a device server's port.
    void lineAddress_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("read"); // kind host port, or the error after "text: "
        const auto row = [](const char* text, const char* read) {
            QTest::newRow(text) << QString(text) << QString(read);
        };
        row("/dev/ttyUSB0", "device /dev/ttyUSB0");
        row("rfc2217://rack-a:7001", "rfc2217 rack-a 7001");
        row("tcp://10.0.0.5:1", "tcp 10.0.0.5 1");
        row("socket://10.0.0.5:65535", "tcp 10.0.0.5 65535");
        row("rfc2217://[::1]:7001", "rfc2217 ::1 7001");
        row("rfc2217://rack-a:65536", "error the port must be from 1 to 65535");
        row("rfc2217://rack-a:0", "error the port must be from 1 to 65535");
        row("rfc2217://rack-a", "error not rfc2217://HOST:PORT or tcp://HOST:PORT");
        row("rfc2217://:7001", "error not rfc2217://HOST:PORT or tcp://HOST:PORT");
        row("rfc2217://a b:7001", "error not rfc2217://HOST:PORT or tcp://HOST:PORT");
        row("telnet://rack-a:23",
            "error unknown kind \"telnet\" (rfc2217 or tcp, either with +tls)");
        row("telnet+tls://rack-a:23",
            "error unknown kind \"telnet+tls\" (rfc2217 or tcp, either with +tls)");
        row("rfc2217+tls://rack-a:7001", "rfc2217 rack-a 7001 tls");
        row("tcp+tls://[::1]:7001", "tcp ::1 7001 tls");
        // Whom it trusts travels with it; a fingerprint reads with or without colons.
        row("rfc2217+tls://rack-a:7001?pin=" PIN_COLONS, "rfc2217 rack-a 7001 tls pin=" PIN_COLONS);
        row("rfc2217+tls://rack-a:7001?pin=sha256:" PIN_PLAIN,
            "rfc2217 rack-a 7001 tls pin=" PIN_COLONS);
        row("tcp+tls://rack-a:7001?ca=/etc/ca.pem&cert=/etc/me%20too.crt&key=/etc/me.key",
            "tcp rack-a 7001 tls ca=/etc/ca.pem cert=/etc/me too.crt key=/etc/me.key");
        row("rfc2217://rack-a:7001?pin=" PIN_PLAIN,
            "error ca, pin, cert and key are for TLS addresses (rfc2217+tls:// or tcp+tls://)");
        row("rfc2217+tls://rack-a:7001?pin=AB:CD",
            "error the pin must be a SHA-256 fingerprint (64 hex digits, in pairs with ':' or "
            "not), not \"AB:CD\"");
        row("rfc2217+tls://rack-a:7001?pin=" PIN_PLAIN "0",
            "error the pin must be a SHA-256 fingerprint (64 hex digits, in pairs with ':' or "
            "not), not \"" PIN_PLAIN "0\"");
        row("rfc2217+tls://rack-a:7001?cert=/etc/me.crt",
            "error a client certificate needs both cert= and key=");
        row("rfc2217+tls://rack-a:7001?insecure=1",
            "error unknown setting \"insecure\" (ca, pin, cert or key)");
        row("rfc2217+tls://rack-a:7001?ca", "error \"ca\" is not KEY=VALUE");
    }

    void lineAddress()
    {
        QFETCH(QString, text);
        QFETCH(QString, read);
        QString error;
        const LineAddress a = LineAddress::parse(text, &error);
        QString got;
        if (!error.isEmpty())
            got = "error " + error.mid(error.indexOf(": ") + 2);
        else if (a.kind == LineAddress::Device)
            got = "device " + a.path;
        else
            got = QStringLiteral("%1 %2 %3")
                      .arg(a.kind == LineAddress::Rfc2217 ? "rfc2217" : "tcp", a.host)
                      .arg(a.port);
        if (a.tls)
            got += " tls";
        const std::pair<const char*, QString> trust[] = {
            {"ca", a.trust.caFile},
            {"pin", a.trust.pin.isEmpty() ? QString() : QString(a.trust.pin.toHex(':').toUpper())},
            {"cert", a.trust.certFile},
            {"key", a.trust.keyFile}};
        for (const auto& [key, value] : trust)
            if (!value.isEmpty())
                got += QStringLiteral(" %1=%2").arg(key, value);
        QCOMPARE(got, read);
        if (error.isEmpty() && a.isNetwork()) {
            const LineAddress again = LineAddress::parse(a.toString());
            QCOMPARE(again.toString(), a.toString());
            QVERIFY(again.trust == a.trust);
            // Messages name it without the trust.
            QVERIFY(!a.displayName().contains('?'));
            QCOMPARE(LineAddress::shownName(a.toString()), a.displayName());
        }
    }

    // The command line's trust fills only what an address leaves unset, and only on TLS
    // addresses; a certificate never comes half from each.
    void trustDefaults()
    {
        TlsTrust defaults;
        defaults.caFile = "/d/ca.pem";
        defaults.certFile = "/d/me.crt";
        defaults.keyFile = "/d/me.key";
        const std::pair<const char*, const char*> rows[] = {
            {"rfc2217+tls://h:1", "rfc2217+tls://h:1?ca=/d/ca.pem&cert=/d/me.crt&key=/d/me.key"},
            {"tcp+tls://h:1?ca=/own.pem", "tcp+tls://h:1?ca=/own.pem&cert=/d/me.crt&key=/d/me.key"},
            {"tcp+tls://h:1?cert=/a.crt&key=/a.key",
             "tcp+tls://h:1?ca=/d/ca.pem&cert=/a.crt&key=/a.key"},
            {"rfc2217://h:1", "rfc2217://h:1"},
            {"/dev/ttyUSB0", "/dev/ttyUSB0"},
            {"tcp+tls://h:0", "tcp+tls://h:0"}, // not an address: left for its own error
        };
        for (const auto& [given, expected] : rows)
            QCOMPARE(LineAddress::withTrustDefaults(given, defaults), QString(expected));
        QCOMPARE(LineAddress::withTrustDefaults("tcp+tls://h:1", TlsTrust{}),
                 QString("tcp+tls://h:1"));
    }

    // Fingerprints as openssl prints them, and what is not one.
    void pins()
    {
        const QByteArray digest = QByteArray::fromHex(PIN_PLAIN);
        const std::pair<const char*, bool> rows[] = {
            {PIN_PLAIN, true},
            {PIN_COLONS, true},
            {"SHA256 Fingerprint=" PIN_COLONS, true},
            {"  sha256:" PIN_PLAIN "  ", true},
            {"md5:" PIN_PLAIN, false},
            {PIN_PLAIN "00", false},
            {"00:11:22", false},
            {"0:0112233445566778899aabbccddeeff00112233445566778899AABBCCDDEEFF", false},
            {"zz112233445566778899aabbccddeeff00112233445566778899AABBCCDDEEFF", false},
        };
        for (const auto& [text, good] : rows)
            QCOMPARE(TlsTrust::parsePin(text), good ? digest : QByteArray());
        QCOMPARE(TlsTrust::fingerprintText(digest), QString(PIN_COLONS));
    }

    // A USB adapter's stable name: its by-id link first, else its by-path link; none for a
    // device without a link, or one that is not there.
    void stableDeviceName()
    {
        QTemporaryDir dir;
        const auto path = [&dir](const char* name) { return dir.filePath(name); };
        QVERIFY(QDir(dir.path()).mkpath("dev") && QDir(dir.path()).mkpath("by-id") &&
                QDir(dir.path()).mkpath("by-path"));
        for (const char* device : {"dev/ttyUSB0", "dev/ttyUSB1", "dev/ttyS0"}) {
            QFile f(path(device));
            QVERIFY(f.open(QIODevice::WriteOnly));
        }
        QVERIFY(QFile::link("../dev/ttyUSB0", path("by-id/usb-Maker_Adapter_A1-if00-port0")));
        QVERIFY(QFile::link("../dev/ttyUSB0", path("by-path/pci-0000:00:14.0-usb-0:1:1.0-port0")));
        QVERIFY(QFile::link("../dev/ttyUSB1", path("by-path/pci-0000:00:14.0-usb-0:2:1.0-port0")));
        const QStringList folders{path("by-id"), path("by-path")};
        const std::pair<const char*, QString> rows[] = {
            {"dev/ttyUSB0", path("by-id/usb-Maker_Adapter_A1-if00-port0")},
            {"dev/ttyUSB1", path("by-path/pci-0000:00:14.0-usb-0:2:1.0-port0")},
            {"dev/ttyS0", ""},
            {"dev/ttyUSB9", ""}};
        for (const auto& [device, stable] : rows)
            QCOMPARE(StableDeviceName::of(path(device), folders), stable);
    }
};

CORVANE_TEST_CLASS(LineTextsTest)

#include "tst_LineTexts.moc"
