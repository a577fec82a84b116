// corvane-cli as a script runs it, judged by its exit status, its two output streams and
// the frames the unit got. The commands run in this process without pacing; one write runs
// as a process of its own at the line's real times.

#include "CliRig.h"
#include "support/CellTokens.h"
#include "support/TestRunner.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSerialPort>
#include <QTimer>

using namespace CliTest;

namespace {
const QString CommText = "There were communications errors on the serial port or the "
                         "synchronizer is not responding.";

QStringList args(std::initializer_list<QString> head, const QStringList& tail)
{
    return QStringList(head) + tail;
}

QStringList writes(const Unit& unit)
{
    return unit.received().filter(QRegularExpression("^W"));
}
} // namespace

class CliCommandTest : public QObject
{
    Q_OBJECT
private slots:
    void pacedWriteAppliesTheFileAndItsLock();
    void writeTellsDifferencesOfTheCompare();
    void badInputSendsNothing_data();
    void badInputSendsNothing();
    void lineFaultsAreFailures_data();
    void lineFaultsAreFailures();
    void roundTripToASecondUnit();
    void readTellsMarksInPlainWords();
    void verifyListsFieldsThatDiffer();
    void portsTellsUsableAndHeldDevices();
    void findHearsTheResetOnEveryPort();
    void scanListsWhatAnswers();
};

// The paced story: the tool as its own process, at 1200 baud and the real pauses.
void CliCommandTest::pacedWriteAppliesTheFileAndItsLock()
{
    Unit unit(true);
    QVERIFY(unit.ok);
    Files files;
    const QString file =
        files.write("rack.txt", settingsFile({"End Title 7", "Comment Rack 3", "Model 40"}));
    const Run r = runProcess(args({"write", file, "--channel", "5", "--no-backup"}, unit.device()));
    QCOMPARE(r.status, 0);
    QVERIFY2(!r.err.contains("Ignoring"), qPrintable(r.err));
    QVERIFY(r.err.contains("no differences"));
    QCOMPARE(unit.sim.cell(0x39), (std::array<uint8_t, 2>{'0', '7'}));
    QCOMPARE(unit.sim.cell(0x48), (std::array<uint8_t, 2>{'R', 'a'}));
    QCOMPARE(unit.sim.cell(0x3E), (std::array<uint8_t, 2>{'0', '5'}));
    // --channel unlocks for this write, so the file's own Model line applies too.
    QCOMPARE(unit.sim.cell(0x3F), (std::array<uint8_t, 2>{'4', '0'}));
    // Load, attention, 56 writes, attention, compare: the unit took every frame whole.
    const QStringList got = unit.received();
    QCOMPARE(got.size(), 2 + 56 + 2 + 56 + 2 + 56);
    QCOMPARE(got.mid(58, 3), (QStringList{"ATT", "ATT", "W63 40"}));

    // Without --unlock the file's Model line is dropped and model and channel stay.
    unit.sim.clearWireLog();
    unit.sim.setPacing(false);
    const Run locked = runCli(args(
        {"write", files.write("m.txt", settingsFile({"Model 50"})), "--no-backup"}, unit.device()));
    QCOMPARE(locked.status, 0);
    QCOMPARE(unit.sim.cell(0x3F), (std::array<uint8_t, 2>{'4', '0'}));
    QVERIFY(!unit.received().contains("W63 50"));
    QCOMPARE(writes(unit).size(), 54);
}

void CliCommandTest::writeTellsDifferencesOfTheCompare()
{
    Unit unit;
    QVERIFY(unit.ok);
    unit.sim.freezeCell(0x39); // keeps end title 2 whatever is written
    Files files;
    const Run r =
        runCli(args({"write", files.write("f.txt", settingsFile({"End Title 7"})), "--no-backup"},
                    unit.device()));
    QCOMPARE(r.status, 1);
    QCOMPARE(r.out.trimmed(), QString("End Title: wrote 7, read back 2"));
    QVERIFY(r.err.contains("Compare Failed!"));
    QVERIFY(!r.err.contains("no differences"));
}

