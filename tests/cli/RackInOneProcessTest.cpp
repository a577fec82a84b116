// A rack in one process: the rack file find writes, driving every command; bad input
// beside good units stopping the run before a frame; sixteen paced units side by side,
// none slowed or disturbed by a silent unit or one whose line goes.

#include "CliRig.h"
#include "simunit/CellImage.h"
#include "support/TestRunner.h"

#include <QDir>
#include <QRegularExpression>

using namespace CliTest;

namespace {

// What each unit's line in the rack file below sets, as a unit's message names it.
const QMap<int, QString> RackNumbers{{1, "channel=1"}, {2, "channel=2"}, {3, "model=22 channel=1"}};

} // namespace

class RackInOneProcessTest : public QObject
{
    Q_OBJECT
private slots:
    void foundRackDrivesEveryCommand_data();
    void foundRackDrivesEveryCommand();
    void badInputBesideGoodUnitsSendsNothing_data();
    void badInputBesideGoodUnitsSendsNothing();
    void sixteenPacedUnitsSideBySide_data();
    void sixteenPacedUnitsSideBySide();
};

void RackInOneProcessTest::foundRackDrivesEveryCommand_data()
{
    // %rack, %dir, %same (the set the units hold), %file (End Title 7), %image (the
    // units' cells with end title 7) are in the scratch folder; %n is each unit's port.
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("told"); // a message each unit gives
    QTest::addColumn<QString>("done"); // the summary's Done for each unit
    QTest::addColumn<int>("writes");   // write frames each unit received
    QTest::addColumn<QString>("folder");
    QTest::addColumn<QStringList>("files"); // each matched by exactly one file in it
    QTest::newRow("read -o") << QStringList{"read", "--rack", "%rack", "-o", "%dir/out"} << ""
                             << "read" << 0 << "%dir/out"
                             << QStringList{"^COM1\\.txt$", "^COM2\\.txt$", "^COM3\\.txt$"};
    QTest::newRow("verify") << QStringList{"verify", "--rack", "%rack", "%same"}
                            << "COM%n: COM%n holds what %same makes of it."
                            << "compared" << 0 << "" << QStringList();
    QTest::newRow("backup -o") << QStringList{"backup", "--rack", "%rack", "-o", "%dir/out"}
                               << "COM%n: Backup of COM%n: %dir/out/COM%n.cells"
                               << "read" << 0 << "%dir/out"
                               << QStringList{"^COM1\\.cells$", "^COM2\\.cells$", "^COM3\\.cells$"};
    QTest::newRow("restore, no backup")
        << QStringList{"restore", "--rack", "%rack", "%image", "--no-backup"}
        << "COM%n: Restored COM%n from %image and compared: no differences."
        << "written" << 54 << "" << QStringList();
    QTest::newRow("restore, backups kept")
        << QStringList{"restore", "--rack", "%rack", "%image", "--backup-dir", "%dir/b"}
        << "COM%n: Restored COM%n from %image and compared: no differences."
        << "written" << 54 << "%dir/b"
        << QStringList{"^\\d{8}-\\d{6}-COM1-model-22-channel-9\\.cells$",
                       "^\\d{8}-\\d{6}-COM2-model-22-channel-9\\.cells$",
                       "^\\d{8}-\\d{6}-COM3-model-22-channel-9\\.cells$"};
    // The rack's numbers unlock the write, so model and channel are written too.
    QTest::newRow("write") << QStringList{"write", "--rack", "%rack", "%file", "--no-backup"}
                           << "COM%n: Saved to COM%n and compared: no differences."
                           << "written" << 56 << "" << QStringList();
}

