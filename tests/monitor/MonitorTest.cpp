// The line monitor: live view of the wire log while a transfer runs, following the newest
// line unless the user scrolled up, saving (whole, atomically, with a plain failure
// message), clearing and copying; reachable from the editor and the finder.

#include "app/frmFinder.h"
#include "app/frmLineMonitor.h"
#include "comm/WireLog.h"
#include "support/TestRunner.h"
#include "transfer/TransferRig.h"

#include <QAction>
#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTemporaryDir>

using namespace TransferTest;

namespace {

QPlainTextEdit* wire(frmLineMonitor& m)
{
    return ctl<QPlainTextEdit>(m, "txtWire");
}

QStringList shownLines(frmLineMonitor& m)
{
    const QString text = wire(m)->toPlainText();
    return text.isEmpty() ? QStringList() : text.split('\n');
}

bool atBottom(frmLineMonitor& m)
{
    QScrollBar* bar = wire(m)->verticalScrollBar();
    return bar->value() == bar->maximum();
}

void addEvents(WireLog& log, int from, int count)
{
    for (int i = from; i < from + count; ++i)
        log.event(QStringLiteral("event %1").arg(i));
}

QByteArray fileText(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<unreadable>");
}

QByteArray logText(const WireLog& log)
{
    return (log.lines().join('\n') + '\n').toUtf8();
}

} // namespace

class MonitorTest : public QObject
{
    Q_OBJECT
private slots:
    void bothWindowsEndTheirPortMenuWithIt()
    {
        AppFixture f;
        QMenu* editorMenu = ctl<QMenu>(f.main(), "menuSynchronizer");
        f.app->showFinderFromEditor();
        QMenu* finderMenu = ctl<QMenu>(f.app->finder(), "menuSynchro");
        for (QMenu* menu : {editorMenu, finderMenu}) {
            const QList<QAction*> actions = menu->actions();
            QVERIFY(actions.size() >= 3);
            QVERIFY(actions[actions.size() - 2]->isSeparator());
            QCOMPARE(actions.last()->objectName(), QString("menuLineMonitor"));
            QCOMPARE(actions.last()->text(), QString("Line &Monitor")); // M underlined
        }
        QVERIFY(!f.app->hasLineMonitor());
        finderMenu->actions().last()->trigger();
        frmLineMonitor& m = f.app->lineMonitor();
        QVERIFY(m.isVisible() && m.isWindow() && !m.isModal());
        QCOMPARE(m.parentWidget(), &f.main()); // one monitor, owned by the editor window
        m.hide();
        f.app->showEditorFromFinder();
        editorMenu->actions().last()->trigger();
        QVERIFY(m.isVisible());
        QCOMPARE(&f.app->lineMonitor(), &m);
    }

    void showsAFailedCompareLiveWhileTheSaveRuns()
    {
        // Pauses long enough for the view's batches to show while the save runs.
        Rig rig(true, LineTiming{}.scaled(0.25, 1));
        QVERIFY(rig.ok);
        rig.sim.freezeCell(0x39);
        rig.main().cmdDefaults_Click();
        ctl<Spinner>(rig.main(), "scrEndTitle")->setValueNotify(7);
        ctl<QMenu>(rig.main(), "menuSynchronizer")->actions().last()->trigger();
        frmLineMonitor& m = rig.fx.app->lineMonitor();
        m.resize(1000, 420); // wide enough for the problem text, for the README's picture
        const int before = shownLines(m).size();

        // The view fills while the save is still on the line, not only at its end.
        int linesSeenDuringSave = 0;
        rig.fx.app->cellHook = [&](uint8_t address) {
            if (address == 0x39)
                linesSeenDuringSave = shownLines(m).size();
        };
        QTest::mouseClick(ctl<QPushButton>(rig.main(), "cmdSaveTo"), Qt::LeftButton);
        QVERIFY(linesSeenDuringSave > before);

        m.flushPending();
        const QStringList shown = shownLines(m);
        QCOMPARE(shown, rig.fx.app->wireLog().lines());
        QVERIFY(shown.filter("cell 39 (End Title): expected 7, read 2").size() == 1);
        QVERIFY(!shown.filter(QRegularExpression(R"(  > W 39 "07"$)")).isEmpty());
        QVERIFY(atBottom(m));

        // CORVANE_SCREENSHOTS=<folder> keeps a picture of the monitor for the README.
        if (const QString folder = qEnvironmentVariable("CORVANE_SCREENSHOTS"); !folder.isEmpty()) {
            QVERIFY(m.grab().save(folder + "/monitor.png"));
        }
    }

    void followsTheNewestLineUnlessScrolledUp()
    {
        AppFixture f;
        WireLog& log = f.app->wireLog();
        frmLineMonitor& m = f.app->lineMonitor();
        m.show();
        addEvents(log, 0, 300);
        QTRY_COMPARE(shownLines(m).size(), log.size()); // the batch timer delivers them
        QVERIFY(atBottom(m));
        QVERIFY(wire(m)->verticalScrollBar()->maximum() > 0);

        wire(m)->verticalScrollBar()->setValue(10); // the user reads older lines
        addEvents(log, 300, 100);
        m.flushPending();
        QCOMPARE(shownLines(m).last(), log.lines().last());
        QCOMPARE(wire(m)->verticalScrollBar()->value(), 10);

        wire(m)->verticalScrollBar()->setValue(wire(m)->verticalScrollBar()->maximum());
        addEvents(log, 400, 100);
        m.flushPending();
        QVERIFY(atBottom(m));
    }

