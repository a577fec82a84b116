// Several units in one command: side by side in this one process, each on a line of its
// own, and a summary closes the run; a bad rack stops it before any unit hears a frame.

#include "CliStory.h"
#include "cli/RackFile.h"
#include "support/TestRunner.h"

#include <QTimer>
#include <csignal>
#include <unistd.h>

#define PIN "00112233445566778899AABBCCDDEEFF00112233445566778899AABBCCDDEEFF"

class RackTest : public QObject
{
    Q_OBJECT
private slots:
    void stories_data()
    {
        QTest::addColumn<QStringList>("rows");
        // Eight units: COM2 silent, COM3's line goes during its save (after the load, the
        // backup's eight reads and 20 of the save's frames), COM4 keeps its End Title. The
        // other five are written and compared; the summary says what happened to each, and every
        // unit that loaded was backed up before its first write. The pause after each write keeps
        // the host in step with the units, so COM3's line goes while its writes are being sent.
        QStringList eight{"units 8",
                          "unit2 silent",
                          "unit3 line goes after 86",
                          "unit4 keeps 39",
                          "timing in-step",
                          "file f.txt: End Title 7",
                          "cli write --port 1-8 %f.txt --wire-log %dir/logs --backup-dir %dir/b",
                          "status=2",
                          "out=COM4: End Title: wrote 7, read back 2\n"
                          "Unit  Model  Channel  Done            Result\n"
                          "COM1  22     1        written         ok\n"
                          "COM2  ?      ?        untouched       line failed\n"
                          "COM3  22     1        partly written  line failed\n"
                          "COM4  22     1        written         differences\n"
                          "COM5  22     1        written         ok\n"
                          "COM6  22     1        written         ok\n"
                          "COM7  22     1        written         ok\n"
                          "COM8  22     1        written         ok\n",
                          "err~COM2: Cannot Load!",
                          "err~COM4: Compare Failed!",
                          "entries:%dir/b~~^(\\S+-COM[13-8]-model-22-channel-1\\.cells ){6}\\S+$"};
        // Each log holds its own unit's line and frames only, after a header that names it.
        for (int n = 1; n <= 8; ++n) {
            const QString log = QStringLiteral("file:%dir/logs/COM%1.log").arg(n);
            eight << log + QStringLiteral("~~^[^\n]*\n[^\n]*\nPort: COM%1 opened: %path%1,").arg(n)
                  << log + (n == 2   ? "#  > W =0"
                            : n == 3 ? "#  > W =1-53"
                                     : "#  > W =54");
            for (int other = 1; other <= 8; ++other)
                if (other != n)
                    eight << log + QStringLiteral("!~%path%1,").arg(other);
            if (n != 2 && n != 3 && n != 4)
                eight << QStringLiteral("cell:39@%1=07").arg(n);
        }
        Story::row("eight units, three with faults", eight);

        // A bad rack stops the run before any unit hears a frame.
        for (const auto& [name, rack, told] :
             std::initializer_list<std::tuple<const char*, const char*, const char*>>{
                 {"channel 100", "COM1\nCOM2 channel=100\n",
                  "line 2: channel must be from 1 to 99, not \"100\""},
                 {"unknown word", "# units\n1 speed=9600\n2\n",
                  "line 2: \"speed=9600\" is not channel=N, model=N, file=FILE or expect=M/C"},
                 {"a unit twice", "1\n2\nCOM1 channel=3\n", "line 3: the unit of line 1 again"},
                 {"no such port", "1\nCOM17\n", "line 2: the port must be from 1 to 16"},
                 {"no port at all", "1\nlobby\n",
                  "line 2: \"lobby\" is not a port, a device path or an address"},
                 {"port without a device", "1\n3\n",
                  "line 2: COM3: this machine has no serial device for it"},
                 {"missing file", "1 file=%f.txt\n2 file=gone.txt\n", "line 2: cannot read"},
                 {"comments only", "# nothing\n\n", "no unit in it"},
                 {"trust on a line in the clear", "1 pin=" PIN "\n2\n",
                  "line 1: %path1: ca=, pin=, cert= and key= are for TLS addresses"},
                 {"a pin too short", "1\nrfc2217+tls://127.0.0.1:9 pin=00:11\n",
                  "line 2: pin must be a SHA-256 fingerprint"},
                 {"a certificate without its key", "1\ntcp+tls://127.0.0.1:9 cert=me.crt\n",
                  "line 2: a client certificate needs both cert= and key="}})
            Story::row(name,
                       {"units 2", "file f.txt: ", QString("text rack.txt: ") + rack,
                        "cli write --rack %rack.txt %f.txt", "status=3", QString("err~") + told,
                        "err~nothing was sent", "frames@1=0", "frames@2=0"});

        // A unit that cannot start (another program holds its line) is told with its
        // reason; the others go on.
        Story::row("a unit that cannot start",
                   {"units 2", "unit2 held", "file f.txt: End Title 7",
                    "cli write --port 1-2 %f.txt --no-backup", "status=2",
                    "out=Unit  Model  Channel  Done            Result\n"
                    "COM1  22     1        written         ok\n"
                    "COM2  ?      ?        untouched       line failed\n",
                    "err~COM2: ", "err~%path2: in use by another program", "frames@2=0",
                    "cell:39@1=07"});
        // A rack file's own channels and files, and the results as one JSON document.
        Story::row("a rack file's channels and files, told as JSON",
                   {"units 2", "file lobby.txt: Comment Lobby", "file plain.txt: ",
                    "text rack.txt: COM1 channel=5 file=lobby.txt\nCOM2 channel=6\n",
                    "cli write --rack %rack.txt %plain.txt --json --backup-dir %dir/b", "status=0",
                    "cell:3E@1=05", "cell:48@1=Lo", "cell:3E@2=06", "cell:48@2=\\x07\\x07",
                    "json:status=0", "json:units=2 entries", "json:units[1].unit=COM2",
                    "json:units[1].address=%path2", "json:units[1].model=22",
                    "json:units[1].done=written", "json:units[1].backup^%dir/b/"});
    }