// The units were found on COM1 to COM3 and have been set to channel 9 since: a command
// that sets no numbers says so for each unit and leaves the channel, a write puts back
// the rack's.
void RackInOneProcessTest::foundRackDrivesEveryCommand()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, told);
    QFETCH(QString, done);
    QFETCH(int, writes);
    QFETCH(QString, folder);
    QFETCH(QStringList, files);
    Rack rack(3);
    QVERIFY(rack.ok());
    for (int port = 1; port <= 3; ++port) {
        rack.sim(port).setCell(0x3E, '0', '9');
        rack.sim(port).setCell(0x48, 'x', 0x07); // the comment the settings files carry
    }
    const simsync::Cells before = rack.sim(1).cells();
    simsync::Cells image = before;
    image[0x39 - 0x30] = {'0', '7'};
    Files scratch;
    const QString dir = scratch.dir.path();
    const QString rackFile =
        scratch.write("rack.txt", "# found by corvane-cli find\nCOM1 channel=1\nCOM2 channel=2\n"
                                  "COM3 channel=1 model=22\n");
    const QString same = scratch.write("same.txt", settingsFile({}));
    const QString file = scratch.write("f.txt", settingsFile({"End Title 7"}));
    const QString imageFile = scratch.write("u.cells", simsync::formatCellImage(image));
    const auto place = [&](QString text, int port = 0) {
        return text.replace("%rack", rackFile)
            .replace("%dir", dir)
            .replace("%same", same)
            .replace("%file", file)
            .replace("%image", imageFile)
            .replace("%n", QString::number(port));
    };
    QStringList full;
    for (const QString& a : arguments)
        full << place(a);
    const Run r = runCli(full, rack.map);
    QVERIFY2(r.status == 0, qPrintable(r.out + r.err));
    const QString command = arguments.first();
    const bool setsNumbers = command == "write";
    const QMap<QString, QStringList> rows = summaryRows(r.out);
    QCOMPARE(rows.keys(), (QStringList{"COM1", "COM2", "COM3"}));
    for (int port = 1; port <= 3; ++port) {
        const QString unit = QStringLiteral("COM%1").arg(port);
        const QString unused = QStringLiteral("%1: %2 on its line: %3 sets nothing")
                                   .arg(unit, RackNumbers.value(port), command);
        QCOMPARE(r.err.contains(unused), !setsNumbers);
        if (!told.isEmpty())
            QVERIFY2(r.err.contains(place(told, port)), qPrintable(r.err));
        QCOMPARE(rows.value(unit).value(2), done);
        QCOMPARE(rows.value(unit).value(3), QString("ok"));
        SimSync& sim = rack.sim(port);
        QCOMPARE(writesReceived(sim), writes);
        const char channel = setsNumbers ? (port == 2 ? '2' : '1') : '9';
        QCOMPARE(sim.cell(0x3E), (std::array<uint8_t, 2>{'0', uint8_t(channel)}));
        QCOMPARE(sim.cell(0x3F), (std::array<uint8_t, 2>{'2', '2'}));
        QCOMPARE(sim.cell(0x39), (std::array<uint8_t, 2>{'0', uint8_t(writes ? '7' : '2')}));
        if (setsNumbers) // the summary shows what the unit holds after the write
            QCOMPARE(rows.value(unit).value(1), QString(QChar(channel)));
    }
    if (command == "read")
        for (int port = 1; port <= 3; ++port)
            QVERIFY(Files::read(QStringLiteral("%1/out/COM%2.txt").arg(dir).arg(port))
                        .contains("\r\nModel 22\r\nChannel 9\r\n"));
    if (command == "backup")
        for (int port = 1; port <= 3; ++port) {
            simsync::Cells kept{};
            QString error;
            QVERIFY(simsync::parseCellImage(
                Files::read(QStringLiteral("%1/out/COM%2.cells").arg(dir).arg(port)), &kept,
                &error));
            QCOMPARE(kept, before);
        }
    const QStringList inFolder =
        folder.isEmpty() ? QStringList() : QDir(place(folder)).entryList(QDir::Files);
    QCOMPARE(inFolder.size(), files.size());
    for (const QString& pattern : files)
        QVERIFY2(inFolder.filter(QRegularExpression(pattern)).size() == 1,
                 qPrintable(inFolder.join(' ')));
}

void RackInOneProcessTest::badInputBesideGoodUnitsSendsNothing_data()
{
    // %good is a unit's device, %1 the device COM1 stands for; a row with a rack file
    // runs it instead of the devices.
    QTest::addColumn<QStringList>("devices");
    QTest::addColumn<QString>("rack");
    QTest::addColumn<QString>("told");
    const QString notAnAddress = ": not rfc2217://HOST:PORT or tcp://HOST:PORT";
    QTest::newRow("server without a port") << QStringList{"%good", "rfc2217://host"} << ""
                                           << "rfc2217://host" + notAnAddress;
    QTest::newRow("bracket left open") << QStringList{"%good", "rfc2217://[::1"} << ""
                                       << "rfc2217://[::1" + notAnAddress;
    QTest::newRow("port past 65535") << QStringList{"%good", "tcp://127.0.0.1:99999"} << ""
                                     << "tcp://127.0.0.1:99999: the port must be from 1 to 65535";
    QTest::newRow("no host") << QStringList{"%good", "tcp://:5"} << ""
                             << "tcp://:5" + notAnAddress;
    QTest::newRow("one device twice") << QStringList{"%1", "%good", "%1"} << ""
                                      << "%1 is %1 again: one unit, named twice";
    QTest::newRow("a port and its device") << QStringList() << "COM1\nCOM2\n%1\n"
                                           << "line 3: %1 is COM1 again: one unit, named twice";
}

