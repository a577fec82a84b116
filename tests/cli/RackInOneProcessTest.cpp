// A rack in one process: the rack file find writes, driving every command; bad input
// beside good units stopping the run before a frame; sixteen paced units side by side,
// none slowed or disturbed by a silent unit or one whose line goes.

#include "CliStory.h"
#include "support/TestRunner.h"

namespace {

// The summary's row of COMn: "COM1  22     1        written         ok"; its first column
// is as wide as the longest unit's name and two blanks.
QString summaryRow(int n, const QString& channel, const QString& done, const QString& result = "ok",
                   int width = 6)
{
    return QStringLiteral("COM%1").arg(n).leftJustified(width) +
           QString(channel == "?" ? "?" : "22").leftJustified(7) + channel.leftJustified(9) +
           done.leftJustified(16) + result + '\n';
}
} // namespace

class RackInOneProcessTest : public QObject
{
    Q_OBJECT
private slots:
    // The units were found on COM1 to COM3 and have been set to channel 9 since: a command
    // that sets no numbers says so for each unit and leaves the channel, a write puts back
    // the rack's. The rack file is the one find writes.
    void foundRackDrivesEveryCommand_data()
    {
        QTest::addColumn<QStringList>("rows");
        const QStringList rack{"units 3", "unit1 3E=09", "unit2 3E=09", "unit3 3E=09",
                               "text rack.txt: # found by corvane-cli find\nCOM1 channel=1\n"
                               "COM2 channel=2\nCOM3 channel=1 model=22\n",
                               "file same.txt: ", "file f.txt: End Title 7",
                               "image u.cells: 3E=09 39=07"};
        const QStringList numbers{"channel=1", "channel=2", "model=22 channel=1"};
        // Each command, what each unit says, its Done, and how it leaves the unit.
        for (const auto& [command, told, done, written] :
             std::initializer_list<std::tuple<QString, QString, QString, bool>>{
                 {"read --rack %rack.txt -o %dir/out", "", "read", false},
                 {"verify --rack %rack.txt %same.txt", "COM%1: COM%1 holds what %same.txt makes of it.",
                  "compared", false},
                 {"backup --rack %rack.txt -o %dir/out", "COM%1: Backup of COM%1: %dir/out/COM%1.cells",
                  "read", false},
                 {"restore --rack %rack.txt %u.cells --no-backup",
                  "COM%1: Restored COM%1 from %u.cells and compared: no differences.", "written",
                  true},
                 {"restore --rack %rack.txt %u.cells --backup-dir %dir/out",
                  "COM%1: Restored COM%1 from %u.cells and compared: no differences.", "written",
                  true},
                 // The rack's numbers unlock the write, so model and channel are written too.
                 {"write --rack %rack.txt %f.txt --no-backup",
                  "COM%1: Saved to COM%1 and compared: no differences.", "written", true}}) {
            const QString verb = command.section(' ', 0, 0);
            const bool setsNumbers = verb == "write";
            QStringList rows = rack + QStringList{"cli " + command, "status=0"};
            QString summary = "Unit  Model  Channel  Done            Result\n";
            for (int n = 1; n <= 3; ++n) {
                const QString channel = setsNumbers ? (n == 2 ? "2" : "1") : "9";
                const QString at = QStringLiteral("@%1=").arg(n);
                summary += summaryRow(n, channel, done);
                if (verb == "restore") // a restore tells no numbers
                    rows << QStringLiteral("out~\nCOM%1  ?      ?        written         ok\n").arg(n);
                rows << QStringLiteral("err%1~COM%2: %3 on its line: %4 sets nothing")
                            .arg(setsNumbers ? "!" : "")
                            .arg(n)
                            .arg(numbers[n - 1], verb)
                     << "cell:3E" + at + "0" + channel << "cell:3F" + at + "22"
                     << "cell:39" + at + (written ? "07" : "02")
                     << "writes" + at + (setsNumbers ? "56" : written ? "54" : "0");
                if (!told.isEmpty())
                    rows << "err~" + told.arg(n);
                if (verb == "read")
                    rows << QStringLiteral("file:%dir/out/COM%1.txt~\r\nModel 22\r\nChannel 9\r\n").arg(n);
                if (verb == "backup") // the unit as it was: channel 9, end title 2
                    rows << QStringLiteral("file:%dir/out/COM%1.cells~\n3E 30 39 ").arg(n)
                         << QStringLiteral("file:%dir/out/COM%1.cells~\n39 30 32 ").arg(n);
            }
            if (verb != "restore")
                rows << "out=" + summary;
            if (verb == "read")
                rows << "entries:%dir/out=COM1.txt COM2.txt COM3.txt";
            else if (verb == "backup")
                rows << "entries:%dir/out=COM1.cells COM2.cells COM3.cells";
            else if (command.contains("--backup-dir"))
                rows << "entries:%dir/out~~^\\d{8}-\\d{6}-COM1-model-22-channel-9\\.cells "
                        "\\d{8}-\\d{6}-COM2-model-22-channel-9\\.cells "
                        "\\d{8}-\\d{6}-COM3-model-22-channel-9\\.cells$";
            else
                rows << "exists:%dir/out=no";
            QTest::newRow(qPrintable(command.section(" %", 0, 0) + command.section(' ', -1)))
                << rows;
        }
    }
    void foundRackDrivesEveryCommand() { stories(); }

