// Several units in one command: side by side in this one process, each on a line of its
// own, and a summary closes the run; a bad rack stops it before any unit hears a frame.

#include "CliRig.h"
#include "support/TestRunner.h"

#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTimer>
#include <csignal>
#include <unistd.h>

using namespace CliTest;

class RackTest : public QObject
{
    Q_OBJECT
private slots:
    // Eight units: COM2 silent, COM3's line goes during its save, COM4 keeps its End Title.
    // The other five are written and compared; the summary says what happened to each.
    void rackWriteWithFaults()
    {
        Rack rack(8);
        QVERIFY(rack.ok());
        rack.sim(2).setStandingFault(simsync::Fault::Silence);
        rack.sim(3).closeAfterFrames(58 + 66 + 20); // load, backup, then 20 of the save's frames
        rack.sim(4).freezeCell(0x39);
        Files files;
        const QString file = files.write("rack.txt", settingsFile({"End Title 7"}));
        const QString logs = files.dir.filePath("logs"), backups = files.dir.filePath("backups");
        const Run r =
            runCli({"write", "--port", "1-8", file, "--wire-log", logs, "--backup-dir", backups},
                   rack.map);
        QCOMPARE(r.status, 2);
        const QStringList summary = r.out.split('\n', Qt::SkipEmptyParts);
        QVERIFY2(summary.size() == 9, qPrintable(r.out + "\n--- standard error:\n" + r.err));
        QCOMPARE(summary,
                 (QStringList{"Unit  Model  Channel  Done            Result",
                              "COM1  22     1        written         ok",
                              "COM2  ?      ?        untouched       line failed",
                              "COM3  22     1        partly written  line failed",
                              "COM4  22     1        written         differences",
                              "COM5  22     1        written         ok",
                              "COM6  22     1        written         ok",
                              "COM7  22     1        written         ok",
                              "COM8  22     1        written         ok"}));
        QVERIFY2(r.err.contains("COM2: Cannot Load!"), qPrintable(r.err));
        QVERIFY2(r.err.contains("COM4: Compare Failed!"), qPrintable(r.err));
        // Every unit that loaded was backed up before its first write: all but COM2.
        QCOMPARE(QDir(backups).entryList(QDir::Files).size(), 7);
        for (int port : {1, 5, 6, 7, 8})
            QCOMPARE(rack.sim(port).cell(0x39), (std::array<uint8_t, 2>{'0', '7'}));
        // Each log holds its own unit's line and frames only, after a header that names it.
        for (int port = 1; port <= 8; ++port) {
            const QString log = QString::fromUtf8(
                Files::read(QDir(logs).filePath(QStringLiteral("COM%1.log").arg(port))));
            const QStringList lines = log.split('\n');
            QVERIFY2(
                lines.value(2).startsWith(
                    QStringLiteral("Port: COM%1 opened: %2,").arg(port).arg(rack.sim(port).path())),
                qPrintable(lines.mid(0, 4).join('\n')));
            for (int other = 1; other <= 8; ++other)
                QCOMPARE(log.contains(rack.sim(other).path() + ","), other == port);
            const int writes = log.count("  > W ");
            QVERIFY2(port == 2   ? writes == 0
                     : port == 3 ? writes > 0 && writes < 54
                                 : writes == 54,
                     qPrintable(QString::number(writes)));
        }
    }

    void badRackSendsNothing_data()
    {
        QTest::addColumn<QString>("rack"); // "%f" stands for a settings file that exists
        QTest::addColumn<QString>("told");
        QTest::newRow("channel 100") << "COM1\nCOM2 channel=100\n"
                                     << "line 2: channel must be from 1 to 99, not \"100\"";
        QTest::newRow("unknown word") << "# units\n1 speed=9600\n2\n"
                                      << "line 2: \"speed=9600\" is not channel=N, model=N or "
                                         "file=FILE";
        QTest::newRow("a unit twice") << "1\n2\nCOM1 channel=3\n"
                                      << "line 3: the unit of line 1 again";
        QTest::newRow("no such port") << "1\nCOM17\n"
                                      << "line 2: the port must be from 1 to 16";
        QTest::newRow("port without a device") << "1\n3\n"
                                               << "line 2: COM3: this machine has no serial "
                                                  "device for it";
        QTest::newRow("missing file") << "1 file=%f\n2 file=gone.txt\n"
                                      << "line 2: cannot read";
        QTest::newRow("comments only") << "# nothing\n\n"
                                       << "no unit in it";
    }