void RackInOneProcessTest::badInputBesideGoodUnitsSendsNothing()
{
    QFETCH(QStringList, devices);
    QFETCH(QString, rack);
    QFETCH(QString, told);
    Rack units(2);
    Unit good;
    QVERIFY(units.ok() && good.ok);
    const auto place = [&](QString text) {
        return text.replace("%good", good.sim.path()).replace("%1", units.sim(1).path());
    };
    Files scratch;
    const QString backups = scratch.dir.filePath("b");
    QStringList arguments{"write", scratch.write("f.txt", settingsFile({"End Title 7"})),
                          "--backup-dir", backups};
    for (const QString& d : devices)
        arguments << "--device" << place(d);
    if (!rack.isEmpty())
        arguments << "--rack" << scratch.write("rack.txt", place(rack).toUtf8());
    const Run r = runCli(arguments, units.map);
    QCOMPARE(r.status, 3);
    QVERIFY2(r.err.contains("corvane-cli: ") && r.err.contains(place(told)) &&
                 r.err.contains("; nothing was sent"),
             qPrintable(r.err));
    QCOMPARE(r.out, QString());
    for (const SimSync* sim : {&units.sim(1), &units.sim(2), &good.sim})
        QCOMPARE(sim->framesReceived(), 0);
    QVERIFY(!QFileInfo::exists(backups)); // no unit began: not even its backup folder
}

void RackInOneProcessTest::sixteenPacedUnitsSideBySide_data()
{
    QTest::addColumn<QStringList>("arguments"); // %out is a folder, %file a settings file
    QTest::addColumn<int>("lineGoesAfter");     // COM3's frames before its line closes
    QTest::addColumn<QString>("done");
    QTest::addColumn<QString>("silentDone");
    QTest::addColumn<QString>("cutDone");
    QTest::newRow("read -o") << QStringList{"read", "-o", "%out"} << 20 << "read"
                             << "nothing read"
                             << "nothing read";
    QTest::newRow("write") << QStringList{"write", "%file", "--no-backup"} << 58 + 20 << "written"
                           << "untouched"
                           << "partly written";
}

// Sixteen units at the line's real pace in one process: COM2 never answers and COM3's
// line goes part way, and each of the others gets exactly the frames a unit alone gets.
void RackInOneProcessTest::sixteenPacedUnitsSideBySide()
{
    QFETCH(QStringList, arguments);
    QFETCH(int, lineGoesAfter);
    QFETCH(QString, done);
    QFETCH(QString, silentDone);
    QFETCH(QString, cutDone);
    Files scratch;
    const QString file = scratch.write("f.txt", settingsFile({"End Title 7"}));
    const auto place = [&](QStringList list, const QString& out) {
        return list.replaceInStrings("%out", out).replaceInStrings("%file", file);
    };
    // The frames of one unit alone, unpaced: the same frames in the same order.
    Unit alone;
    QVERIFY(alone.ok);
    const QStringList one = place(arguments, scratch.dir.filePath("alone.txt"));
    QCOMPARE(runCli(one + alone.device()).status, 0);
    const QStringList expected = alone.received();
    QVERIFY(expected.size() >= 58);

    Rack rack(16, true);
    QVERIFY(rack.ok());
    rack.sim(2).setStandingFault(simsync::Fault::Silence);
    rack.sim(3).closeAfterFrames(lineGoesAfter);
    const QString out = scratch.dir.filePath("out");
    const Run r =
        runCli(place(arguments, out) + QStringList{"--port", "1-16"}, rack.map, LineTiming{});
    QCOMPARE(r.status, 2);
    const QMap<QString, QStringList> rows = summaryRows(r.out);
    QCOMPARE(rows.size(), 16);
    QCOMPARE(rows.value("COM2").mid(2), (QStringList{silentDone, "line failed"}));
    QCOMPARE(rows.value("COM3").mid(2), (QStringList{cutDone, "line failed"}));
    QCOMPARE(rack.sim(3).framesReceived(), lineGoesAfter);
    for (int port = 1; port <= 16; ++port) {
        if (port == 2 || port == 3)
            continue;
        const QString unit = QStringLiteral("COM%1").arg(port);
        QCOMPARE(rows.value(unit), (QStringList{"22", "1", done, "ok"}));
        QCOMPARE(rack.unit(port).received(), expected);
        if (arguments.first() == "read")
            QVERIFY(Files::read(QStringLiteral("%1/%2.txt").arg(out, unit))
                        .contains("\r\nModel 22\r\nChannel 1\r\n"));
        else
            QCOMPARE(rack.sim(port).cell(0x39), (std::array<uint8_t, 2>{'0', '7'}));
    }
    if (arguments.first() == "read")
        QCOMPARE(QDir(out).entryList(QDir::Files).size(), 14);
}

CORVANE_TEST_CLASS(RackInOneProcessTest)
#include "RackInOneProcessTest.moc"