void CliCommandTest::badInputSendsNothing_data()
{
    QTest::addColumn<QStringList>("arguments"); // "%dev" stands for --device and the unit
    QTest::addColumn<QString>("told");
    Files* files = new Files; // kept for the test's whole run
    const QString tooLong =
        files->write("long.txt", settingsFile({}, QStringList(20, "Squelch On")));
    const QString empty = files->write("empty.txt", "");
    const QString blank = files->write("blank.txt", " \r\n\t\r\n\r\n");
    const QString hello = files->write("hello.txt", "hello world\r\n");
    const QString mistyped = files->write("titel.txt", settingsFile({}, {"End Titel 7"}));
    const QString title150 = files->write("150.txt", settingsFile({"End Title 150"}));
    const QString unreadable = "no settings line was understood; nothing was sent";
    QTest::newRow("missing file") << QStringList{"write", "%dev", "/no/such/file.txt"}
                                  << "cannot read /no/such/file.txt";
    QTest::newRow("write, empty file") << QStringList{"write", "%dev", empty} << unreadable;
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
    QTest::newRow("verify, a value no unit holds")
        << QStringList{"verify", "%dev", title150}
        << "End Title holds \"150\"; it must be a whole number from 2 to 99.";
    QTest::newRow("over 29 lines") << QStringList{"write", "%dev", tooLong}
                                   << "Warning: Input File processing stopped, > 29 Lines!!";
    QTest::newRow("no such device")
        << QStringList{"read", "--device", "/dev/no-such-tty"} << "no such device";
}

void CliCommandTest::badInputSendsNothing()
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

void CliCommandTest::lineFaultsAreFailures_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<int>("closeAfter");
    QTest::addColumn<QString>("told");
    QTest::newRow("read, silent unit") << "read" << 0 << "Cannot Load! " + CommText;
    // 58 frames load the unit; the line goes in the middle of the writes.
    QTest::newRow("write, line vanishes") << "write" << 58 + 20 << "Cannot Save! " + CommText;
}

void CliCommandTest::lineFaultsAreFailures()
{
    QFETCH(QString, command);
    QFETCH(int, closeAfter);
    QFETCH(QString, told);
    Unit unit;
    QVERIFY(unit.ok);
    if (closeAfter == 0)
        unit.sim.setStandingFault(simsync::Fault::Silence);
    unit.sim.closeAfterFrames(closeAfter);
    Files files;
    QStringList a{command};
    if (command != "read")
        a << files.write("f.txt", settingsFile({"End Title 9"})) << "--no-backup";
    // The pause after each write keeps the host in step with the unit, so the line goes
    // while the writes are still being sent.
    LineTiming inStep = LineTiming::unpaced();
    inStep.afterWriteMs = LineTiming{}.afterWriteMs;
    const Run r = runCli(a + unit.device(), {}, inStep);
    QCOMPARE(r.status, 2);
    QVERIFY2(r.err.contains(told), qPrintable(r.err));
    QVERIFY(!r.err.contains("no differences") && !r.err.contains("holds what"));
    QCOMPARE(r.out, QString()); // no settings file, no result
}

