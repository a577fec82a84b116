// corvane-cli as a script runs it: each command as its own process against a simulated
// unit, judged by its exit status, its two output streams and the frames the unit got.

#include "CliRig.h"
#include "support/TestRunner.h"

#include <QSerialPort>

using namespace CliTest;

namespace {
const QString CommText = "There were communications errors on the serial port or the "
                         "synchronizer is not responding.";

QStringList args(std::initializer_list<QString> head, const QStringList& tail)
{
    return QStringList(head) + tail;
}
} // namespace

class CliProcessTest : public QObject
{
    Q_OBJECT
private slots:
    void readGivesTheSettingsFileAndTheWireLog();
    void readTellsMarksInPlainWords();
    void writeAppliesTheFileAndItsLock();
    void writeTellsDifferencesOfTheCompare();
    void badInputSendsNothing_data();
    void badInputSendsNothing();
    void lineFaultsAreFailures_data();
    void lineFaultsAreFailures();
    void roundTripToASecondUnit();
    void verifyListsFieldsThatDiffer();
    void portsTellsUsableAndHeldDevices();
    void findHearsTheResetAndTimesOut();
};

void CliProcessTest::readGivesTheSettingsFileAndTheWireLog()
{
    Unit unit;
    QVERIFY(unit.ok);
    unit.sim.setCell(0x3F, '3', '4'); // model 34
    Files files;
    const QString log = files.dir.filePath("wire.log");
    const Run toStdout = runCli(args({"read", "--wire-log", log}, unit.device()));
    QCOMPARE(toStdout.status, 0);
    QVERIFY2(toStdout.out.contains("\r\nModel 34\r\nChannel 1\r\n"), qPrintable(toStdout.out));
    QCOMPARE(toStdout.out.count("\r\n"), 20);
    // The load's 56 cells plus the attention frames, each one in the log.
    const QString logged = QString::fromUtf8(Files::read(log));
    QVERIFY2(logged.contains("> R 3F") && logged.contains("> ATTN"), qPrintable(logged));
    QVERIFY(logged.contains("= load ended: 0 problems marked"));

    const QString file = files.dir.filePath("unit.txt");
    const Run toFile = runCli(args({"read", "-o", file, "--quiet"}, unit.device()));
    QCOMPARE(toFile.status, 0);
    QCOMPARE(toFile.out, QString());
    QCOMPARE(toFile.err, QString()); // quiet: no progress lines, and nothing was wrong
    // The same twenty lines but the time stamp.
    auto withoutStamp = [](QString t) { return t.remove(QRegularExpression("Timestamp [^\r]*")); };
    QCOMPARE(withoutStamp(QString::fromLatin1(Files::read(file))), withoutStamp(toStdout.out));
}

void CliProcessTest::readTellsMarksInPlainWords()
{
    Unit unit;
    QVERIFY(unit.ok);
    unit.sim.setCell(0x39, '?', '1'); // end title unreadable
    unit.sim.setCell(0x38, '0', '0'); // start title 0: out of range
    const Run r = runCli(args({"read"}, unit.device()));
    QCOMPARE(r.status, 1);
    QVERIFY2(r.err.contains("End Title: unreadable, set to 2"), qPrintable(r.err));
    QVERIFY2(r.err.contains("Start Title: out of range, set to 1"), qPrintable(r.err));
    QVERIFY(!r.err.contains("ERROR!")); // the plain lines stand for the editor's box
    QVERIFY(r.out.contains("\r\nStart Title 1\r\nEnd Title 2\r\n"));
}

void CliProcessTest::writeAppliesTheFileAndItsLock()
{
    Unit unit;
    QVERIFY(unit.ok);
    Files files;
    const QString file =
        files.write("rack.txt", settingsFile({"End Title 7", "Comment Rack 3", "Model 40"}));
    const Run r = runCli(args({"write", file, "--channel", "5"}, unit.device()));
    QCOMPARE(r.status, 0);
    QVERIFY2(!r.err.contains("Ignoring"), qPrintable(r.err));
    QVERIFY(r.err.contains("no differences"));
    QCOMPARE(unit.sim.cell(0x39), (std::array<uint8_t, 2>{'0', '7'}));
    QCOMPARE(unit.sim.cell(0x48), (std::array<uint8_t, 2>{'R', 'a'}));
    QCOMPARE(unit.sim.cell(0x3E), (std::array<uint8_t, 2>{'0', '5'}));
    // --channel unlocks for this write, so the file's own Model line applies too.
    QCOMPARE(unit.sim.cell(0x3F), (std::array<uint8_t, 2>{'4', '0'}));

    // Without --unlock the file's Model line is dropped and model and channel stay.
    unit.sim.clearWireLog();
    const Run locked =
        runCli(args({"write", files.write("m.txt", settingsFile({"Model 50"}))}, unit.device()));
    QCOMPARE(locked.status, 0);
    QCOMPARE(unit.sim.cell(0x3F), (std::array<uint8_t, 2>{'4', '0'}));
    QVERIFY(!unit.received().contains("W63 50"));
    QCOMPARE(unit.received().filter(QRegularExpression("^W")).size(), 54);
}