    // Bad input beside good units: nothing is sent to any, not even a backup folder made.
    void badInputBesideGoodUnitsSendsNothing_data()
    {
        QTest::addColumn<QStringList>("rows");
        const QString notAnAddress = ": not rfc2217://HOST:PORT or tcp://HOST:PORT";
        for (const auto& [name, devices, told] :
             std::initializer_list<std::tuple<const char*, QString, QString>>{
                 {"server without a port", "%dev3 --device rfc2217://host",
                  "rfc2217://host" + notAnAddress},
                 {"bracket left open", "%dev3 --device rfc2217://[::1", "rfc2217://[::1" + notAnAddress},
                 {"port past 65535", "%dev3 --device tcp://127.0.0.1:99999",
                  "tcp://127.0.0.1:99999: the port must be from 1 to 65535"},
                 {"no host", "%dev3 --device tcp://:5", "tcp://:5" + notAnAddress},
                 {"one device twice", "%dev1 %dev3 %dev1",
                  "%path1 is %path1 again: one unit, named twice"},
                 {"a port and its device", "--rack %rack.txt",
                  "line 3: %path1 is COM1 again: one unit, named twice"}})
            Story::row(name, {"units 3", "map 3=", "file f.txt: End Title 7",
                         "text rack.txt: COM1\nCOM2\n%path1\n",
                         "cli write %f.txt --backup-dir %dir/b " + devices,
                         "status=3", "err~corvane-cli: ", "err~" + told, "err~; nothing was sent",
                         "out=", "frames@1=0", "frames@2=0", "frames@3=0", "exists:%dir/b=no"});
    }
    void badInputBesideGoodUnitsSendsNothing() { stories(); }

    // Sixteen units at the line's real pace in one process: COM2 never answers and COM3's
    // line goes part way, and each of the others gets exactly the frames a unit alone gets.
    void sixteenPacedUnitsSideBySide_data()
    {
        QTest::addColumn<QStringList>("rows");
        for (const bool read : {true, false}) {
            const QString command = read ? "read -o %dir/out" : "write %f.txt --no-backup";
            QStringList rows{"units 17", "map 17=", "file f.txt: End Title 7",
                             read ? "cli read -o %dir/alone.txt %dev17" : "cli " + command + " %dev17",
                             "status=0",
                             "paced", "timing paced", "unit2 silent",
                             read ? "unit3 line goes after 20" : "unit3 line goes after 78",
                             "cli " + command + " --port 1-16", "status=2",
                             read ? "frames@3=20" : "frames@3=78"};
            QString summary = "Unit   Model  Channel  Done            Result\n";
            for (int n = 1; n <= 16; ++n)
                summary += n == 2 ? summaryRow(2, "?", read ? "nothing read" : "untouched",
                                               "line failed", 7)
                           : n == 3 ? summaryRow(3, read ? "?" : "1",
                                                 read ? "nothing read" : "partly written",
                                                 "line failed", 7)
                                    : summaryRow(n, "1", read ? "read" : "written", "ok", 7);
            rows << "out=" + summary;
            for (int n = 4; n <= 16; ++n)
                rows << QStringLiteral("received@%1==received@17").arg(n)
                     << (read ? QStringLiteral("file:%dir/out/COM%1.txt~\r\nModel 22\r\nChannel 1\r\n").arg(n)
                              : QStringLiteral("cell:39@%1=07").arg(n));
            rows << "received@1==received@17";
            if (read)
                rows << "entries:%dir/out~~^(COM\\d+\\.txt ){13}COM\\d+\\.txt$";
            QTest::newRow(read ? "read" : "write") << rows;
        }
    }
    void sixteenPacedUnitsSideBySide() { stories(); }

private:
    void stories()
    {
        QFETCH(QStringList, rows);
        CliStory s;
        QVERIFY2(s.tell(rows), qPrintable(s.failure));
    }
};

CORVANE_TEST_CLASS(RackInOneProcessTest)
#include "RackInOneProcessTest.moc"
