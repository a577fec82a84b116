// The command line as the tool reads it: what each command accepts and what it makes of it.

#include "cli/CliRequest.h"
#include "support/TestRunner.h"

#include <QRegularExpression>
#include <QTest>

class CliOptionsTest : public QObject
{
    Q_OBJECT
private slots:
    void requests_data();
    void requests();
    void helpForEachCommand();
};

void CliOptionsTest::requests_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<QString>("expected"); // the request in short, or "exit N: text"
    QTest::newRow("find on every port") << "find"
                                        << "find port=- timeout=30";
    QTest::newRow("find, one port, timeout") << "find --port 4 --timeout 2.5"
                                             << "find port=4 timeout=2.5";
    QTest::newRow("timeout too short") << "find --timeout 0.1"
                                       << "exit 3: corvane-cli: --timeout must be";
    QTest::newRow("read to a file, = form") << "read --port=16 --output=x.txt"
                                            << "read port=16 timeout=30 out=x.txt";
    QTest::newRow("read, short -o") << "read --device /dev/ttyUSB0 -o y.txt"
                                    << "read port=- device=/dev/ttyUSB0 timeout=30 out=y.txt";
    QTest::newRow("write with numbers") << "write --port 2 f.txt --model 12 --channel 99"
                                        << "write port=2 timeout=30 file=f.txt model=12 channel=99 "
                                           "backups=./corvane-backups/";
    QTest::newRow("channel not a number") << "write --port 2 f.txt --channel 5x"
                                          << "exit 3: corvane-cli: --channel must be";
    QTest::newRow("verify unlocked") << "verify --port 1 --unlock f.txt"
                                     << "verify port=1 timeout=30 file=f.txt unlock";
    QTest::newRow("backup to a file") << "backup --port 3 -o unit.cells"
                                      << "backup port=3 timeout=30 out=unit.cells";
    QTest::newRow("restore unlocked, own folder")
        << "restore --port 2 u.cells --unlock --backup-dir=/tmp/b"
        << "restore port=2 timeout=30 file=u.cells unlock backups=/tmp/b";
    QTest::newRow("restore without a backup") << "restore --device /dev/ttyS0 u.cells --no-backup"
                                              << "restore port=- device=/dev/ttyS0 timeout=30 "
                                                 "file=u.cells no-backup";
    QTest::newRow("a folder and no backup") << "write --port 1 f.txt --no-backup --backup-dir d"
                                            << "exit 3: corvane-cli: give --backup-dir or "
                                               "--no-backup, not both";
    QTest::newRow("restore needs an image")
        << "restore --port 1"
        << "exit 3: corvane-cli: restore needs exactly one cell IMAGE";
    QTest::newRow("backup takes no file") << "backup --port 1 a.cells"
                                          << "exit 3: corvane-cli: backup takes no argument";
    QTest::newRow("backups are for writing") << "verify --port 1 --no-backup f.txt"
                                             << "exit 3: corvane-cli: Unknown option 'no-backup'";
    QTest::newRow("model is not verify's") << "verify --port 1 --model 3 f.txt"
                                           << "exit 3: corvane-cli: Unknown option 'model'";
    QTest::newRow("timeout is find's only") << "read --port 1 --timeout 5"
                                            << "exit 3: corvane-cli: Unknown option 'timeout'";
    QTest::newRow("ports takes no port") << "ports --port 1"
                                         << "exit 3: corvane-cli: Unknown option 'port'";
    QTest::newRow("two files") << "write --port 1 a.txt b.txt"
                               << "exit 3: corvane-cli: write needs exactly one";
    QTest::newRow("read takes no file") << "read --port 1 a.txt"
                                        << "exit 3: corvane-cli: read takes no argument";
    QTest::newRow("port 17") << "read --port 17"
                             << "exit 3: corvane-cli: --port must be";
    QTest::newRow("port and device") << "read --port 1 --device /dev/ttyS0"
                                     << "exit 3: corvane-cli: give --port or --device, not both";
    QTest::newRow("rack and port") << "write --rack r.txt --port 1 f.txt"
                                   << "exit 3: corvane-cli: give --rack or --port/--device";
    QTest::newRow("range backwards") << "write --port 5-3 f.txt"
                                     << "exit 3: corvane-cli: --port must be";
    QTest::newRow("range past 16") << "verify --port 9-17 f.txt"
                                   << "exit 3: corvane-cli: --port must be";
    QTest::newRow("several reads need a folder")
        << "read --port 1-2"
        << "exit 3: corvane-cli: read with several units needs -o FOLDER";
    QTest::newRow("find takes one port") << "find --port 1 --port 2"
                                         << "exit 3: corvane-cli: find takes one --port";
    QTest::newRow("count is for every port") << "find --port 1 --count 2"
                                             << "exit 3: corvane-cli: --count and --rack-out";
    QTest::newRow("model 100") << "write --port 1 f.txt --model 100"
                               << "exit 3: corvane-cli: --model must be";
    QTest::newRow("unknown command") << "erase --port 1"
                                     << "exit 3: corvane-cli: unknown command";
    QTest::newRow("options before the command")
        << "--device rfc2217://h:7001 read -o x.txt"
        << "exit 3: corvane-cli: unknown command \"--device\"; the command comes first: "
           "corvane-cli read --device rfc2217://h:7001 -o x.txt";
    QTest::newRow("port as rack files name it") << "read --port COM3"
                                                << "read port=3 timeout=30";
    QTest::newRow("a range of COM names") << "verify --port com7-COM7 f.txt"
                                          << "verify port=7 timeout=30 file=f.txt";
    QTest::newRow("COM0") << "read --port COM0"
                          << "exit 3: corvane-cli: --port must be";
    QTest::newRow("a rack that names its files") << "verify --rack r.txt"
                                                 << "verify port=- timeout=30";
    QTest::newRow("JSON or events") << "read --port 1 --json --events"
                                    << "exit 3: corvane-cli: give --json or --events, not both";
    // Whom TLS addresses trust: files that can be read, a fingerprint, a certificate with its
    // key.
    QTest::newRow("tls: pin and ca")
        << "read --port 1 --ca /etc/passwd --pin "
           "sha256:00112233445566778899aabbccddeeff00112233445566778899aabbccddeeff"
        << "read port=1 timeout=30 ca=/etc/passwd pin=00:11:22:33";
    QTest::newRow("tls: short pin") << "read --port 1 --pin 00:11:22"
                                    << "exit 3: corvane-cli: --pin must be a SHA-256 fingerprint";
    QTest::newRow("tls: unreadable ca")
        << "scan --ca /no/such/ca.pem"
        << "exit 3: corvane-cli: --ca /no/such/ca.pem: no such file, or it cannot be read";
    QTest::newRow("tls: certificate without key")
        << "write --port 1 f.txt --cert /etc/passwd"
        << "exit 3: corvane-cli: a client certificate needs both --cert and --key";
    QTest::newRow("tls: certificate and key")
        << "ports --cert /etc/passwd --key /etc/hostname"
        << "ports port=- timeout=30 cert=/etc/passwd key=/etc/hostname";
    QTest::newRow("no command") << ""
                                << "exit 3: Usage: corvane-cli COMMAND";
    QTest::newRow("version") << "--version"
                             << "exit 0: corvane-cli " CORVANE_BUILD_VERSION;
}