void CliProcessTest::writeTellsDifferencesOfTheCompare()
{
    Unit unit;
    QVERIFY(unit.ok);
    unit.sim.freezeCell(0x39); // keeps end title 2 whatever is written
    Files files;
    const Run r =
        runCli(args({"write", files.write("f.txt", settingsFile({"End Title 7"}))}, unit.device()));
    QCOMPARE(r.status, 1);
    QCOMPARE(r.out.trimmed(), QString("End Title: wrote 7, read back 2"));
    QVERIFY(r.err.contains("Compare Failed!"));
    QVERIFY(!r.err.contains("no differences"));
}

void CliProcessTest::badInputSendsNothing_data()
{
    QTest::addColumn<QStringList>("arguments"); // "%dev" stands for --device and the unit
    QTest::addColumn<QString>("told");
    Files* files = new Files; // kept for the test's whole run
    files->dir.setAutoRemove(true);
    const QString tooLong =
        files->write("long.txt", settingsFile({}, QStringList(20, "Squelch On")));
    const QString exactly29 =
        files->write("29.txt", settingsFile({}, QStringList(14, "Squelch On")));
    const QString empty = files->write("empty.txt", "");
    const QString blank = files->write("blank.txt", " \r\n\t\r\n\r\n");
    const QString hello = files->write("hello.txt", "hello world\r\n");
    const QString mistyped = files->write("titel.txt", settingsFile({}, {"End Titel 7"}));
    const QString unknown = files->write("volume.txt", settingsFile({}, {"Volume 11"}));
    const QString title150 = files->write("150.txt", settingsFile({"End Title 150"}));
    const QString unreadable = "no settings line was understood; nothing was sent";
    QTest::newRow("missing file") << QStringList{"write", "%dev", "/no/such/file.txt"}
                                  << "cannot read /no/such/file.txt";
    QTest::newRow("write, empty file") << QStringList{"write", "%dev", empty} << unreadable;
    QTest::newRow("verify, empty file") << QStringList{"verify", "%dev", empty} << unreadable;
    QTest::newRow("verify, blank lines only") << QStringList{"verify", "%dev", blank} << unreadable;
    QTest::newRow("write, hello world") << QStringList{"write", "%dev", hello}
                                        << "->>> Ignoring Unrecognized Line (1)-->>>hello world";
    QTest::newRow("verify, hello world")
        << QStringList{"verify", "%dev", hello} << "1 line not understood; nothing was sent";
    QTest::newRow("write, mistyped line among good ones")
        << QStringList{"write", "%dev", mistyped, "--unlock"}
        << "->>> Ignoring Unrecognized Line (16)-->>>End Titel 7";
    QTest::newRow("verify, mistyped line among good ones")
        << QStringList{"verify", "%dev", mistyped}
        << "->>> Ignoring Unrecognized Line (16)-->>>End Titel 7";
    QTest::newRow("write, unknown keyword among good ones")
        << QStringList{"write", "%dev", unknown, "--channel", "5"}
        << "->>> Ignoring Unrecognized Line (16)-->>>Volume 11";
    QTest::newRow("verify, a value no unit holds")
        << QStringList{"verify", "%dev", title150}
        << "End Title holds \"150\"; it must be a whole number from 2 to 99.";
    QTest::newRow("over 29 lines") << QStringList{"write", "%dev", tooLong}
                                   << "Warning: Input File processing stopped, > 29 Lines!!";
    QTest::newRow("verify, over 29 lines")
        << QStringList{"verify", "%dev", tooLong} << "> 29 Lines";
    QTest::newRow("port 17") << QStringList{"read", "--port", "17"} << "--port must be";
    QTest::newRow("port 0") << QStringList{"read", "--port=0"} << "--port must be";
    QTest::newRow("no such device")
        << QStringList{"read", "--device", "/dev/no-such-tty"} << "no such device";
    QTest::newRow("port and device") << QStringList{"read", "--port", "1", "%dev"} << "not both";
    QTest::newRow("model 100") << QStringList{"write", "%dev", exactly29, "--model", "100"}
                               << "--model must be";
    QTest::newRow("unknown option")
        << QStringList{"read", "%dev", "--speed", "9600"} << "Unknown option 'speed'";
    QTest::newRow("unknown command") << QStringList{"erase", "%dev"} << "unknown command";
    QTest::newRow("no file") << QStringList{"verify", "%dev"} << "exactly one settings FILE";
}

