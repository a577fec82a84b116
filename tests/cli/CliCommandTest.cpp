// corvane-cli as a script runs it, judged by its exit status, its two output streams and
// the frames the unit got. The commands run in this process without pacing; one write runs
// as a process of its own at the line's real times.

#include "CliStory.h"
#include "support/TestRunner.h"

#include <QTimer>

namespace {
const QString Unreadable = "no settings line was understood; nothing was sent";
const QString WireLine = "\\d\\d:\\d\\d:\\d\\d\\.\\d{3} +\\d+\\.\\d{3}  [><=!-] ";

} // namespace

class CliCommandTest : public QObject
{
    Q_OBJECT
private slots:
    void stories_data()
    {
        QTest::addColumn<QStringList>("rows");
        Story::row("without --unlock the file's Model line is dropped",
              {"file m.txt: Model 50|End Title 7", "cli write %m.txt --no-backup %dev",
               "status=0", "cell:3F=22", "cell:39=07", "received!~W63", "writes=54"});
        Story::row("write tells the differences of its compare",
              {"unit keeps 39", "file f.txt: End Title 7", "cli write %f.txt --no-backup %dev",
               "status=1", "out=End Title: wrote 7, read back 2\n", "err~Compare Failed!",
               "err!~no differences"});
        Story::row("read tells marks in plain words",
              {"unit 39=?1 38=00", "cli read %dev", "status=1",
               "err~End Title: unreadable, set to 2", "err~Start Title: out of range, set to 1",
               "err!~ERROR!", "out~\r\nStart Title 1\r\nEnd Title 2\r\n"});
        // Locked: the file's Model line is not applied, so the model is no difference.
        Story::row("verify lists the fields that differ",
              {"file f.txt: End Title 7|Squelch Off|Comment Rack 3|Model 40",
               "cli verify %f.txt %dev", "status=1",
               "out=End Title: the file makes 7, the unit holds 2\n"
               "Squelch: the file makes Off, the unit holds On\n"
               "Comment: the file makes \"Rack 3\", the unit holds \"\"\n",
               "writes=0", "cli verify %f.txt --unlock %dev", "status=1",
               "out^Model: the file makes 40, the unit holds 22\nEnd Title: the file makes 7, ",
               "out~~^([^\n]*\n){4}$"});
        // A wire log that stands alone: what wrote it, when, on which line, then each entry
        // at its clock time.
        Story::row("the wire log of a read",
              {"cli read --wire-log %dir/wire.log %dev", "status=0",
               "file:%dir/wire.log^Corvane %version wire log\nLog starts: ",
               "file:%dir/wire.log~~^[^\n]+\nLog starts: \\d{4}-\\d\\d-\\d\\d \\d\\d:\\d\\d:\\d\\d\n"
               "Port: COM1 opened: %path1, 1200,",
               "file:%dir/wire.log~~^([^\n]*\n){3}\n(" + WireLine + "[^\n]*\n){61,}$",
               "file:%dir/wire.log~  > R 3F", "file:%dir/wire.log~  > ATTN",
               "file:%dir/wire.log~= load ended: 0 problems marked",
               "cli read --wire-log /no/such/dir/w.log %dev", "status=3",
               "err~/no/such/dir/w.log"});
        // Nothing of bad input reaches the unit; lines are told as the preview shows them.
        for (const auto& [name, command, file, told] :
             std::initializer_list<std::tuple<const char*, const char*, const char*, QString>>{
                 {"missing file", "write", "/no/such/file.txt", "cannot read /no/such/file.txt"},
                 {"write, empty file", "write", "%empty", Unreadable},
                 {"verify, blank lines only", "verify", "%blank", Unreadable},
                 {"write, hello world", "write", "%hello",
                  "->>> Ignoring Unrecognized Line (1)-->>>hello world"},
                 {"verify, hello world", "verify", "%hello",
                  "1 line not understood; nothing was sent"},
                 {"write, mistyped line among good ones", "write", "%titel --unlock",
                  "->>> Ignoring Unrecognized Line (20)-->>>End Titel 7"},
                 {"verify, mistyped line among good ones", "verify", "%titel",
                  "->>> Ignoring Unrecognized Line (20)-->>>End Titel 7"},
                 {"verify, a value no unit holds", "verify", "%150",
                  "End Title holds \"150\"; it must be a whole number from 2 to 99."},
                 {"over 29 lines", "write", "%long",
                  "Warning: Input File processing stopped, > 29 Lines!!"}})
            Story::row(name, QStringList{"text empty: ", "text blank:  \r\n\t\r\n\r\n", "text hello: hello world\r\n",
                         "file titel: End Titel 7", "file 150: End Title 150",
                         "file long: " + QStringList(20, "+Squelch On").join('|'),
                         QStringLiteral("cli %1 %dev %2").arg(command, file), "status=3",
                         "err~" + told, "frames=0", "err!~LoadFile: "} +
                            // verify never saves, nor speaks of saving
                            (QString(command) == "verify" ? QStringList{"err!~save", "err!~Save"}
                                                          : QStringList()));
        Story::row("no such device", {"cli read --device /dev/no-such-tty", "status=3",
                                 "err~no such device"});
        Story::row("a port map entry that is no port", {"portmap x=/dev/null", "cli ports", "status=3"});
        // The line failing is a failure of its own, with no result on standard output.
        Story::row("a silent unit", {"unit silent", "cli read %dev", "status=2", "out=",
                                "err~Cannot Load! There were communications errors"});
    }

