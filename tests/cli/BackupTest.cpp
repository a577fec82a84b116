// backup and restore, and the backup write and restore keep before their first write frame:
// judged by the cells of simulated units, the files written and the frames received.

#include "CliRig.h"
#include "simunit/CellImage.h"
#include "support/TestRunner.h"

#include <QDir>
#include <QRegularExpression>

using namespace CliTest;
using simsync::Cells;

namespace {

QStringList writeFrames(const Unit& unit)
{
    return unit.received().filter(QRegularExpression("^W"));
}

// A cell image as a person might write one: lower-case hex, no comments.
QByteArray imageText(const Cells& cells)
{
    QString text;
    for (int i = 0; i < simsync::CellCount; ++i)
        text += QStringLiteral("%1 %2 %3\n")
                    .arg(0x30 + i, 2, 16)
                    .arg(cells[i][0], 2, 16, QLatin1Char('0'))
                    .arg(cells[i][1], 2, 16, QLatin1Char('0'));
    return text.toLatin1();
}

QStringList filesIn(const QString& folder)
{
    return QDir(folder).entryList(QDir::Files);
}

} // namespace

class BackupTest : public QObject
{
    Q_OBJECT
private slots:
    void backupWriteRestoreGivesEveryCellBack_data();
    void backupWriteRestoreGivesEveryCellBack();
    void nothingIsWrittenWithoutWhatWasAskedFor_data();
    void nothingIsWrittenWithoutWhatWasAskedFor();
    void restoreListsCellsThatReadBackDifferently();
};

void BackupTest::backupWriteRestoreGivesEveryCellBack_data()
{
    QTest::addColumn<bool>("unlock");
    QTest::newRow("unlocked: model and channel too") << true;
    QTest::newRow("locked: the written channel stays") << false;
}

void BackupTest::backupWriteRestoreGivesEveryCellBack()
{
    QFETCH(bool, unlock);
    Unit unit;
    QVERIFY(unit.ok);
    unit.sim.setCell(0x33, '0', 0xFF); // the points' last second bytes carry nothing
    unit.sim.setCell(0x37, '0', 0x0D);
    unit.sim.setCell(0x44, 0xFF, 0x00); // a cell no save writes
    const Cells before = unit.sim.cells();
    Files scratch;
    const QString image = scratch.dir.filePath("unit.cells");
    const QString backups = scratch.dir.filePath("backups");

    const Run kept = runCli(QStringList{"backup", "-o", image} + unit.device());
    QCOMPARE(kept.status, 0);
    QVERIFY2(kept.err.endsWith("Backup of COM1: " + image + "\n"), qPrintable(kept.err));
    unit.sim.clearWireLog();

    const QString file = scratch.write("f.txt", settingsFile({"End Title 7", "Start Frame 5"}));
    const Run w = runCli(QStringList{"write", file, "--channel", "5", "--backup-dir", backups} +
                         unit.device());
    QCOMPARE(w.status, 0);
    QCOMPARE(unit.sim.cell(0x33), (std::array<uint8_t, 2>{'5', '0'}));
    const QStringList first = filesIn(backups);
    QCOMPARE(first.size(), 1);
    QVERIFY2(
        first[0].contains(QRegularExpression("^\\d{8}-\\d{6}-COM1-model-22-channel-1\\.cells$")),
        qPrintable(first[0]));
    QVERIFY2(w.err.contains("Backup of COM1: " + backups + "/" + first[0]), qPrintable(w.err));
    Cells backedUp{};
    QString error;
    QVERIFY(simsync::parseCellImage(Files::read(backups + "/" + first[0]), &backedUp, &error));
    QCOMPARE(backedUp, before);
    // The load, then the backup's attention and 64 reads, then the save and its compare.
    const QStringList got = unit.received();
    QCOMPARE(got.size(), 58 + 66 + 58 + 58);
    QCOMPARE(got.mid(58, 3), (QStringList{"ATT", "ATT", "R48"}));
    QCOMPARE(got.mid(123, 4), (QStringList{"R111", "ATT", "ATT", "W63 22"}));

    unit.sim.clearWireLog();
    QStringList restore{"restore", image, "--backup-dir", backups};
    if (unlock)
        restore << "--unlock";
    const Run r = runCli(restore + unit.device());
    QCOMPARE(r.status, 0);
    QCOMPARE(r.out, QString());
    QVERIFY2(r.err.endsWith("Restored COM1 from " + image + " and compared: no differences.\n"),
             qPrintable(r.err));
    Cells expected = before;
    if (!unlock)
        expected[0x3E - 0x30] = {'0', '5'};
    QCOMPARE(unit.sim.cells(), expected);
    QCOMPARE(writeFrames(unit).size(), unlock ? 56 : 54);
    QCOMPARE(writeFrames(unit).first().left(3), QString(unlock ? "W63" : "W60"));
    // The restore kept the unit as the write had left it, in a file of its own.
    QCOMPARE(filesIn(backups).size(), 2);
    QCOMPARE(QDir(backups).entryList({"*-COM1-model-22-channel-5.cells"}).size(), 1);
}

