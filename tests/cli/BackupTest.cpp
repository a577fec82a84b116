// backup and restore, and the backup write and restore keep before their first write frame:
// judged by the cells of simulated units, the files written and the frames received.

#include "CliStory.h"
#include "support/TestRunner.h"

namespace {
const QString NoFolder = "no backup can be kept in %f.txt/sub: the folder cannot be made";
} // namespace

class BackupTest : public QObject
{
    Q_OBJECT
private slots:
    void stories_data()
    {
        QTest::addColumn<QStringList>("rows");
        // The points' last second bytes carry nothing, and cell 44 no save writes: the
        // backup keeps them all. The load, then the backup's attention and 64 reads, then
        // the save and its compare; the restore keeps the unit as the write left it.
        for (const bool unlock : {true, false})
            Story::row(unlock ? "unlocked: model and channel come back too"
                         : "locked: the written channel stays",
                  {"unit 33=0ÿ 37=0\r 44=ÿþ", "image before.cells: 33=0ÿ 37=0\r 44=ÿþ",
                   "image after.cells: 33=0ÿ 37=0\r 44=ÿþ 3E=05",
                   "cli backup -o %dir/unit.cells %dev", "status=0",
                   "err$Backup of %path1: %dir/unit.cells\n",
                   "file:%dir/unit.cells~\n33 30 FF ", "file:%dir/unit.cells~\n37 30 0D ",
                   "file:%dir/unit.cells~\n44 FF FE ", "file:%dir/unit.cells~\n39 30 32 ",
                   "unit forgets frames", "file f.txt: End Title 7|Start Frame 5",
                   "cli write %f.txt --channel 5 --backup-dir %dir/b %dev", "status=0",
                   "cell:33=50", "entries:%dir/b~~^\\d{8}-\\d{6}-COM1-model-22-channel-1\\.cells$",
                   // The backup takes the load's cells and reads the eight it left out,
                   // in the same pass: no second pause or attention.
                   "err~Backup of %path1: %dir/b/", "frames=182",
                   "received~R110 R111 R64 R65 R66 R67 R68 R69 R70 R71 ATT ATT W63 22 ",
                   "received!~ATT ATT R48 ", "file:%dir/b/*channel-1.cells~\n44 FF FE ",
                   "file:%dir/b/*channel-1.cells~\n33 30 FF ", "file:%dir/b/*channel-1.cells~\n39 30 32 ",
                   // The unit now holds channel 5, the image channel 1: refused unless forced.
                   "unit forgets frames", "cli restore %dir/unit.cells --no-backup %dev",
                   "status=3",
                   "err~%path1 holds model 22 channel 5; %dir/unit.cells holds model 22 channel "
                   "1: not restored (--force restores it anyway)",
                   "writes=0", "unit forgets frames",
                   QString("cli restore %dir/unit.cells --force --backup-dir %dir/b %dev") +
                       (unlock ? " --unlock" : ""),
                   "status=0", "out=",
                   "err$Restored %path1 from %dir/unit.cells and compared: no differences.\n",
                   unlock ? "cells==file:%before.cells" : "cells==file:%after.cells",
                   unlock ? "writes=56" : "writes=54",
                   unlock ? "received~R111 ATT ATT W63 " : "received~R111 ATT ATT W60 ",
                   "entries:%dir/b~~^\\S+-COM1-model-22-channel-1\\.cells "
                   "\\S+-COM1-model-22-channel-5\\.cells$"});

        // Nothing is written without what was asked for: no backup, no image, no write.
        const QStringList scratch{"file f.txt: End Title 7", "mkdir %dir/kept"};
        const QStringList nothingKept{"entries:%dir/kept=", "entries:%dir/kept/b="};
        const QString noFolder = "exists:%dir/kept/b=no"; // bad input: not even the folder
        Story::row("write, no backup",
              scratch + QStringList{"cli write %f.txt --no-backup %dev", "status=0",
                                    "err~no differences", "frames=170"} + nothingKept);
        Story::row("write, folder under a file",
              scratch + QStringList{"cli write %f.txt --backup-dir %f.txt/sub %dev", "status=3",
                                    "err~" + NoFolder, "frames=0"});
        // The load's 56 reads are answered, the backup's first (cell 40, right after the
        // load) is not, three times over, each retry after an attention.
        Story::row("write, a cell silent in the backup",
              scratch + QStringList{"unit answers 56 then silent",
                                    "cli write %f.txt --backup-dir %dir/kept/b %dev", "status=2",
                                    "err~cell 40 could not be read (Reply Timed Out); without a "
                                    "backup nothing was written",
                                    "frames=65", "writes=0"} +
                  nothingKept);
        // Without a backup the unit's model and channel are read first, to match the image's.
        Story::row("restore, no backup",
              scratch + QStringList{"image u.cells: ", "cli restore %u.cells --no-backup %dev",
                                    "status=0", "err~compared: no differences", "frames=116",
                                    "received^ATT ATT R63 R62 ATT ATT W"} +
                  nothingKept);
        Story::row("restore, a cell missing",
              scratch + QStringList{"text u.cells: 30 30 30\n31 30 30\n",
                                    "cli restore %u.cells --backup-dir %dir/kept/b %dev",
                                    "status=3", "err~%u.cells: cell 32 is missing; nothing was sent",
                                    "frames=0"} +
                  nothingKept << noFolder);
        Story::row("restore, not hex",
              scratch + QStringList{"text u.cells: # start\n30 30 30\n31 3g 30\n",
                                    "cli restore %u.cells --backup-dir %dir/kept/b %dev",
                                    "status=3", "err~line 3: \"3g\" is not a byte in hex",
                                    "frames=0"} +
                  nothingKept << noFolder);
        Story::row("backup, cell 3F silent",
              scratch + QStringList{"unit answers 15 then silent",
                                    "cli backup -o %dir/kept/u.cells %dev", "status=2",
                                    "err~%path1: cell 3F could not be read (Reply Timed Out); no "
                                    "image was written",
                                    "frames=24", "writes=0"} +
                  nothingKept);
        Story::row("backup into a missing folder",
              scratch + QStringList{"cli backup -o %dir/kept/b/u.cells %dev", "status=3",
                                    "err~cannot save to %dir/kept/b/u.cells: the folder "
                                    "%dir/kept/b does not exist; nothing was read",
                                    "frames=0"} +
                  nothingKept << noFolder);
        Story::row("restore lists the cells that read back differently",
              {"unit keeps 39", "image u.cells: 39=07", "cli restore %u.cells --no-backup %dev",
               "status=1", "out=cell 39: wrote 30 37, read back 30 32\n",
               "err$1 cell of %u.cells read back differently.\n"});
    }

    void stories()
    {
        QFETCH(QStringList, rows);
        CliStory s;
        QVERIFY2(s.tell(rows), qPrintable(s.failure));
    }
};

CORVANE_TEST_CLASS(BackupTest)
#include "BackupTest.moc"
