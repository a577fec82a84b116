// The tool as a process of its own, at the line's real times: a backup that the system
// will not take whole (a file size limit, as on a full disk) stops the write before its
// first frame and leaves no file; Ctrl+C or SIGTERM in the middle of a rack write ends the
// run at once, and what it says each unit got is what each unit received.

#include "CliStory.h"
#include "support/TestRunner.h"

#include <QJsonArray>

class OwnProcessTest : public QObject
{
    Q_OBJECT
private slots:
    // On a terminal a rack shows one line per unit, redrawn in place (the cursor taken up
    // over the two lines, then down again), and wiped before the summary; the same run into
    // a pipe writes no terminal control at all.
    void rackProgressOnATerminal()
    {
        CliStory s;
        QVERIFY(s.tell({"units 2", "mkdir %dir/out"}));
        const QString cli = QStringLiteral(CORVANE_CLI " read --port 1-2 -o ") +
                            s.scratch.dir.filePath("out");
        QProcess terminal; // `script` gives the tool a terminal of its own
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("CORVANE_PORT_MAP", s.portMap());
        terminal.setProcessEnvironment(env);
        terminal.start("script", {"-qec", cli + " 2>&1", "/dev/null"});
        QVERIFY(terminal.waitForFinished(60000));
        const QString screen = QString::fromUtf8(terminal.readAllStandardOutput());
        QVERIFY2(screen.startsWith("COM1  waiting\r\nCOM2  waiting\r\n"), qPrintable(screen));
        QVERIFY2(screen.contains("\x1b[2A\r\x1b[JCOM1  Loading............. 0%\r\n"
                                 "COM2  Loading............. 0%\r\n"),
                 qPrintable(screen));
        QVERIFY2(screen.contains("\x1b[2A\r\x1b[JUnit  Model  Channel  Done            Result\r\n"),
                 qPrintable(screen));
        QVERIFY2(screen.contains("COM2  22     1        read            ok"), qPrintable(screen));

        const CliTest::Run piped = CliTest::runProcess(
            cli.section(' ', 1).split(' '), 60000, {{"CORVANE_PORT_MAP", s.portMap()}});
        QCOMPARE(piped.status, 0);
        QVERIFY2(!piped.err.contains('\x1b') && !piped.err.contains('\r'), qPrintable(piped.err));
    }

    // The line's lock file fits in 512 bytes, a cell image of some 1400 bytes does not:
    // each backup is cut part way. No image, no empty file under the name, no temporary
    // file beside it; the frames are what came before the backup's file.
    void backupThatCannotBeWrittenLeavesNoFile_data()
    {
        QTest::addColumn<QStringList>("rows");
        const QStringList setup{"file f.txt: End Title 7", "image u.cells: ", "mkdir %dir/b",
                                "cap files at 512 bytes"};
        const QStringList told{"status=3", "err~cannot write %dir/b/",
                               "err~; without a backup nothing was written", "entries:%dir/b=",
                               "writes@1=0"};
        // A write's backup: its load's frames and the eight reads after them.
        QTest::newRow("write") << setup + QStringList{"process write %f.txt --backup-dir %dir/b %dev"} +
                                      told + QStringList{"frames=66"};
        QTest::newRow("restore")
            << setup + QStringList{"process restore %u.cells --backup-dir %dir/b %dev"} + told +
                   QStringList{"frames=66"};
        QTest::newRow("rack write")
            << setup + QStringList{"units 2", "process write %f.txt --backup-dir %dir/b --port 1-2"} +
                   told + QStringList{"frames=66", "frames@2=66", "writes@2=0"};
    }
    void backupThatCannotBeWrittenLeavesNoFile()
    {
        QFETCH(QStringList, rows);
        CliStory s;
        QVERIFY2(s.tell(rows), qPrintable(s.failure));
    }

    void stopMidWriteTellsWhatEachUnitGot_data()
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
    void stopMidWriteTellsWhatEachUnitGot()
    {
        QFETCH(int, signal);
        QFETCH(bool, json);
        CliStory s;
        QVERIFY(s.tell({"units 4", "unit1 holds back 3 reads", "unit2 holds back 20 reads",
                        "unit3 holds back 8 reads after 56", "unit4 holds back 6 reads",
                        "file f.txt: End Title 7"}));
        const auto writes = [&s](int n) {
            return int(Story::writesIn(s.unit(n).frames(simsync::Direction::ToUnit)).size());
        };
        QProcess tool;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("CORVANE_PORT_MAP", s.portMap());
        tool.setProcessEnvironment(env);
        tool.start(QStringLiteral(CORVANE_CLI),
                   QStringList{"write", "--port", "1-4", s.scratch.dir.filePath("f.txt"),
                               "--no-backup"} +
                       (json ? QStringList{"--json"} : QStringList()));
        QVERIFY(tool.waitForStarted());
        QVERIFY(until(
            [&] { return writes(3) == 54 || tool.state() == QProcess::NotRunning; }, 60000));
        QCOMPARE(tool.state(), QProcess::Running);
        QCOMPARE(::kill(pid_t(tool.processId()), signal), 0);
        // The stop ends the run within a few seconds, however far each unit had got.
        const bool ended = tool.waitForFinished(5000);
        if (!ended)
            tool.kill();
        QVERIFY(ended);
        QCOMPARE(tool.exitStatus(), QProcess::NormalExit);
        QCOMPARE(tool.exitCode(), 130);
        const QString out = QString::fromLocal8Bit(tool.readAllStandardOutput());
        const QString err = QString::fromLocal8Bit(tool.readAllStandardError());
        QVERIFY2(err.contains(signal == SIGTERM
                                  ? "Stopped by SIGTERM: the summary says what each unit got"
                                  : "Stopped by Ctrl+C: the summary says what each unit got"),
                 qPrintable(err));
        // What the failing lines would have said is not told: the stop is what happened.
        QVERIFY2(!err.contains("Cannot Save!") && !err.contains("Cannot Load!"), qPrintable(err));
        // The stop came where the rig put each unit: one of each kind.
        QCOMPARE(writes(2), 0);
        QCOMPARE(writes(3), 54);
        QVERIFY2((writes(1) > 0 && writes(1) < 54) || (writes(4) > 0 && writes(4) < 54),
                 qPrintable(QStringLiteral("COM1 %1, COM4 %2").arg(writes(1)).arg(writes(4))));
        const QJsonArray units = QJsonDocument::fromJson(out.toUtf8()).object().value("units").toArray();
        for (int n = 1; n <= 4; ++n) {
            const QString truth = writes(n) == 0    ? "untouched"
                                  : writes(n) == 54 ? "written"
                                                    : "partly written";
            const QString told = json ? units.at(n - 1).toObject().value("done").toString()
                                      : out.section('\n', n, n).mid(22, 16).trimmed();
            const QString result = json ? units.at(n - 1).toObject().value("result").toString()
                                        : out.section('\n', n, n).mid(38).trimmed();
            QCOMPARE(result, QStringLiteral("stopped"));
            QCOMPARE(QStringLiteral("COM%1 %2").arg(n).arg(told),
                     QStringLiteral("COM%1 %2").arg(n).arg(truth));
        }
    }
};

CORVANE_TEST_CLASS(OwnProcessTest)
#include "OwnProcessTest.moc"
