// The tool as a process of its own, at the line's real times: a backup that the system
// will not take whole (a file size limit, as on a full disk) stops the write before its
// first frame and leaves no file; Ctrl+C or SIGTERM in the middle of a rack write ends the
// run at once, and what it says each unit got is what each unit received.

#include "CliRig.h"
#include "support/TestRunner.h"

#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <csignal>
#include <sys/resource.h>

using namespace CliTest;
using simsync::Fault;

namespace {

// Each of the unit's first `reads` read requests goes unanswered once, so its retry
// (about half a second) holds the unit back.
void holdBack(SimSync& sim, int reads, int goodFirst = 0)
{
    QList<Fault> faults(goodFirst, Fault::None);
    for (int i = 0; i < reads; ++i)
        faults << Fault::Silence << Fault::None;
    sim.queueFaults(faults);
}

} // namespace

class OwnProcessTest : public QObject
{
    Q_OBJECT
private slots:
    void backupThatCannotBeWrittenLeavesNoFile_data();
    void backupThatCannotBeWrittenLeavesNoFile();
    void stopMidWriteTellsWhatEachUnitGot_data();
    void stopMidWriteTellsWhatEachUnitGot();
};

void OwnProcessTest::backupThatCannotBeWrittenLeavesNoFile_data()
{
    QTest::addColumn<QStringList>("arguments"); // %file, %image and %dir are in the scratch
    QTest::addColumn<int>("units");
    QTest::addColumn<int>("frames"); // each unit's: what came before the backup's file
    QTest::newRow("write") << QStringList{"write", "%file",    "--backup-dir",
                                          "%dir",  "--device", "%1"}
                           << 1 << 58 + 66;
    QTest::newRow("restore") << QStringList{"restore", "%image",   "--backup-dir",
                                            "%dir",    "--device", "%1"}
                             << 1 << 66;
    QTest::newRow("rack write") << QStringList{"write", "%file",  "--backup-dir",
                                               "%dir",  "--port", "1-2"}
                                << 2 << 58 + 66;
}

// The tool may write files of 512 bytes at most (its line's lock file fits, a cell image
// of some 1400 bytes does not): each backup is cut part way, as on a disk that fills.
void OwnProcessTest::backupThatCannotBeWrittenLeavesNoFile()
{
    QFETCH(QStringList, arguments);
    QFETCH(int, units);
    Rack rack(units);
    QVERIFY(rack.ok());
    Files scratch;
    const QString dir = scratch.dir.filePath("backups");
    QVERIFY(QDir().mkpath(dir));
    const QString file = scratch.write("f.txt", settingsFile({"End Title 7"}));
    const QString image = scratch.write("u.cells", simsync::formatCellImage(rack.sim(1).cells()));
    QStringList full;
    for (const QString& a : arguments)
        full << QString(a)
                    .replace("%file", file)
                    .replace("%image", image)
                    .replace("%dir", dir)
                    .replace("%1", rack.sim(1).path());
    // The limit holds for the tool alone; past it a write fails (SIGXFSZ is ignored).
    const Run r = runProcess(full, 120000, {{"CORVANE_PORT_MAP", rack.map}}, [] {
        ::signal(SIGXFSZ, SIG_IGN);
        const struct rlimit cap = {512, 512};
        ::setrlimit(RLIMIT_FSIZE, &cap);
    });
    QVERIFY(r.finished);
    QVERIFY2(r.status == 3, qPrintable(QStringLiteral("status %1: %2").arg(r.status).arg(r.err)));
    QVERIFY2(r.err.contains("cannot write " + dir + "/") &&
                 r.err.contains("; without a backup nothing was written"),
             qPrintable(r.err));
    for (int port = 1; port <= units; ++port) {
        QCOMPARE(writesReceived(rack.sim(port)), 0);
        QTEST(rack.sim(port).framesReceived(), "frames");
    }
    // No image, no empty file under the name, no temporary file beside it.
    QCOMPARE(
        QDir(dir).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot),
        QStringList());
}