void CliProcessTest::badInputSendsNothing()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, told);
    Unit unit;
    QVERIFY(unit.ok);
    QStringList full;
    for (const QString& a : arguments)
        full << (a == "%dev" ? unit.device() : QStringList{a});
    const Run r = runCli(full);
    QCOMPARE(r.status, 3);
    QVERIFY2(r.err.contains(told), qPrintable(r.err));
    QCOMPARE(unit.sim.framesReceived(), 0);
    QVERIFY2(!r.err.contains("LoadFile: "), qPrintable(r.err)); // lines as the preview shows them
    if (arguments.first() == "verify") // verify never saves, nor speaks of saving
        QVERIFY2(!r.err.contains("save", Qt::CaseInsensitive), qPrintable(r.err));
}

void CliProcessTest::lineFaultsAreFailures_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<int>("fault"); // simsync::Fault, standing
    QTest::addColumn<int>("closeAfter");
    QTest::addColumn<QString>("told");
    QTest::newRow("read, silent unit")
        << "read" << int(simsync::Fault::Silence) << 0 << "Cannot Load! " + CommText;
    QTest::newRow("read, garbled replies")
        << "read" << int(simsync::Fault::Garbage) << 0 << "Cannot Load! " + CommText;
    QTest::newRow("verify, short replies")
        << "verify" << int(simsync::Fault::Short3) << 0 << "Cannot Load! " + CommText;
    // 57 frames load the unit; the line goes in the middle of the writes.
    QTest::newRow("write, line vanishes")
        << "write" << int(simsync::Fault::None) << 57 + 20 << "Cannot Save! " + CommText;
}

void CliProcessTest::lineFaultsAreFailures()
{
    QFETCH(QString, command);
    QFETCH(int, fault);
    QFETCH(int, closeAfter);
    QFETCH(QString, told);
    Unit unit;
    QVERIFY(unit.ok);
    unit.sim.setStandingFault(static_cast<simsync::Fault>(fault));
    unit.sim.closeAfterFrames(closeAfter);
    Files files;
    QStringList a{command};
    if (command != "read")
        a << files.write("f.txt", settingsFile({"End Title 9"}));
    const Run r = runCli(a + unit.device());
    QCOMPARE(r.status, 2);
    QVERIFY2(r.err.contains(told), qPrintable(r.err));
    QVERIFY(!r.err.contains("no differences") && !r.err.contains("holds what"));
    QCOMPARE(r.out, QString()); // no settings file, no result
}

void CliProcessTest::roundTripToASecondUnit()
{
    Unit first, second;
    QVERIFY(first.ok && second.ok);
    // A unit set up by hand: frame points, other titles, model, channel and a comment.
    const std::pair<int, const char*> cells[] = {
        {0x3C, "?0"}, {0x30, "00"}, {0x31, "12"}, {0x32, "34"}, {0x33, "50"}, {0x34, "00"},
        {0x35, "98"}, {0x36, "76"}, {0x37, "50"}, {0x38, "03"}, {0x39, "04"}, {0x3F, "31"},
        {0x3E, "07"}, {0x48, "Lo"}, {0x49, "bb"}, {0x4A, "y\a"}};
    for (const auto& [address, bytes] : cells)
        first.sim.setCell(address, uint8_t(bytes[0]), uint8_t(bytes[1]));
    Files files;
    const QString file = files.dir.filePath("first.txt");
    QCOMPARE(runCli(args({"read", "-o", file}, first.device())).status, 0);
    const Run written = runCli(args({"write", file, "--unlock"}, second.device()));
    QCOMPARE(written.status, 0);
    const Run verified = runCli(args({"verify", file, "--unlock"}, second.device()));
    QCOMPARE(verified.status, 0);
    QCOMPARE(verified.out, QString());
    // Frame points, so every parameter cell is in the file: the two units agree throughout.
    const simsync::Cells a = first.sim.cells(), b = second.sim.cells();
    for (int i = 0; i < simsync::CellCount; ++i)
        QVERIFY2(a[i] == b[i], qPrintable(QStringLiteral("cell %1: %2%3 against %4%5")
                                              .arg(i + simsync::FirstCell, 2, 16)
                                              .arg(a[i][0], 2, 16)
                                              .arg(a[i][1], 2, 16)
                                              .arg(b[i][0], 2, 16)
                                              .arg(b[i][1], 2, 16)));
}

