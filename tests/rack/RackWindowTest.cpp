// The rack window against simulated units: what its table says after each action is judged
// by the units' own cells and frames, and by the backups left in the folder.

#include "rack/RackStory.h"
#include "support/TestRunner.h"

#include <QtTest>

class RackWindowTest : public QObject
{
    Q_OBJECT
private slots:
    void stories_data()
    {
        QTest::addColumn<QStringList>("rows");
        const QString scanned = "table=COM1 22 1 answering|COM2 22 1 answering|COM3 22 1 "
                                "answering|COM4 22 1 answering";
        // One set to eight units: one falls silent, one loses its line in the middle of the
        // save, one keeps its old End Title, one holds the file already. The others hold it
        // with a backup each; the one that held it got no write and keeps no backup.
        QStringList faults{"units 8",     "backups %dir/b", "file f.txt: End Title 7",
                           "unit5 39=07", "rack",           "press cmdScan"};
        for (int n = 1; n <= 8; ++n)
            faults << QStringLiteral("keep cells@%1").arg(n);
        faults << "unit2 silent"
               << "unit3 line goes after 75"
               << "unit4 keeps 39"
               << "select all"
               << "answer %f.txt"
               << "press cmdWriteFile"
               << "table=COM1 22 1 done ok|COM2 22 1 done line failed|COM3 22 1 done line "
                  "failed|COM4 22 1 done differences|COM5 22 1 done already held|COM6 22 1 done "
                  "ok|COM7 22 1 done ok|COM8 22 1 done ok"
               << "status=write: 5 of 8 ok."
               << "writes@5=0"
               << "details:3~End Title: the unit holds 2, the file makes 7";
        for (int n : {1, 6, 7, 8})
            faults << QStringLiteral("cell:39@%1=07").arg(n);
        for (int n : {1, 3, 4, 6, 7, 8})
            faults << QStringLiteral("entries:%dir/b#-COM%1-=1").arg(n);
        faults << "entries:%dir/b!~-COM5-"
               << "entries:%dir/b!~-COM2-"
               << "backup:0~-COM1-model-22-channel-1.cells"
               // The failed ones chosen and tried again, once two of them answer again.
               << "press cmdSelectFailed"
               << "selected=1,2,3"
               << "unit2 recovers"
               << "unit4 recovers"
               << "answer %f.txt"
               << "press cmdWriteFile"
               << "table=COM1 22 1 done ok|COM2 22 1 done ok|COM3 22 1 done line "
                  "failed|COM4 22 1 done ok|COM5 22 1 done already held|COM6 22 1 done "
                  "ok|COM7 22 1 done ok|COM8 22 1 done ok"
               << "cell:39@2=07"
               << "cell:39@4=07"
               // Each unit's last backup gives back the cells it held before the write.
               << "select 0,5"
               << "press cmdRestore"
               << "cells@1==kept:cells@1"
               << "cells@6==kept:cells@6"
               << "table^COM1 22 1 done ok|COM2 22 1 done ok|COM3";
        Story::row("write to eight, faults, retry, restore", faults);

        // Units heard in the order their RESET came, each as soon as it came.
        Story::row("listen",
                   {"units 4", "rack", "click cmdListen", "await status~Press RESET on each",
                    "status~listening 30 s on COM1, COM2, COM3, COM4 at once",
                    "unit3 presses RESET", "await table~COM3", "unit1 presses RESET",
                    "await table~COM1", "unit4 presses RESET", "await table~COM4",
                    "table=COM3 22 1 answering|COM1 "
                    "22 1 answering|COM4 22 1 answering",
                    "press cmdStop", "status=3 units heard."});

        // The rack says which unit it expects: another one there is refused before a write.
        Story::row("expect refused",
                   {"units 2", "file f.txt: End Title 7",
                    "text r.rack: COM1 expect=22/3\nCOM2 channel=4 expect=22/1\n", "rack",
                    "answer %r.rack", "press cmdOpenRack", "status~2 units from", "select all",
                    "answer %f.txt", "press cmdWriteFile",
                    "table=COM1 22 1 done refused|COM2 22 4 done ok", "writes@1=0",
                    "details:0~COM1 holds model 22 channel 1; the rack expects channel 3: not "
                    "written",
                    "cell:39@2=07", "cell:3E@2=04"});
        Story::row("rack file mistakes",
                   {"units 1", "text r.rack: COM1 chanel=2\nCOM9\n", "rack", "answer %r.rack",
                    "press cmdOpenRack", "table=",
                    "status~~nothing was added\nline 1: .*chanel.*\nline 2: COM9: this machine "
                    "has no serial device for it"});

        // Save Rack... keeps what was heard as what each line expects.
        Story::row("save rack",
                   {"units 2", "unit2 3E=07", "rack", "press cmdScan", "answer %dir/saved.rack",
                    "press cmdSaveRack",
                    "file:%dir/saved.rack=# saved by Corvane's rack window\nCOM1 expect=22/1\n"
                    "COM2 expect=22/7\n",
                    "add %path1", "table=COM1 22 1 answering|COM2 22 7 answering", "add COM9",
                    "status=COM9: this machine has no serial device for it"});

        // Verify names each unit's differing fields; Backup keeps one image each.
        Story::row("verify and backup",
                   {"units 2", "backups %dir/b", "unit2 39=07", "file f.txt: End Title 7", "rack",
                    "press cmdScan", "select all", "answer %f.txt", "press cmdVerify",
                    "table=COM1 22 1 done differences|COM2 22 1 done ok", "writes@1=0",
                    "details:0=1 field differ.|End Title: the unit holds 2, the file makes 7",
                    "press cmdBackup", "entries:%dir/b#.cells=2",
                    "backup:1~-COM2-model-22-channel-1.cells", "writes@2=0"});

        // From the keyboard; each row heard as one sentence, each change told.
        Story::row("keyboard and sentences",
                   {"units 2", "unit1 silent", "rack", "keys cmdScan Space",
                    "table=COM2 22 1 answering", "heard:0=COM2, model 22, channel 1, answering",
                    "change=COM2, model 22, channel 1, answering", "keys tblRack Ctrl+A",
                    "selected=0", "status~no answer on COM1"});

        // While the editor's command holds its line, nothing of the rack starts.
        Story::row("editor busy",
                   {"units 1", "rack", "add 1", "editor busy", "select 0", "press cmdBackup",
                    "status~is busy (load): try again once it has ended", "table=COM1",
                    "frames@1=0", "press cmdScan", "frames@1=0"});

        // Open in Editor hands the unit over as the finder does: a load, the port kept.
        Story::row("open in editor", {"units 2", "unit2 39=07", "rack", "press cmdScan", "select 1",
                                      "unit2 forgets frames", "press cmdOpenInEditor",
                                      "await line~COM2 open", "await frames@2~58", "frames@2=58"});
    }
    void stories()
    {
        QFETCH(QStringList, rows);
        RackStory s;
        QVERIFY2(s.tell(rows), qPrintable(s.failure));
    }

    // At the line's pace, Stop ends each unit's write between two frames, and says what it
    // got and how to undo it.
    void stopBetweenTwoFrames()
    {
        RackStory s{LineTiming{}};
        QVERIFY2(
            s.tell({"paced", "units 2", "backups %dir/b", "file f.txt: End Title 7", "rack",
                    "add 1", "add 2", "select all", "answer %f.txt", "click cmdWriteFile",
                    "await writes@1~1", "click cmdStop",
                    // Each unit stops at its own next frame: wait for both.
                    "await table~COM1 22 1 done stopped", "await table~COM2 22 1 done stopped",
                    "table=COM1 22 1 done stopped|COM2 22 1 done stopped", "writes@1!~~^(0|54)$",
                    "details:0~~Stopped by Stop between two frames: partly written\\.\\|"
                    "its backup is \\S+-COM1-model-22-channel-1\\.cells; to undo"}),
            qPrintable(s.failure));
    }
};

CORVANE_TEST_CLASS(RackWindowTest)
#include "RackWindowTest.moc"