void OwnProcessTest::stopMidWriteTellsWhatEachUnitGot_data()
{
    QTest::addColumn<int>("signal");
    QTest::addColumn<bool>("json");
    QTest::newRow("Ctrl+C, summary") << int(SIGINT) << false;
    QTest::newRow("SIGTERM, JSON") << int(SIGTERM) << true;
}

// Four units at different points when the stop comes: COM3 has had all its writes and
// is being compared (its reads held back), COM1 and COM4 are writing, COM2 is still
// loading. Each unit's "done" must say what its unit received: untouched for no write
// frame, written for all, partly written for some.
void OwnProcessTest::stopMidWriteTellsWhatEachUnitGot()
{
    QFETCH(int, signal);
    QFETCH(bool, json);
    Rack rack(4);
    QVERIFY(rack.ok());
    holdBack(rack.sim(1), 3);
    holdBack(rack.sim(2), 20);
    holdBack(rack.sim(3), 8, 56); // the compare's reads, after the load's 56
    holdBack(rack.sim(4), 6);
    Files scratch;
    const QString file = scratch.write("f.txt", settingsFile({"End Title 7"}));
    QStringList arguments{"write", "--port", "1-4", file, "--no-backup"};
    if (json)
        arguments << "--json";
    QProcess tool;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("CORVANE_PORT_MAP", rack.map);
    tool.setProcessEnvironment(env);
    tool.start(QStringLiteral(CORVANE_CLI), arguments);
    QVERIFY(tool.waitForStarted());
    QVERIFY(QTest::qWaitFor(
        [&] { return writesReceived(rack.sim(3)) == 54 || tool.state() == QProcess::NotRunning; },
        60000));
    QCOMPARE(tool.state(), QProcess::Running);
    QCOMPARE(::kill(pid_t(tool.processId()), signal), 0);
    // The stop ends the run within a few seconds, however far each unit had got.
    const bool ended = tool.waitForFinished(5000);
    if (!ended)
        tool.kill();
    QVERIFY(ended);
    QCOMPARE(tool.exitStatus(), QProcess::NormalExit);
    QCOMPARE(tool.exitCode(), 2);
    const QString out = QString::fromLocal8Bit(tool.readAllStandardOutput());
    const QString err = QString::fromLocal8Bit(tool.readAllStandardError());
    QVERIFY2(err.contains("the summary says what each unit got"), qPrintable(err));

    QMap<QString, QString> done; // as the tool tells it, by unit
    if (json) {
        const QJsonObject doc = QJsonDocument::fromJson(out.toUtf8()).object();
        QCOMPARE(doc.value("status").toInt(-1), 2);
        for (const QJsonValue& unit : doc.value("units").toArray())
            done.insert(unit.toObject().value("unit").toString(),
                        unit.toObject().value("done").toString());
    } else {
        const QMap<QString, QStringList> rows = summaryRows(out);
        for (auto it = rows.begin(); it != rows.end(); ++it)
            done.insert(it.key(), it.value().value(2));
    }
    QCOMPARE(done.keys(), (QStringList{"COM1", "COM2", "COM3", "COM4"}));
    QStringList wrong;
    for (int port = 1; port <= 4; ++port) {
        const int got = writesReceived(rack.sim(port));
        const QString truth = got == 0 ? "untouched" : got == 54 ? "written" : "partly written";
        const QString unit = QStringLiteral("COM%1").arg(port);
        if (done.value(unit) != truth)
            wrong << QStringLiteral("%1 got %2 of 54 write frames, told \"%3\"")
                         .arg(unit)
                         .arg(got)
                         .arg(done.value(unit));
    }
    QVERIFY2(wrong.isEmpty(), qPrintable(wrong.join("; ") + "\n" + out));
    // The stop came where the rig put each unit: one of each kind.
    QCOMPARE(writesReceived(rack.sim(2)), 0);
    QCOMPARE(writesReceived(rack.sim(3)), 54);
    const int first = writesReceived(rack.sim(1)), fourth = writesReceived(rack.sim(4));
    QVERIFY2((first > 0 && first < 54) || (fourth > 0 && fourth < 54),
             qPrintable(QStringLiteral("COM1 %1, COM4 %2").arg(first).arg(fourth)));
}

CORVANE_TEST_CLASS(OwnProcessTest)
#include "OwnProcessTest.moc"
