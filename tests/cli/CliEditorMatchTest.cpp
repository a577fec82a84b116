// corvane-cli write does to a unit what the editor does with "LOAD from Synchronizer", the
// same file loaded and accepted, and "SAVE to Synchronizer": two units that start alike end
// alike, after the same frames in the same order.

#include "CliRig.h"
#include "app/frmFileInput.h"
#include "comm/modCorvaneComm.h"
#include "support/AppFixture.h"
#include "support/Story.h"
#include "support/TestRunner.h"

#include <QPushButton>

using namespace CliTest;

namespace {

// The editor window against its own unit on COM5.
struct EditorSide
{
    Unit unit;
    AppFixture fx;
    bool ok = false;
    EditorSide()
    {
        fx.app->ports.setTestMapping({{5, unit.sim.path()}});
        CommContext c = fx.app->comm();
        ok = unit.ok && awaited(modCorvaneComm::OpenSyncPort(c, 5)).number == 0;
    }
    void click(QWidget& window, const char* button)
    {
        QTest::mouseClick(ctl<QPushButton>(window, button), Qt::LeftButton);
    }
    // Each click starts a command that ends later: the next waits for it. True when each
    // step ended as a user would see it end.
    bool write(const QString& file)
    {
        frmMain& m = fx.main();
        PortLease& lease = fx.app->lease();
        click(m, "cmdLoadFrom");
        if (!leaseGivenBack(lease))
            return false;
        fx.modal.fileAnswers << file;
        click(m, "cmdFileLoad");
        frmFileInput& preview = fx.app->fileInput();
        if (!until([&] { return preview.isVisible() && fx.modal.fileAnswers.isEmpty(); }))
            return false;
        click(preview, "cmdAccept");
        click(m, "cmdSaveTo");
        return leaseGivenBack(lease);
    }
};

} // namespace

class CliEditorMatchTest : public QObject
{
    Q_OBJECT
private slots:
    // One file through both: the unit holds 12:34 to 56:07, which a file never carries;
    // the comment is cut to 15 and the init strings to 58 together on the way in.
    void writeMatchesTheEditor()
    {
        const QStringList unitCells{"3C=:0", "30=00", "31=12", "32=34", "33=00",
                                    "34=00", "35=56", "36=07", "37=00"};
        Files files;
        const QString path =
            files.write("f.txt", Story::settingsFile({"Start Mode Timecode", "End Mode Timecode",
                                               "Start Frame 7", "Comment A comment beyond fifteen",
                                               "Init String 1 ABCDEFGHIJKLMNOPQRST",
                                               "Init String 2 abcdefghijklmnopqrst",
                                               "Init String 3 01234567890123456789",
                                               "Init String 4 zyxwvutsrqponmlkjihg"}));
        EditorSide editor;
        QVERIFY(editor.ok);
        CellTokens::put(editor.unit.sim, unitCells);
        QVERIFY(editor.write(path));

        Unit cli;
        QVERIFY(cli.ok);
        CellTokens::put(cli.sim, unitCells);
        const Run r = runCli(QStringList{"write", path, "--no-backup"} + cli.device());
        QVERIFY2(r.status == 0, qPrintable(r.err));
        QCOMPARE(cli.received(), editor.unit.received());
        QCOMPARE(cli.sim.cells(), editor.unit.sim.cells());
        QCOMPARE(Story::writesIn(cli.received()).size(), 54);
    }
};

CORVANE_TEST_CLASS(CliEditorMatchTest)
#include "CliEditorMatchTest.moc"