    void badRackSendsNothing()
    {
        QFETCH(QString, rack);
        QFETCH(QString, told);
        Rack units(2);
        QVERIFY(units.ok());
        Files files;
        const QString file = files.write("f.txt", settingsFile({}));
        const QString rackFile = files.write("rack.txt", rack.replace("%f", file).toUtf8());
        const Run r = runCli({"write", "--rack", rackFile, file}, units.map);
        QCOMPARE(r.status, 3);
        QVERIFY2(r.err.contains(told) && r.err.contains("nothing was sent"), qPrintable(r.err));
        QCOMPARE(units.sim(1).framesReceived() + units.sim(2).framesReceived(), 0);
    }

    // Ctrl+C in the middle of a rack write: each unit stops between two frames, and the
    // summary says what each got. The pause after each write keeps the units in step with
    // the host, so the stop comes while both are still writing.
    void stopBetweenFrames()
    {
        Rack rack(2);
        QVERIFY(rack.ok());
        Files files;
        const QString file = files.write("f.txt", settingsFile({"End Title 7"}));
        const auto writes = [&](int port) {
            return rack.sim(port)
                .frames(simsync::Direction::ToUnit)
                .filter(QRegularExpression("^W"))
                .size();
        };
        bool sent = false;
        QTimer poll;
        QObject::connect(&poll, &QTimer::timeout, [&] {
            if (!sent && writes(1) >= 5 && writes(2) >= 5) {
                sent = true;
                ::kill(::getpid(), SIGINT);
            }
        });
        poll.start(20);
        LineTiming inStep = LineTiming::unpaced();
        inStep.afterWriteMs = LineTiming{}.afterWriteMs;
        const Run r = runCli({"write", "--port", "1-2", file, "--no-backup"}, rack.map, inStep);
        QVERIFY(sent);
        QCOMPARE(r.status, 2);
        QCOMPARE(r.out.split('\n', Qt::SkipEmptyParts).mid(1),
                 (QStringList{"COM1  22     1        partly written  line failed",
                              "COM2  22     1        partly written  line failed"}));
        QVERIFY2(r.err.contains("COM2: Stopped by Ctrl+C between two frames: partly written.") &&
                     r.err.contains("Stopped by Ctrl+C: the summary says what each unit got."),
                 qPrintable(r.err));
        for (int port : {1, 2})
            QVERIFY(writes(port) < 54);
    }

    // A rack file's own channels and files, and the results as one JSON document.
    void rackFileAndJson()
    {
        Rack rack(2);
        QVERIFY(rack.ok());
        Files files;
        files.write("lobby.txt", settingsFile({"Comment Lobby"}));
        const QString plain = files.write("plain.txt", settingsFile({}));
        const QString rackFile =
            files.write("rack.txt", "COM1 channel=5 file=lobby.txt\nCOM2 channel=6\n");
        const QString backups = files.dir.filePath("backups");
        const Run r = runCli(
            {"write", "--rack", rackFile, plain, "--json", "--backup-dir", backups}, rack.map);
        QCOMPARE(r.status, 0);
        QCOMPARE(rack.sim(1).cell(0x3E), (std::array<uint8_t, 2>{'0', '5'}));
        QCOMPARE(rack.sim(1).cell(0x48), (std::array<uint8_t, 2>{'L', 'o'}));
        QCOMPARE(rack.sim(2).cell(0x3E), (std::array<uint8_t, 2>{'0', '6'}));
        QCOMPARE(rack.sim(2).cell(0x48), (std::array<uint8_t, 2>{'x', 0x07}));
        const QJsonObject doc = QJsonDocument::fromJson(r.out.toUtf8()).object();
        QCOMPARE(doc.value("status").toInt(-1), 0);
        const QJsonArray units = doc.value("units").toArray();
        QCOMPARE(units.size(), 2);
        QCOMPARE(units[1].toObject().value("unit").toString(), QString("COM2"));
        QCOMPARE(units[1].toObject().value("address").toString(), rack.sim(2).path());
        QCOMPARE(units[1].toObject().value("model").toInt(), 22);
        QCOMPARE(units[1].toObject().value("done").toString(), QString("written"));
        QVERIFY(units[1].toObject().value("backup").toString().startsWith(backups + "/"));
    }
};

CORVANE_TEST_CLASS(RackTest)
#include "RackTest.moc"