void CliOptionsTest::requests()
{
    QFETCH(QString, line);
    QFETCH(QString, expected);
    const QStringList argv = QStringList{"corvane-cli"} + line.split(' ', Qt::SkipEmptyParts);
    const ParsedCommandLine p = parseCommandLine(argv);
    QString got;
    if (!p.request) {
        got = QStringLiteral("exit %1: %2").arg(p.exitCode).arg((p.out + p.err).trimmed());
        QVERIFY2(got.startsWith(expected), qPrintable(got));
        return;
    }
    const CliRequest& r = *p.request;
    got = QStringLiteral("%1 port=%2").arg(r.command, r.port ? QString::number(*r.port) : "-");
    if (!r.device.isEmpty())
        got += " device=" + r.device;
    got += QStringLiteral(" timeout=%1").arg(r.timeoutSeconds);
    if (!r.output.isEmpty())
        got += " out=" + r.output;
    if (!r.file.isEmpty())
        got += " file=" + r.file;
    if (r.model)
        got += QStringLiteral(" model=%1").arg(*r.model);
    if (r.channel)
        got += QStringLiteral(" channel=%1").arg(*r.channel);
    if (r.unlock)
        got += " unlock";
    if (!r.trust.caFile.isEmpty())
        got += " ca=" + r.trust.caFile;
    if (!r.trust.pin.isEmpty())
        got += " pin=" + r.trust.pin.first(4).toHex(':').toUpper();
    if (!r.trust.certFile.isEmpty())
        got += " cert=" + r.trust.certFile + " key=" + r.trust.keyFile;
    if (r.command == "write" || r.command == "restore")
        got += r.backup ? " backups=" + r.backupDir : QString(" no-backup");
    QCOMPARE(got, expected);
    QCOMPARE(p.exitCode, 0);
}

void CliOptionsTest::helpForEachCommand()
{
    for (const char* command :
         {"ports", "find", "scan", "read", "write", "verify", "backup", "restore"}) {
        const ParsedCommandLine p = parseCommandLine({"corvane-cli", command, "--help"});
        QVERIFY(!p.request);
        QCOMPARE(p.exitCode, 0);
        QVERIFY2(p.out.startsWith(QStringLiteral("Usage: corvane-cli %1 [options]").arg(command)),
                 qPrintable(p.out));
        QVERIFY(p.out.contains("Exit status: 0 success"));
    }
    // What --port means differs: scan asks a unit, find listens.
    const auto help = [](const char* command) {
        return parseCommandLine({"corvane-cli", command, "--help"}).out;
    };
    QVERIFY(
        help("scan").contains(QRegularExpression("--port <N> +Ask the unit on this port only")));
    QVERIFY(help("find").contains(QRegularExpression("--port <N> +Listen on this port only")));
    QVERIFY(!help("find").contains("one file per unit"));
    QVERIFY(help("read").contains("one file per unit"));
}

CORVANE_TEST_CLASS(CliOptionsTest)
#include "CliOptionsTest.moc"
