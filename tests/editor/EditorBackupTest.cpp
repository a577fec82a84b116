// The editor's SAVE keeps the unit's 64 cells first, and Restore Backup... writes them back:
// judged by the simulated unit's cells, the frames it received and the backup files.

#include "support/TestRunner.h"
#include "support/WindowStory.h"

#include <QtTest>

class EditorBackupTest : public QObject
{
    Q_OBJECT
private slots:
    void stories_data()
    {
        QTest::addColumn<QStringList>("rows");
        const QString oneBackup = "entries:%dir/b~~^\\d{8}-\\d{6}-COM5-model-22-channel-1\\.cells$";
        const QString wholeRead = "received^ATT ATT R48 R49 ";
        // Cell 44 no save writes, so the load leaves it out: the backup reads the eight such
        // cells right after the load's (no pause, no attention), and keeps the unit as it
        // was. Restore Backup's first row is that backup; it puts back all 64 cells and the
        // editor loads them.
        Story::row("save after a load, then restore",
                   {"backups %dir/b",
                    "unit 44=ÿþ",
                    "click cmdLoadFrom",
                    "keep cells",
                    "unit forgets frames",
                    "set scrEndTitle=7",
                    "click cmdSaveTo",
                    "questions=",
                    oneBackup,
                    "backup==kept:cells",
                    "backup~\n44 ff fe\n",
                    "backup~\n39 30 32\n",
                    "cell:39=07",
                    "received^R64 R65 R66 R67 R68 R69 R70 R71 ATT ATT W60 ",
                    "log:Command~backup kept: %dir/b/2",
                    "forget boxes",
                    "unit forgets frames",
                    "restore 0",
                    "rows~~^\\d{4}-\\d\\d-\\d\\d \\d\\d:\\d\\d:\\d\\d  COM5  model 22 channel 1$",
                    "cells==kept:cells",
                    "writes=56",
                    "messages~~^Restored COM5 from %dir/b/\\S+\\.cells and compared: no "
                    "differences\\.",
                    "fields{scrEndTitle=}^scrEndTitle=2/",
                    "questions=",
                    oneBackup});
        // The folder from CORVANE_BACKUP_DIR: the save keeps its backup there, and Restore
        // Backup... lists it.
        Story::row("CORVANE_BACKUP_DIR",
                   {"env CORVANE_BACKUP_DIR=%dir/e", "backups from the environment",
                    "click cmdLoadFrom", "set scrEndTitle=7", "click cmdSaveTo",
                    "entries:%dir/e~~^\\d{8}-\\d{6}-COM5-model-22-channel-1\\.cells$",
                    "restore cancel", "rows~~  COM5  model 22 channel 1$"});
        // Another unit's image: the unit's model and channel are read and the user asked;
        // No writes nothing, Yes restores it whole.
        const QString other = "20261201-120000-COM5-model-22-channel-4.cells";
        for (const QString answer : {"No", "Yes"})
            Story::row(qPrintable("image of channel 4, " + answer),
                       {"backups %dir/b", "mkdir %dir/b", "image b/" + other + ": 3E=04 39=07",
                        "say " + answer, "restore 0",
                        "questions=COM5 holds model 22 channel 1; " + other +
                            " holds model 22 channel 4: restore it anyway?",
                        "received^ATT ATT R63 R62", answer == "Yes" ? "writes=56" : "writes=0",
                        answer == "Yes" ? "cell:3E=04" : "cell:3E=01",
                        answer == "Yes" ? "messages~and compared: no differences" : "messages="});
        // Cancel sends nothing; a cell the unit keeps reads back differently, and the box
        // tells which and how.
        const QString mine = "image b/20261201-120000-COM5-model-22-channel-1.cells: 39=07";
        Story::row("restore cancelled",
                   {"backups %dir/b", "mkdir %dir/b", mine, "unit forgets frames", "restore cancel",
                    "frames=0", "messages=", "questions="});
        Story::row("restore read back differently",
                   {"backups %dir/b", "mkdir %dir/b", mine, "unit keeps 39", "restore 0",
                    "questions=", "writes=56", "cell:39=02",
                    "messages~; 1 cell read back differently:\r\ncell 39: wrote 30 37, read "
                    "back 30 32",
                    "lastbox^exclamation"});
        // No load before the save, or the line opened anew since: the whole unit is read.
        Story::row("save after LOAD from File",
                   {"backups %dir/b", "file f.txt: End Title 7", "answer %f.txt", "run cmdFileLoad",
                    "accept", "keep cells", "click cmdSaveTo", oneBackup, "backup==kept:cells",
                    wholeRead, "received~R110 R111 ATT ATT W60 ", "cell:39=07"});
        Story::row("save after a load on a line opened again",
                   {"backups %dir/b", "click cmdLoadFrom", "port shut", "port COM5",
                    "unit forgets frames", "click cmdSaveTo", oneBackup, wholeRead,
                    "received~R111 ATT ATT W60 "});
        // No backup: the question says why; No writes nothing, Yes saves without one.
        const QString noBackup = "questions^No backup of COM5 could be kept (";
        Story::row("unit silent after the load, No",
                   {"backups %dir/b", "click cmdLoadFrom", "unit silent", "unit forgets frames",
                    "say No", "click cmdSaveTo", noBackup + "cell 40 could not be read",
                    "questions$. Save to the "
                    "synchronizer without one?",
                    "writes=0", "entries:%dir/b="});
        for (const QString answer : {"No", "Yes"})
            Story::row(qPrintable("folder under a file, " + answer),
                       {"text f.txt: x", "backups %f.txt/b", "say " + answer, "click cmdSaveTo",
                        noBackup + "%f.txt/b: the folder cannot be made)",
                        answer == "Yes" ? "writes=54" : "writes=0"});
        // A save the editor refuses reads nothing first and says why as ever.
        Story::row("refused save",
                   {"backups %dir/b", "set optStartFrame=1", "type txtStartFrame 2000000",
                    "menu menuSaveTo", "problems~~^Cannot Save! [^|]*Start Frame holds", "frames=0",
                    "questions=", "exists:%dir/b=no"});
    }
    void stories()
    {
        QFETCH(QStringList, rows);
        WindowStory s;
        QVERIFY2(s.ok, "no unit");
        QVERIFY2(s.tell(rows), qPrintable(s.failure));
    }
};

CORVANE_TEST_CLASS(EditorBackupTest)
#include "EditorBackupTest.moc"
