// The line monitor: live view of the wire log while a transfer runs, following the newest
// line unless the user scrolled up, saving (whole, atomically, with a plain failure
// message), clearing and copying; reachable from the editor and the finder.

#include "app/frmFinder.h"
#include "app/frmLineMonitor.h"
#include "support/Awaited.h"
#include "support/ScratchFolder.h"
#include "support/TestRunner.h"
#include "transfer/TransferRig.h"

#include <QAction>
#include <QClipboard>
#include <QDir>
#include <QGuiApplication>
#include <QMenu>
#include <QRegularExpression>
#include <QScrollBar>

using namespace TransferTest;

namespace {

QScrollBar* bar(frmLineMonitor& m)
{
    return ctl<QPlainTextEdit>(m, "txtWire")->verticalScrollBar();
}

QStringList shownLines(frmLineMonitor& m)
{
    const QString text = ctl<QPlainTextEdit>(m, "txtWire")->toPlainText();
    return text.isEmpty() ? QStringList() : text.split('\n');
}

void addEvents(WireLog& log, int from, int count)
{
    for (int i = from; i < from + count; ++i)
        log.event(QStringLiteral("event %1").arg(i));
}

} // namespace

class MonitorTest : public QObject
{
    Q_OBJECT
private slots:
    // One monitor, opened from either window's port menu as a window of the one that
    // opened it.
    void bothWindowsOpenTheOneMonitor()
    {
        AppFixture f;
        f.app->showFinderFromEditor();
        QVERIFY(!f.app->hasLineMonitor());
        ctl<QMenu>(f.app->finder(), "menuSynchro")->actions().last()->trigger();
        frmLineMonitor& m = f.app->lineMonitor();
        QVERIFY(m.isVisible() && m.isWindow() && !m.isModal());
        QCOMPARE(m.parentWidget(), &f.app->finder());
        m.hide();
        f.app->showEditorFromFinder();
        ctl<QMenu>(f.main(), "menuSynchronizer")->actions().last()->trigger();
        QVERIFY(m.isVisible());
        QCOMPARE(&f.app->lineMonitor(), &m);
        QCOMPARE(m.parentWidget(), &f.main());
    }

    // A save to a unit that keeps its End Title and first comment cell: the compare fails,
    // shows one problem, marks nothing, and the view fills while the save is on the line.
    void showsAFailedCompareLiveWhileTheSaveRuns()
    {
        // Pauses long enough for the view's batches to show while the save runs.
        Rig rig(true, LineTiming{}.scaled(0.25, 1));
        QVERIFY(rig.ok);
        rig.sim.freezeCell(0x39);
        rig.sim.freezeCell(0x48);
        rig.main().cmdDefaults_Click();
        setControls(rig.main(), {"scrEndTitle=7", "txtComment=Hello"});
        ctl<QMenu>(rig.main(), "menuSynchronizer")->actions().last()->trigger();
        frmLineMonitor& m = rig.fx.app->lineMonitor();
        const int before = shownLines(m).size();
        int linesSeenDuringSave = 0;
        rig.fx.app->cellHook = [&](uint8_t address) {
            if (address == 0x39)
                linesSeenDuringSave = shownLines(m).size();
        };
        ProgressWatch progress(rig.fx.app->progressWindow());
        rig.click("cmdSaveTo");
        QVERIFY(untilLeaseFree(rig.fx.app->lease()));
        QVERIFY(linesSeenDuringSave > before);

        QCOMPARE(rig.problems, QStringList{"Compare Failed! The settings did not save correctly "
                                           "to the synchronizer.\n Please try again"});
        QVERIFY(rig.messages().isEmpty() && pick(rig.main(), "shp\\w+=(?!hidden)").isEmpty());
        QCOMPARE(progress.showings.size(), 2);
        QCOMPARE(rig.frames("R").size(), 54);
        QCOMPARE(rig.logged(WireLogEntry::Finding).size(), 2);
        m.flushPending();
        const QStringList shown = shownLines(m);
        QCOMPARE(shown, rig.fx.app->wireLog().lines());
        for (const char* line :
             {"> W 39 \"07\"", "! cell 39 (End Title): expected 7, read 2",
              "! cell 48 (Comment): expected bytes 48 65, read bytes 07 07",
              "= save ended: 54 cells written", "= compare ended: 2 differences",
              "- problem shown: Compare Failed! The settings did not save correctly to the "
              "synchronizer. /  Please try again"})
            QVERIFY2(shown.filter(line).size() == 1, line);
        QVERIFY(bar(m)->value() == bar(m)->maximum());
    }