// read, write and verify together: what one unit holds reaches another, with the wire log
// of the read written, and a wire log that cannot be written is a bad-input failure.
void CliCommandTest::roundTripToASecondUnit()
{
    Unit first, second;
    QVERIFY(first.ok && second.ok);
    // A unit set up by hand: frame points, other titles, model, channel and a comment.
    CellTokens::put(first.sim, {"modes=F/F", "start=0012345", "end=0098765", "38=03", "39=04",
                                "3F=31", "3E=07", "comment=Lobby"});
    Files files;
    const QString file = files.dir.filePath("first.txt"), log = files.dir.filePath("wire.log");
    const Run read =
        runCli(args({"read", "-o", file, "--quiet", "--wire-log", log}, first.device()));
    QCOMPARE(read.status, 0);
    QCOMPARE(read.out + read.err, QString()); // quiet: no progress lines, nothing was wrong
    const QString settings = QString::fromLatin1(Files::read(file));
    QCOMPARE(settings.count("\r\n"), 20);
    QVERIFY2(settings.contains("\r\nModel 31\r\nChannel 7\r\n"), qPrintable(settings));
    const QString logged = QString::fromUtf8(Files::read(log));
    QVERIFY2(logged.contains("> R 3F") && logged.contains("> ATTN"), qPrintable(logged));
    QVERIFY(logged.contains("= load ended: 0 problems marked"));
    // A file that stands alone: what wrote it, when and on which line, then each entry at
    // its clock time.
    const QStringList logLines = logged.split('\n', Qt::SkipEmptyParts);
    QVERIFY2(
        logLines.value(0).contains(QRegularExpression("^Corvane \\d+\\.\\d+\\.\\d+ wire log$")),
        qPrintable(logLines.value(0)));
    QVERIFY2(logLines.value(1).contains(
                 QRegularExpression("^Log starts: \\d{4}-\\d\\d-\\d\\d \\d\\d:\\d\\d:\\d\\d$")),
             qPrintable(logLines.value(1)));
    QVERIFY2(logLines.value(2).startsWith("Port: COM1 opened: " + first.sim.path() + ", 1200,"),
             qPrintable(logLines.value(2)));
    QVERIFY(logLines.size() > 3 + 58);
    for (const QString& entry : logLines.mid(3))
        QVERIFY2(entry.contains(
                     QRegularExpression("^\\d\\d:\\d\\d:\\d\\d\\.\\d{3} +\\d+\\.\\d{3}  [><=!-] ")),
                 qPrintable(entry));

    QCOMPARE(runCli(args({"write", file, "--unlock", "--no-backup"}, second.device())).status, 0);
    const Run verified = runCli(args({"verify", file, "--unlock"}, second.device()));
    QCOMPARE(verified.status, 0);
    QCOMPARE(verified.out, QString());
    // Frame points, so every parameter cell is in the file: the two units agree throughout.
    QCOMPARE(second.sim.cells(), first.sim.cells());

    const Run noLog = runCli(args({"read", "--wire-log", "/no/such/dir/w.log"}, first.device()));
    QCOMPARE(noLog.status, 3);
    QVERIFY2(noLog.err.contains("/no/such/dir/w.log"), qPrintable(noLog.err));
}

void CliCommandTest::readTellsMarksInPlainWords()
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

void CliCommandTest::verifyListsFieldsThatDiffer()
{
    Unit unit;
    QVERIFY(unit.ok);
    Files files;
    const QString file = files.write(
        "f.txt", settingsFile({"End Title 7", "Squelch Off", "Comment Rack 3", "Model 40"}));
    const Run r = runCli(args({"verify", file}, unit.device()));
    QCOMPARE(r.status, 1);
    // Locked: the file's Model line is not applied, so the model is no difference.
    QCOMPARE(r.out.trimmed().split('\n'),
             (QStringList{"End Title: the file makes 7, the unit holds 2",
                          "Squelch: the file makes Off, the unit holds On",
                          "Comment: the file makes \"Rack 3\", the unit holds \"\""}));
    QVERIFY(writes(unit).isEmpty());

    const Run unlocked = runCli(args({"verify", file, "--unlock"}, unit.device()));
    QCOMPARE(unlocked.out.trimmed().split('\n').size(), 4);
    QVERIFY2(unlocked.out.contains("Model: the file makes 40, the unit holds 22"),
             qPrintable(unlocked.out));
}

void CliCommandTest::portsTellsUsableAndHeldDevices()
{
    Unit free, held;
    QVERIFY(free.ok && held.ok);
    // This test process holds the second line, as a terminal program would.
    QSerialPort holder(held.sim.path());
    QVERIFY(holder.open(QIODevice::ReadWrite));
    const QString map =
        QStringLiteral("2=%1,3=%2,4=/dev/no-such-tty").arg(free.sim.path(), held.sim.path());
    const Run r = runProcess({"ports"}, 30000, {{"CORVANE_PORT_MAP", map}});
    QCOMPARE(r.status, 0);
    const QStringList lines = r.out.trimmed().split('\n');
    QCOMPARE(lines.size(), 2);
    QVERIFY2(lines[0].startsWith("COM2 ") && lines[0].contains(free.sim.path()), qPrintable(r.out));
    QVERIFY2(lines[1].startsWith(held.sim.path() + ": in use by another program (tst_cli"),
             qPrintable(r.out));
    QCOMPARE(runCli({"ports"}, "x=/dev/null").status, 3);
}