    void catchesUpWhenShownAgain()
    {
        AppFixture f;
        WireLog& log = f.app->wireLog();
        frmLineMonitor& m = f.app->lineMonitor();
        addEvents(log, 0, 5);
        m.show();
        m.hide();
        addEvents(log, 5, 5); // nothing is drawn for a hidden monitor
        m.show();
        QCOMPARE(shownLines(m), log.lines());
        m.hide();
        // More than the ring holds went by: the view shows what the log still has.
        addEvents(log, 10, log.capacity() + 7);
        m.show();
        QCOMPARE(shownLines(m).size(), log.capacity());
        QCOMPARE(shownLines(m).first(), log.lines().first());
        QCOMPARE(shownLines(m).last(), log.lines().last());
    }

    void saveWritesTheWholeLogOverAnOldFile()
    {
        AppFixture f;
        QTemporaryDir dir;
        const QString path = dir.filePath("wire.log");
        QFile old(path);
        QVERIFY(old.open(QIODevice::WriteOnly));
        old.write(QByteArray(100000, 'x')); // longer than the log: nothing of it may remain
        old.close();
        WireLog& log = f.app->wireLog();
        addEvents(log, 0, 50);
        frmLineMonitor& m = f.app->lineMonitor();
        f.modal.fileAnswers << path;
        QTest::mouseClick(ctl<QPushButton>(m, "cmdSaveLog"), Qt::LeftButton);
        QCOMPARE(fileText(path), logText(log));
        QVERIFY(f.modal.messages().isEmpty());
        QCOMPARE(f.modal.requests.front().kind, Modal::Request::SaveFile);
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{"wire.log"}); // no leftovers

        f.modal.fileAnswers << ""; // cancelled: nothing written, nothing said
        addEvents(log, 50, 1);
        QTest::mouseClick(ctl<QPushButton>(m, "cmdSaveLog"), Qt::LeftButton);
        QVERIFY(fileText(path) != logText(log));
        QVERIFY(f.modal.messages().isEmpty());
    }

    void failedSaveNamesTheFileAndTheReason_data()
    {
        QTest::addColumn<QString>("where");
        QTest::newRow("missing folder") << "missing/wire.log";
        QTest::newRow("folder in the way") << "taken";
        QTest::newRow("file as folder") << "plain.txt/wire.log";
    }
    void failedSaveNamesTheFileAndTheReason()
    {
        QFETCH(QString, where);
        AppFixture f;
        QTemporaryDir dir;
        QVERIFY(QDir(dir.path()).mkdir("taken"));
        QFile plain(dir.filePath("plain.txt"));
        QVERIFY(plain.open(QIODevice::WriteOnly) && plain.write("keep") == 4);
        plain.close();
        addEvents(f.app->wireLog(), 0, 3);
        frmLineMonitor& m = f.app->lineMonitor();
        const QString path = dir.filePath(where);
        f.modal.fileAnswers << path;
        QTest::mouseClick(ctl<QPushButton>(m, "cmdSaveLog"), Qt::LeftButton);
        const QStringList shown = f.modal.messages();
        QCOMPARE(shown.size(), 1);
        const QString prefix = "The log could not be saved to " + path + ":\r\n";
        QVERIFY2(shown[0].startsWith(prefix), qPrintable(shown[0]));
        QVERIFY2(shown[0].size() > prefix.size() + 3, qPrintable(shown[0])); // a reason follows
        QCOMPARE(fileText(dir.filePath("plain.txt")), QByteArray("keep"));
        QVERIFY(QFileInfo(dir.filePath("taken")).isDir());
    }

    void clearEmptiesTheLogAndTheViewThenGoesOn()
    {
        AppFixture f;
        WireLog& log = f.app->wireLog();
        frmLineMonitor& m = f.app->lineMonitor();
        m.show();
        addEvents(log, 0, 20);
        m.flushPending();
        QTest::mouseClick(ctl<QPushButton>(m, "cmdClearLog"), Qt::LeftButton);
        QCOMPARE(log.size(), 0);
        QVERIFY(shownLines(m).isEmpty());
        addEvents(log, 20, 2);
        m.flushPending();
        QCOMPARE(shownLines(m), log.lines());
        QCOMPARE(shownLines(m).size(), 2);
    }

    void copyPutsTheWholeLogOnTheClipboard()
    {
        AppFixture f;
        WireLog& log = f.app->wireLog();
        addEvents(log, 0, 4);
        frmLineMonitor& m = f.app->lineMonitor();
        QGuiApplication::clipboard()->setText("before");
        QTest::mouseClick(ctl<QPushButton>(m, "cmdCopyLog"), Qt::LeftButton);
        QCOMPARE(QGuiApplication::clipboard()->text().toUtf8(), logText(log));
    }
};

CORVANE_TEST_CLASS(MonitorTest)
#include "MonitorTest.moc"