    // The view follows the newest line unless the user scrolled up, draws nothing while
    // hidden and catches up when shown (with what the ring still holds), and Clear empties
    // log and view alike.
    void viewFollowsTheLog()
    {
        AppFixture f;
        WireLog& log = f.app->wireLog();
        frmLineMonitor& m = f.app->lineMonitor();
        m.show();
        addEvents(log, 0, 300);
        QTRY_COMPARE(shownLines(m).size(), log.size()); // the batch timer delivers them
        QVERIFY(bar(m)->value() == bar(m)->maximum() && bar(m)->maximum() > 0);
        bar(m)->setValue(10); // the user reads older lines
        addEvents(log, 300, 100);
        m.flushPending();
        QCOMPARE(shownLines(m).last(), QString(log.lines().last()));
        QCOMPARE(bar(m)->value(), 10);
        bar(m)->setValue(bar(m)->maximum());
        addEvents(log, 400, 100);
        m.flushPending();
        QCOMPARE(bar(m)->value(), bar(m)->maximum());

        m.hide();
        addEvents(log, 500, log.capacity()); // more than the ring holds
        m.show();
        QCOMPARE(shownLines(m).size(), log.capacity());
        QVERIFY(shownLines(m).first().endsWith("- event 500"));
        QVERIFY(
            shownLines(m).last().endsWith(QStringLiteral("- event %1").arg(499 + log.capacity())));

        QTest::mouseClick(ctl<QPushButton>(m, "cmdClearLog"), Qt::LeftButton);
        QVERIFY(log.size() == 0 && shownLines(m).isEmpty());
        addEvents(log, 0, 2);
        m.flushPending();
        QCOMPARE(shownLines(m), log.lines());
        QCOMPARE(shownLines(m).size(), 2);
    }

    // Save writes the whole log over an old file, atomically; a cancelled dialog writes and
    // says nothing; a failed save names the file and the reason and leaves what was there.
    // Copy puts the same text on the clipboard.
    void saveAndCopyTheWholeLog()
    {
        AppFixture f;
        ScratchFolder scratch;
        const QTemporaryDir& dir = scratch.dir;
        const QString path = scratch.write("wire.log", QByteArray(100000, 'x'));
        QVERIFY(QFileInfo(path).size() == 100000); // longer than the log: none of it may remain
        QVERIFY(QDir(dir.path()).mkdir("taken"));
        WireLog& log = f.app->wireLog();
        log.event("COM5 opened: /dev/pts/9, 1200,N,8,1, handshaking 0, RTS on");
        addEvents(log, 0, 50);
        frmLineMonitor& m = f.app->lineMonitor();
        QGuiApplication::clipboard()->setText("before");
        QTest::mouseClick(ctl<QPushButton>(m, "cmdCopyLog"), Qt::LeftButton);
        const QByteArray text = QGuiApplication::clipboard()->text().toUtf8();
        // A file that stands alone: the version, when it starts, the port, then each entry
        // with its clock time beside its milliseconds.
        const QStringList saved = QString::fromUtf8(text).split('\n');
        QCOMPARE(saved.mid(0, 4).join('|').remove(
                     QRegularExpression("\\d{4}-\\d\\d-\\d\\d \\d\\d:\\d\\d:\\d\\d")),
                 QString("Corvane " CORVANE_BUILD_VERSION " wire log|Log starts: |Port: COM5 "
                         "opened: /dev/pts/9, 1200,N,8,1, handshaking 0, RTS on|"));
        const QRegularExpression clock("^\\d\\d:\\d\\d:\\d\\d\\.\\d{3} ",
                                       QRegularExpression::MultilineOption);
        QCOMPARE(saved.mid(4).join('\n').remove(clock), log.lines().join('\n') + '\n');
        const QStringList bad{dir.filePath("missing/wire.log"), dir.filePath("taken"),
                              path + "/wire.log"}; // no folder, a folder, a file as folder
        f.modal.fileAnswers << path << "" << bad;
        QTest::mouseClick(ctl<QPushButton>(m, "cmdSaveLog"), Qt::LeftButton);
        QCOMPARE(ScratchFolder::read(path), text);
        QCOMPARE(f.modal.requests.front().kind, Modal::Request::SaveFile);
        QVERIFY(f.modal.requests.front().proposedName.contains(
            QRegularExpression("^corvane-wire-\\d{8}-\\d{6}\\.log$")));
        addEvents(log, 50, 1);
        for (int i = 0; i < 4; ++i) // cancelled, then the three that fail
            QTest::mouseClick(ctl<QPushButton>(m, "cmdSaveLog"), Qt::LeftButton);
        QCOMPARE(ScratchFolder::read(path), text);
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{"wire.log"}); // no leftovers
        QVERIFY(QFileInfo(dir.filePath("taken")).isDir());
        const QStringList shown = f.modal.messages();
        QCOMPARE(shown.size(), 3);
        for (int i = 0; i < 3; ++i) {
            const QString prefix = "The log could not be saved to " + bad[i] + ":\r\n";
            QVERIFY2(shown[i].startsWith(prefix) && shown[i].size() > prefix.size() + 3,
                     qPrintable(shown[i])); // a reason follows
        }
        QVERIFY(f.modal.requests.back().exclamation);
    }
};

CORVANE_TEST_CLASS(MonitorTest)
#include "MonitorTest.moc"
