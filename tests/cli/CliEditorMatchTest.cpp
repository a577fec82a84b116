// corvane-cli write does to a unit what the editor does with "LOAD from Synchronizer", the
// same file loaded and accepted, and "SAVE to Synchronizer": two units that start alike end
// alike, after the same frames in the same order.

#include "CliStory.h"
#include "support/TestRunner.h"
#include "support/WindowStory.h"

class CliEditorMatchTest : public QObject
{
    Q_OBJECT
private slots:
    // One file through both: the unit holds 12:34 to 56:07, which a file never carries;
    // the comment is cut to 15 and the init strings to 58 together on the way in.
    void writeMatchesTheEditor()
    {
        const QStringList start{
            "unit 3C=:0 30=00 31=12 32=34 33=00 34=00 35=56 36=07 37=00",
            "file f.txt: Start Mode Timecode|End Mode Timecode|Start Frame 7|"
            "Comment A comment beyond fifteen|Init String 1 ABCDEFGHIJKLMNOPQRST|"
            "Init String 2 abcdefghijklmnopqrst|Init String 3 01234567890123456789|"
            "Init String 4 zyxwvutsrqponmlkjihg"};
        WindowStory editor;
        QVERIFY2(editor.tell(start + QStringList{"click cmdLoadFrom", "answer %f.txt",
                                                 "run cmdFileLoad", "accept", "click cmdSaveTo", "writes=54",
                                                 "boxes=The Init Strings are limited\r\nto 58 "
                                                 "characters total\r\nbetween all 4 strings."}),
                 qPrintable(editor.failure));
        CliStory cli;
        QVERIFY2(cli.tell(start + QStringList{"cli write %f.txt --no-backup %dev", "status=0"}),
                 qPrintable(cli.failure));
        QCOMPARE(cli.unit(1).frames(simsync::Direction::ToUnit),
                 editor.sim.frames(simsync::Direction::ToUnit));
        QCOMPARE(cli.unit(1).cells(), editor.sim.cells());
    }
};

CORVANE_TEST_CLASS(CliEditorMatchTest)
#include "CliEditorMatchTest.moc"