    void stories()
    {
        QFETCH(QStringList, rows);
        CliStory s;
        QVERIFY2(s.tell(rows), qPrintable(s.failure));
    }

    // Load, attention, 56 writes, attention, compare: the unit took every frame whole.
    // --channel unlocks for this write, so the file's own Model line applies too.
    void pacedWriteAppliesTheFileAndItsNumbers()
    {
        CliStory s;
        QVERIFY2(s.tell({"paced", "file f.txt: End Title 7|Comment Rack 3|Model 40",
                         "process write %f.txt --channel 5 --no-backup %dev", "status=0",
                         "err!~Ignoring", "err~no differences", "cell:39=07", "cell:48=Ra",
                         "cell:3E=05", "cell:3F=40", "frames=174",
                         "received~R110 R111 ATT ATT W63 40 W62 05 W60 "}),
                 qPrintable(s.failure));
    }

    void portsTellsUsableAndHeldDevices()
    {
        CliStory s;
        // This test process holds COM2's line, as a terminal program would; the map names a
        // device for COM4 that is not there.
        QVERIFY2(s.tell({"unit2 held", "map 4=/dev/no-such-tty", "process ports", "status=0",
                         "out~~^COM1 [^\n]*%path1[^\n]*\n%path2: in use by another program"
                         "[^\n]*\n/dev/no-such-tty: no such device \\(CORVANE_PORT_MAP names "
                         "it for COM4\\)\n$"}),
                 qPrintable(s.failure));
    }

    // Without a port, find listens on every usable port at once: three units reset one
    // after another are heard in that order and written as a rack; one whose numbers are
    // not 1 to 99, or unreadable, counts as found, with exit status 1. Each RESET comes
    // once the tool has asked the unit before it for its numbers.
    void findHearsTheResetOnEveryPort()
    {
        CliStory s;
        QVERIFY2(s.tell({"unit4 3F=00 3E=??", "unit3 3E=07", "map 1=/dev/no-such-tty",
                         "cli find --timeout 0.5", "status=2",
                         "err~listening 0.5 s on COM2, COM3, COM4 at once",
                         "err~ !! NO Synchronizer was Found !!"}),
                 qPrintable(s.failure));
        const auto asked = [&s](int unit) {
            return s.unit(unit).frames(simsync::Direction::ToUnit).contains("R62");
        };
        QTimer::singleShot(1000, [&s] { s.unit(4).pressReset(); });
        QTimer poll;
        int next = 2; // the unit to reset once the one before has been asked
        QObject::connect(&poll, &QTimer::timeout, [&] {
            if (next <= 3 && asked(next == 2 ? 4 : 2))
                s.unit(next++).pressReset();
        });
        poll.start(10);
        QVERIFY2(s.tell({"cli find --timeout 6 --rack-out %dir/rack.txt", "status=1",
                         "out=COM4 %path4 model 0 channel ?\nCOM2 %path2 model 22 channel 1\n"
                         "COM3 %path3 model 22 channel 7\n",
                         "file:%dir/rack.txt=# found by corvane-cli find\nCOM4\n"
                         "COM2 channel=1 expect=22/1\nCOM3 channel=7 expect=22/7\n"}),
                 qPrintable(s.failure));
    }

    // scan asks every usable port at once, without RESET: the units that answer, the ports
    // where nothing did, and a port another program holds skipped with its reason.
    void scanListsWhatAnswers()
    {
        CliStory s;
        QVERIFY2(s.tell({"unit2 silent", "unit3 3F=31", "unit4 held", "cli scan", "status=0",
                         "out=COM1 %path1 model 22 channel 1\nCOM3 %path3 model 31 channel 1\n",
                         "err~COM2 %path2: no answer (a unit may need RESET before it answers)",
                         "err~%path4: in use by another program", "frames@4=0",
                         "cli scan --json", "json:status=0", "json:units=2 entries",
                         "json:units[1].model=31", "json:units[1].unit=COM3"}),
                 qPrintable(s.failure));
    }
};

CORVANE_TEST_CLASS(CliCommandTest)
#include "CliCommandTest.moc"