    // What a rack line says of trust comes back from the line written for it: the window
    // saves a rack this way. Files are relative to the rack's folder.
    void rackLineKeepsTrust()
    {
        QList<RackMistake> mistakes;
        const QList<RackUnit> units =
            RackFile::parse("rfc2217+tls://rack-b:7001 channel=4 pin=" PIN
                            " ca=ca.pem cert=\"my cert.pem\" key=my.key\n",
                            "/racks", &mistakes);
        QVERIFY(mistakes.isEmpty());
        QCOMPARE(units.size(), 1);
        QCOMPARE(units[0].trust.caFile, QString("/racks/ca.pem"));
        QCOMPARE(units[0].trust.certFile, QString("/racks/my cert.pem"));
        QCOMPARE(units[0].trust.keyFile, QString("/racks/my.key"));
        QCOMPARE(units[0].trust.pin.toHex(), QByteArray(PIN).toLower());
        const QString line = RackFile::line(units[0]);
        const QList<RackUnit> again = RackFile::parse(line, "/elsewhere", &mistakes);
        QVERIFY2(mistakes.isEmpty(), qPrintable(line));
        QCOMPARE(again.size(), 1);
        QVERIFY2(again[0].trust == units[0].trust, qPrintable(line));
        QCOMPARE(again[0].channel, std::optional<int>(4));
    }

    void stories()
    {
        QFETCH(QStringList, rows);
        CliStory s;
        QVERIFY2(s.tell(rows), qPrintable(s.failure));
    }

    // Ctrl+C in the middle of a rack write, once both units have had five writes: each
    // unit stops between two frames, the summary says what each got, and each names the
    // restore that undoes it; run as told, it gives the unit back exactly. The pause after
    // each write keeps the units in step with the host, so the stop comes while both are
    // still writing.
    void stopBetweenFrames()
    {
        CliStory s;
        QTimer seen; // looks at the frames each unit has received
        QObject::connect(&seen, &QTimer::timeout, [&] {
            if (Story::writesIn(s.unit(1).frames(simsync::Direction::ToUnit)).size() >= 5 &&
                Story::writesIn(s.unit(2).frames(simsync::Direction::ToUnit)).size() >= 5) {
                seen.stop();
                ::kill(::getpid(), SIGINT);
            }
        });
        seen.start(10);
        QVERIFY2(s.tell({"units 2", "unit1 3E=04 30=03", "keep cells@1", "timing in-step",
                         "file f.txt: End Title 7",
                         "cli write --port 1-2 %f.txt --backup-dir %dir/b", "status=130",
                         "out~\nCOM1  22     4        partly written  stopped\n"
                         "COM2  22     1        partly written  stopped\n",
                         "err~COM2: Stopped by Ctrl+C between two frames: partly written.",
                         "err~~COM1: its backup is (%dir/b/\\S+); to undo: corvane-cli restore "
                         "--port 1 --unlock --force \\1\n",
                         "err!~Cannot Save!",
                         "err~Stopped by Ctrl+C: the summary says what each unit got.",
                         "received@1#W=5-53", "received@2#W=5-53", "cell:30@1!~03",
                         "timing unpaced", "undo COM1", "status=0", "cells@1==kept:cells@1"}),
                 qPrintable(s.failure));
        QVERIFY(!seen.isActive());
    }
};

CORVANE_TEST_CLASS(RackTest)
#include "RackTest.moc"