// Without a port, find listens on every usable port at once: three units reset within a
// second are all heard and written as a rack; one whose numbers are not 1 to 99, or
// unreadable, counts as found, with exit status 1.
void CliCommandTest::findHearsTheResetOnEveryPort()
{
    Unit first, second, doubtful;
    QVERIFY(first.ok && second.ok && doubtful.ok);
    doubtful.sim.setCell(0x3F, '0', '0'); // model 0
    doubtful.sim.setCell(0x3E, '?', '?'); // channel unreadable
    second.sim.setCell(0x3E, '0', '7');
    const QString map = QStringLiteral("1=/dev/no-such-tty,2=%1,3=%2,4=%3")
                            .arg(first.sim.path(), second.sim.path(), doubtful.sim.path());
    const Run early = runCli({"find", "--timeout", "0.5"}, map);
    QCOMPARE(early.status, 2);
    QVERIFY2(early.err.contains("listening 0.5 s on COM2, COM3, COM4 at once"),
             qPrintable(early.err));
    QVERIFY2(early.err.contains(" !! NO Synchronizer was Found !!"), qPrintable(early.err));

    QTimer::singleShot(2000, [&] { doubtful.sim.pressReset(); });
    QTimer::singleShot(2300, [&] { first.sim.pressReset(); });
    QTimer::singleShot(2600, [&] { second.sim.pressReset(); });
    Files files;
    const QString rack = files.dir.filePath("rack.txt");
    const Run found = runCli({"find", "--timeout", "6", "--rack-out", rack}, map);
    QCOMPARE(found.status, 1);
    QCOMPARE(found.out.split('\n', Qt::SkipEmptyParts),
             (QStringList{QString("COM4 %1 model 0 channel ?").arg(doubtful.sim.path()),
                          QString("COM2 %1 model 22 channel 1").arg(first.sim.path()),
                          QString("COM3 %1 model 22 channel 7").arg(second.sim.path())}));
    QCOMPARE(QString(Files::read(rack)),
             QString("# found by corvane-cli find\nCOM4\nCOM2 channel=1\nCOM3 channel=7\n"));
}

// scan asks every usable port at once, without RESET: the units that answer, the ports
// where nothing did, and a port another program holds skipped with its reason.
void CliCommandTest::scanListsWhatAnswers()
{
    Unit one, silent, two, held;
    QVERIFY(one.ok && silent.ok && two.ok && held.ok);
    silent.sim.setStandingFault(simsync::Fault::Silence);
    two.sim.setCell(0x3F, '3', '1');
    QSerialPort holder(held.sim.path()); // another program has this one
    QVERIFY(holder.open(QIODevice::ReadWrite));
    const QString map =
        QStringLiteral("1=%1,2=%2,5=%3,6=%4")
            .arg(one.sim.path(), silent.sim.path(), two.sim.path(), held.sim.path());
    const Run r = runCli({"scan"}, map);
    QCOMPARE(r.status, 0);
    QCOMPARE(r.out.split('\n', Qt::SkipEmptyParts),
             (QStringList{QString("COM1 %1 model 22 channel 1").arg(one.sim.path()),
                          QString("COM5 %1 model 31 channel 1").arg(two.sim.path())}));
    QVERIFY2(r.err.contains(QString("COM2 %1: no answer (a unit may need RESET before it answers)")
                                .arg(silent.sim.path())),
             qPrintable(r.err));
    QVERIFY2(r.err.contains(held.sim.path() + ": in use by another program"), qPrintable(r.err));
    QVERIFY(held.received().isEmpty());
    // The same as one JSON document: the two units that answered.
    const QJsonObject doc =
        QJsonDocument::fromJson(runCli({"scan", "--json"}, map).out.toUtf8()).object();
    QCOMPARE(doc.value("status").toInt(-1), 0);
    QCOMPARE(doc.value("units").toArray().size(), 2);
    QCOMPARE(doc.value("units").toArray()[1].toObject().value("model").toInt(), 31);
}

CORVANE_TEST_CLASS(CliCommandTest)
#include "CliCommandTest.moc"
