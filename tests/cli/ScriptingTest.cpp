// What scripts meet: one JSON shape for one unit and for many, events line by line, a rack
// file's every mistake in one run, and bad input refused before the first frame.

#include "CliStory.h"
#include "cli/UnitReport.h"
#include "support/TestRunner.h"

class ScriptingTest : public QObject
{
    Q_OBJECT
private slots:
    void stories_data()
    {
        QTest::addColumn<QStringList>("rows");
        // The same query reads one unit's document and three units'.
        const QStringList shape{"json:schema=1", "json:units[0].model=22",
                                "json:units[0].channel=1", "json:units[0].result=ok"};
        Story::row("one unit's JSON, with its settings",
                   QStringList{"cli read %dev --json", "status=0", "json:status=0",
                               "json:units=1 entries", "json:units[0].unit=%path1",
                               "json:units[0].settings=20 entries",
                               "json:units[0].settings[9]=End Title 2"} +
                       shape);
        Story::row("three units' JSON",
                   QStringList{"units 3", "cli read --port 1-3 -o %dir/out --json", "status=0",
                               "json:units=3 entries", "json:units[2].unit=COM3",
                               "json:units[2].model=22"} +
                       shape);
        Story::row("differences and marks as fields",
                   {"unit 39=04 38=?1", "file f.txt: End Title 7|Start Title 1",
                    "cli verify %f.txt %dev --json", "status=1",
                    "json:units[0].marks[0].field=Start Title",
                    "json:units[0].marks[0].mark=unreadable", "json:units[0].marks[0].value=1",
                    "json:units[0].differences=2 entries",
                    "json:units[0].differences[1].field=End Title",
                    "json:units[0].differences[1].unit=4", "json:units[0].differences[1].file=7",
                    "json:units[0].result=differences"});
        // A backup's image goes into the document, never beside it on the same stream.
        Story::row("backup's image inside the document",
                   {"unit 3E=07", "cli backup %dev --json", "status=0", "out#\n=1",
                    "json:units[0].image=65 entries", "json:units[0].image[15]^3E 30 37",
                    "json:units[0].channel=7"});
        Story::row("a rack verify lists each unit's fields",
                   {"units 2", "unit2 39=04", "file f.txt: End Title 7",
                    "cli verify --port 1-2 %f.txt", "status=1",
                    "out^COM1: End Title: the file makes 7, the unit holds 2\n"
                    "COM2: End Title: the file makes 7, the unit holds 4\n"
                    "Unit  Model  Channel  Done            Result\n",
                    "out~\nCOM2  22     1        compared        differences\n",
                    "err!~\x1b", "err!~\r"});
        Story::row("events, line by line",
                   {"units 2", "unit2 holds back 1 reads after 3", "file f.txt: End Title 7",
                    "cli write --port 1-2 %f.txt --no-backup --events", "status=0",
                    "events~unit started COM1 | unit started COM2 |",
                    "events~cell retried COM2 30 |", "events~unit done COM1",
                    "events$| run done", "events!~not JSON", "out~\"event\":\"progress\"",
                    "out~\n{\"event\":\"run done\",\"schema\":1,\"status\":0,\"units\":[{", "err!~Loading"});

        // Seven mistakes, one run: each told with its line, nothing sent to either unit.
        const QString rack = QString("text rack.txt: COM1 channel = 6 file=\"hall a.txt\"\n"
                                     "COM2 channel=0\nCOM17\nlobby\nCOM1\n"
                                     "COM2 speed=9600 model=x\n/dev/no-such-tty\n"
                                     "COM2 file=\"open\nCOM2 file=gone.txt   # a comment\n");
        Story::row("every mistake of a rack file at once",
                   {"units 2", "file hall a.txt: Comment Hall A", rack,
                    "cli write --rack %rack.txt", "status=3",
                    "err~rack.txt line 2: channel must be from 1 to 99, not \"0\"\n",
                    "err~rack.txt line 3: the port must be from 1 to 16\n",
                    "err~rack.txt line 4: \"lobby\" is not a port, a device path or an address\n",
                    "err~rack.txt line 5: the unit of line 1 again\n",
                    "err~rack.txt line 6: \"speed=9600\" is not channel=N, model=N, file=FILE or expect=M/C\n",
                    "err~rack.txt line 6: model must be from 1 to 99, not \"x\"\n",
                    "err~rack.txt line 7: /dev/no-such-tty: no such device\n",
                    "err~rack.txt line 8: \"file=\"open\" has no closing quote\n",
                    "err~rack.txt line 9: cannot read %dir/gone.txt: No such file", "err$9 mistakes; nothing was sent\n",
                    "frames@1=0", "frames@2=0"});
        Story::row("a rack file's blanks and quotes, and no FILE",
                   {"units 2", "file hall a.txt: Comment Hall A", "file lobby.txt: Comment Lobby",
                    "text rack.txt: COM1 channel = 6 file=\"hall a.txt\"\ncom2 file = lobby.txt\n",
                    "cli write --rack %rack.txt --no-backup", "status=0", "cell:3E@1=06",
                    "cell:48@1=Ha", "cell:48@2=Lo"});
        Story::row("a rack line without a file",
                   {"units 2", "file lobby.txt: ", "text rack.txt: COM1 file=lobby.txt\nCOM2\n",
                    "cli verify --rack %rack.txt", "status=3",
                    "err~rack.txt line 2: no file= on the line and no settings FILE on the "
                    "command line",
                    "frames@1=0"});
        // Control bytes in a file are shown escaped, whole: a NUL does not cut the message.
        Story::row("control bytes shown escaped",
                   {"units 1", QString("text rack.txt: COM1 x") + QChar(0) + "y\x1b[2J\a\n",
                    "cli read --rack %rack.txt -o %dir/out", "status=3",
                    "err~\"x\\x00y\\x1b[2J\\x07\" is not channel=N", "err!~\x1b", "err!~\a"});

        Story::row("a settings file's control bytes shown escaped",
                   {"text g.txt: Begin x\r\nEnd Titel 7\x1b[31m\a\r\n", "cli verify %g.txt %dev",
                    "status=3", "err~>>>End Titel 7\\x1b[31m\\x07\n", "err!~\x1b", "frames=0"});

        // The right unit every time: a rack line's expect=MODEL/CHANNEL is checked after the
        // load, before the backup and the first write frame.
        Story::row("a unit the rack does not expect",
                   {"units 2", "unit2 3E=04", "file f.txt: End Title 7",
                    "text rack.txt: COM1 expect=22/1\nCOM2 expect=22/3\n",
                    "cli write --rack %rack.txt %f.txt --backup-dir %dir/b", "status=3",
                    "err~COM2: COM2 holds model 22 channel 4; the rack expects channel 3: not "
                    "written\n",
                    "out~\nCOM2  22     4        untouched       refused\n", "writes@2=0",
                    "frames@2=58", "cell:39@1=07", "entries:%dir/b~~^\\S+-COM1-\\S+$"});
        Story::row("a restore the rack does not expect",
                   {"units 1", "image u.cells: ", "text rack.txt: COM1 expect=21/1\n",
                    "cli restore --rack %rack.txt %u.cells --force --no-backup", "status=3",
                    "err~COM1 holds model 22 channel 1; the rack expects model 21: not restored",
                    "writes=0"});
        Story::row("expect= of another form",
                   {"text rack.txt: COM1 expect=22\n", "cli verify --rack %rack.txt %dir",
                    "status=3",
                    "err~line 1: expect must be MODEL/CHANNEL, each from 1 to 99, not \"22\"",
                    "frames=0"});
        // A unit that already holds what the file makes of it gets no write, and no backup.
        Story::row("already held",
                   {"unit 39=07", "file f.txt: End Title 7", "mkdir %dir/b",
                    "cli write %f.txt --backup-dir %dir/b %dev --json", "status=0",
                    "json:units[0].result=already held", "json:units[0].done=untouched",
                    "writes=0", "frames=58", "entries:%dir/b="});

        // Bad input is found before the first frame.
        Story::row("a write's own value no unit holds",
                   {"file f.txt: Start Title 200", "cli write %f.txt %dev", "status=3",
                    "err~sets values that the synchronizer cannot hold", "err$Nothing was sent.\n",
                    "frames=0"});
        Story::row("read into a missing folder",
                   {"cli read -o %dir/none/x.txt %dev", "status=3",
                    "err~the folder %dir/none does not exist; nothing was read", "frames=0"});
        Story::row("a comment longer than the unit holds",
                   {"file f.txt: Comment A long comment here", "cli write %f.txt --no-backup %dev",
                    "status=0",
                    "err~the comment \"A long comment here\" is cut to 15 characters: "
                    "\"A long comment \"",
                    "cell:48=A "});
        Story::row("find does not replace a rack file",
                   {"text rack.txt: # by hand\nCOM1 channel=3\n",
                    "cli find --timeout 0.5 --rack-out %rack.txt", "status=3",
                    "err~already exists; give --force", "file:%rack.txt=# by hand\nCOM1 channel=3\n",
                    "frames=0"});
    }

    void stories()
    {
        QFETCH(QStringList, rows);
        CliStory s;
        QVERIFY2(s.tell(rows), qPrintable(s.failure));
    }

    // The undo a stopped write names is a command to paste as it is, blanks and quotes too.
    void undoHintIsACommandToPaste()
    {
        const std::tuple<QString, QString, int, QString> rows[] = {
            {"COM3", "b/1.cells", 5,
             "its backup is b/1.cells; to undo: corvane-cli restore --port 3 --unlock --force "
             "b/1.cells"},
            {"rfc2217://h:7001", "my b/it's.cells", 1,
             "its backup is my b/it's.cells; to undo: corvane-cli restore --device "
             "rfc2217://h:7001 --unlock --force 'my b/it'\\''s.cells'"},
            {"COM1", "", 3, "no backup was kept, so what it held before is not known"},
            {"COM1", "b/1.cells", 0, ""}};
        for (const auto& [unit, backup, writes, hint] : rows) {
            UnitReport r;
            r.unit = unit;
            r.backup = backup;
            r.writesSent = writes;
            QCOMPARE(r.undoHint(), hint);
        }
    }
};

CORVANE_TEST_CLASS(ScriptingTest)
#include "ScriptingTest.moc"