void CliProcessTest::verifyListsFieldsThatDiffer()
{
    Unit unit;
    QVERIFY(unit.ok);
    Files files;
    const QString file = files.write(
        "f.txt", settingsFile({"End Title 7", "Squelch Off", "Comment Rack 3", "Model 40"}));
    const Run r = runCli(args({"verify", file}, unit.device()));
    QCOMPARE(r.status, 1);
    const QStringList lines = r.out.trimmed().split('\n');
    QVERIFY2(lines.size() == 3, qPrintable(r.out)); // locked: the Model line is not the file's
    QVERIFY2(lines.contains("End Title: the file makes 7, the unit holds 2"), qPrintable(r.out));
    QVERIFY(lines.contains("Squelch: the file makes Off, the unit holds On"));
    QVERIFY(lines.contains("Comment: the file makes \"Rack 3\", the unit holds \"\""));
    QVERIFY(unit.received().filter(QRegularExpression("^W")).isEmpty());

    const Run unlocked = runCli(args({"verify", file, "--unlock"}, unit.device()));
    QCOMPARE(unlocked.out.trimmed().split('\n').size(), 4);
    QVERIFY2(unlocked.out.contains("Model: the file makes 40, the unit holds 22"),
             qPrintable(unlocked.out));
}

void CliProcessTest::portsTellsUsableAndHeldDevices()
{
    Unit free, held;
    QVERIFY(free.ok && held.ok);
    // This test process holds the second line, as a terminal program would.
    QSerialPort holder(held.sim.path());
    QVERIFY(holder.open(QIODevice::ReadWrite));
    const QString map =
        QStringLiteral("2=%1,3=%2,4=/dev/no-such-tty").arg(free.sim.path(), held.sim.path());
    const Run r = runCli({"ports"}, 30000, {{"CORVANE_PORT_MAP", map}});
    QCOMPARE(r.status, 0);
    const QStringList lines = r.out.trimmed().split('\n');
    QCOMPARE(lines.size(), 2);
    QVERIFY2(lines[0].startsWith("COM2 ") && lines[0].contains(free.sim.path()), qPrintable(r.out));
    QVERIFY2(lines[1].startsWith(held.sim.path() + ": in use by another program (tst_cli"),
             qPrintable(r.out));

    const Run bad = runCli({"ports"}, 30000, {{"CORVANE_PORT_MAP", "x=/dev/null"}});
    QCOMPARE(bad.status, 3);
}

void CliProcessTest::findHearsTheResetAndTimesOut()
{
    Unit unit;
    QVERIFY(unit.ok);
    QProcess p;
    p.setReadChannel(QProcess::StandardError);
    p.start(QStringLiteral(CORVANE_CLI), QStringList{"find", "--timeout", "10"} + unit.device());
    // RESET only once the tool says it listens: an announcement before that is not heard.
    QString err;
    while (!err.contains("Press RESET") && p.waitForReadyRead(5000))
        err += QString::fromLocal8Bit(p.readAllStandardError());
    QVERIFY2(err.contains("Press RESET on the synchronizer now: listening 10 s on COM1"),
             qPrintable(err));
    QTest::qWait(300);
    unit.sim.pressReset();
    QVERIFY(p.waitForFinished(15000));
    QCOMPARE(p.exitCode(), 0);
    QCOMPARE(QString::fromLocal8Bit(p.readAllStandardOutput()),
             QString("COM1 %1 model 22 channel 1\n").arg(unit.sim.path()));

    const Run silent = runCli(QStringList{"find", "--timeout", "1"} + unit.device());
    QCOMPARE(silent.status, 2);
    QVERIFY2(silent.err.contains(" !! NO Synchronizer was Found !!"), qPrintable(silent.err));
}

CORVANE_TEST_CLASS(CliProcessTest)
#include "CliProcessTest.moc"