void BackupTest::nothingIsWrittenWithoutWhatWasAskedFor_data()
{
    QTest::addColumn<QStringList>("arguments"); // %file, %image and %dir are in the scratch
    QTest::addColumn<QByteArray>("image");      // empty: the unit's own cells
    QTest::addColumn<int>("goodReads");         // the reads answered before silence; -1 all
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("told");
    QTest::addColumn<int>("frames");
    const QString noFolder = "no backup can be kept in %file/sub: the folder cannot be made";
    const QStringList restore{"restore", "%image", "--backup-dir", "%dir/b"};
    const QByteArray whole = imageText(simsync::defaultCells());
    QTest::newRow("write, no backup")
        << QStringList{"write", "%file", "--no-backup"} << QByteArray() << -1 << 0
        << "no differences" << 58 + 56 + 56;
    QTest::newRow("write, folder under a file")
        << QStringList{"write", "%file", "--backup-dir", "%file/sub"} << QByteArray() << -1 << 3
        << noFolder << 0;
    // The load's 56 reads are answered, the backup's first is not, three times over.
    QTest::newRow("write, a cell silent in the backup")
        << QStringList{"write", "%file", "--backup-dir", "%dir/b"} << QByteArray() << 56 << 2
        << "cell 30 could not be read (Reply Timed Out); without a backup nothing was written"
        << 58 + 9;
    QTest::newRow("restore, no backup")
        << QStringList{"restore", "%image", "--no-backup"} << QByteArray() << -1 << 0
        << "compared: no differences" << 2 + 54 + 2 + 54;
    QTest::newRow("restore, a cell missing")
        << restore << whole.left(whole.lastIndexOf("6f")) << -1 << 3
        << "%image: cell 6F is missing; nothing was sent" << 0;
    QTest::newRow("restore, not hex")
        << restore << "# start\n" + QByteArray(whole).replace("\n31 30 30", "\n31 3g 30") << -1 << 3
        << "line 3: \"3g\" is not a byte in hex" << 0;
    QTest::newRow("backup, cell 3F silent")
        << QStringList{"backup", "-o", "%dir/u.cells"} << QByteArray() << 15 << 2
        << "COM1: cell 3F could not be read (Reply Timed Out); no image was written" << 2 + 15 + 7;
    QTest::newRow("backup into a missing folder")
        << QStringList{"backup", "-o", "%dir/b/u.cells"} << QByteArray() << -1 << 3
        << "cannot write %dir/b/u.cells" << 66;
}

void BackupTest::nothingIsWrittenWithoutWhatWasAskedFor()
{
    QFETCH(QStringList, arguments);
    QFETCH(QByteArray, image);
    QFETCH(int, goodReads);
    QFETCH(int, status);
    QFETCH(QString, told);
    Unit unit;
    QVERIFY(unit.ok);
    if (goodReads >= 0) {
        unit.sim.queueFaults(QList<simsync::Fault>(goodReads, simsync::Fault::None));
        unit.sim.setStandingFault(simsync::Fault::Silence);
    }
    Files scratch;
    const QString dir = scratch.dir.filePath("kept");
    QVERIFY(QDir().mkpath(dir));
    const QString file = scratch.write("f.txt", settingsFile({"End Title 7"}));
    const QString cells =
        scratch.write("u.cells", image.isEmpty() ? imageText(unit.sim.cells()) : image);
    const auto place = [&](QString text) {
        return text.replace("%file", file).replace("%image", cells).replace("%dir", dir);
    };
    QStringList full;
    for (const QString& a : arguments)
        full << place(a);
    const Run r = runCli(full + unit.device());
    QCOMPARE(r.status, status);
    QVERIFY2(r.err.contains(place(told)), qPrintable(r.err));
    QTEST(unit.sim.framesReceived(), "frames");
    QCOMPARE(filesIn(dir) + filesIn(dir + "/b"), QStringList()); // no backup, no image
    if (status != 0)
        QVERIFY(writeFrames(unit).isEmpty());
    if (status == ExitCode::BadInput) // not even the backup folder
        QVERIFY(!QFileInfo::exists(dir + "/b"));
}

void BackupTest::restoreListsCellsThatReadBackDifferently()
{
    Unit unit;
    QVERIFY(unit.ok);
    unit.sim.freezeCell(0x39); // keeps end title "02"
    Cells wanted = unit.sim.cells();
    wanted[0x39 - 0x30] = {'0', '7'};
    Files scratch;
    const QString image = scratch.write("u.cells", imageText(wanted));
    const Run r = runCli(QStringList{"restore", image, "--no-backup"} + unit.device());
    QCOMPARE(r.status, 1);
    QCOMPARE(r.out, QString("cell 39: wrote 30 37, read back 30 32\n"));
    QVERIFY2(r.err.endsWith("1 cell of " + image + " read back differently.\n"), qPrintable(r.err));
}

CORVANE_TEST_CLASS(BackupTest)
#include "BackupTest.moc"
