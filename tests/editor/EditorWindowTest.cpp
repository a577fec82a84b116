// The editor window as a whole: its start-up state, captions, menus, the hidden key
// sequence, the small dialogs and ending the application.

#include "app/HiddenKeys.h"
#include "app/HighlightShape.h"
#include "app/Spinner.h"
#include "app/frmDebug.h"
#include "app/frmFileInput.h"
#include "app/frmFinder.h"
#include "app/frmHelp.h"
#include "app/frmLineMonitor.h"
#include "app/frmProblem.h"
#include "app/frmProgress.h"
#include "app/frmSimUnit.h"
#include "comm/modCorvaneComm.h"
#include "support/AppFixture.h"
#include "support/TestRunner.h"

#include <QtTest>
#include <QtWidgets>

namespace {
void typeKeys(QWidget* w, const QList<int>& keys)
{
    for (int k : keys) {
        if (k < 32) // a control character, typed as Ctrl + letter
            QTest::keyClick(w, Qt::Key(Qt::Key_A + k - 1), Qt::ControlModifier);
        else
            QTest::keyClick(w, char(k));
    }
}
} // namespace

class EditorWindowTest : public QObject
{
    Q_OBJECT
private slots:
    void startsWithDesignContents()
    {
        AppFixture f;
        frmMain& m = f.main();
        QCOMPARE(m.windowTitle(), QStringLiteral("Corvane 2.0.8(beta) - Synchronizer Parameters"));
        QCOMPARE(QStringList({ctl<QLineEdit>(m, "txtModel")->text(),
                              ctl<QLineEdit>(m, "txtChannel")->text(),
                              ctl<QLineEdit>(m, "txtStartFrame")->text(),
                              ctl<QLineEdit>(m, "txtEndFrame")->text()}),
                 (QStringList{"0", "0", "1000", "5000"}));
        QVERIFY(ctl<QRadioButton>(m, "optStartTitle")->isChecked() &&
                ctl<QRadioButton>(m, "optEndTitle")->isChecked());
        QVERIFY(ctl<QComboBox>(m, "cmbBaud")->currentIndex() == -1 &&
                !ctl<QComboBox>(m, "cmbBaud")->isVisible() &&
                !ctl<QLabel>(m, "lblBaud")->isVisible());
        // Model and channel locked; not connected; no marks.
        QVERIFY(!ctl<QLineEdit>(m, "txtModel")->isEnabled() &&
                !ctl<QLineEdit>(m, "txtChannel")->isEnabled() &&
                !ctl<Spinner>(m, "scrModel")->isVisible() &&
                !ctl<Spinner>(m, "scrChannel")->isVisible());
        QVERIFY(ctl<QLabel>(m, "imgNoSync")->isVisible() &&
                !ctl<QLabel>(m, "imgSync")->isVisible());
        for (HighlightShape* s : highlightShapes(m))
            QVERIFY(!s->isVisible());
        QVERIFY(m.model().linkedFieldsActive() && !m.model().modelChannelUnlocked());
    }

    // Every window a desktop shows in its task bar or switcher carries the application's
    // icon, at the sizes the menu entry installs.
    void everyWindowHasTheApplicationIcon()
    {
        AppFixture f(true);
        CorvaneApp& a = *f.app;
        const QList<QWidget*> windows = {&a.main(),  &a.finder(),      &a.progressWindow(),
                                         &a.help(),  &a.problem(),     &a.fileInput(),
                                         &a.debug(), &a.lineMonitor(), &a.simUnitWindow()};
        for (QWidget* w : windows) {
            const QIcon icon = w->windowIcon();
            QVERIFY2(!icon.isNull(), qPrintable(w->objectName()));
            for (int size : {48, 128, 256}) {
                QVERIFY2(icon.availableSizes().contains(QSize(size, size)),
                         qPrintable(QStringLiteral("%1 at %2").arg(w->objectName()).arg(size)));
                QCOMPARE(icon.pixmap(size).size(), QSize(size, size));
            }
        }
    }

    void captions()
    {
        // The texts with odd blanks, fonts or spellings; "*" marks bold.
        AppFixture f;
        QStringList seen;
        for (const char* name : {"cmdSaveTo", "cmdFileSave", "cmdDefaults", "rbdEnd",
                                 "fraInitStrings", "lblComment", "optEndFrame"}) {
            QWidget* w = f.main().findChild<QWidget*>(name);
            QVERIFY2(w, name);
            seen << w->property(qobject_cast<QGroupBox*>(w) ? "title" : "text").toString() +
                        (w->font().bold() ? "*" : "");
        }
        seen << ctl<QLabel>(f.main(), "imgNoSync")->toolTip()
             << ctl<QLabel>(f.main(), "imgSync")->toolTip();
        QCOMPARE(seen, (QStringList{"SAVE to Synchronizer*", " SAVE to   File", "Defaults",
                                    "End Mode", "Init Strings (58 chars. total)",
                                    "Comment (15 chars.)", "Frame Number",
                                    "Synchronizer Not Connected", "Synchronizer Connected"}));
    }

    // The captions as shown; "&" marks the underlined letter that opens an entry.
    void menusInOrder()
    {
        AppFixture f;
        QStringList seen;
        for (QAction* top : f.main().menuBar()->actions()) {
            seen << top->menu()->objectName() + "=" + top->text();
            for (QAction* a : top->menu()->actions())
                seen << a->objectName() + "=" + (a->isSeparator() ? "-" : a->text());
        }
        QCOMPARE(seen, (QStringList{
                           "menuFile=&File", "menuFileLoad=&Load from File",
                           "menuFileSave=&Save to File", "Spacer2=-", "menuExit=E&xit",
                           "menuSynchronizer=&Synchronizer", "menuConnect=&Find Synchronizer",
                           "spacer1=-", "menuLoadFrom=&Load from Synchronizer",
                           "menuSaveTo=&Save to Synchronizer", "spacerMonitor=-",
                           "menuLineMonitor=Line &Monitor", "menuHep=&Help", "menuAbout=&About"}));
    }

    void hiddenKeySequence_data()
    {
        QTest::addColumn<QList<int>>("keys");
        QTest::addColumn<QString>("state");
        const int a = HiddenKeys::First, b = HiddenKeys::Second, x = 'x';
        QTest::newRow("first then second") << QList<int>{a, b} << "unlocked";
        QTest::newRow("twice locks again") << QList<int>{a, b, a, b} << "locked";
        QTest::newRow("other key between") << QList<int>{a, x, b} << "locked marked";
        QTest::newRow("first twice") << QList<int>{a, a, b} << "locked marked";
        QTest::newRow("second alone") << QList<int>{b} << "locked marked";
        QTest::newRow("second, then the sequence") << QList<int>{b, a, b} << "unlocked";
        QTest::newRow("after a disarmed try") << QList<int>{a, a, a, b} << "unlocked";
    }

    void hiddenKeySequence()
    {
        QFETCH(QList<int>, keys);
        QFETCH(QString, state);
        AppFixture f;
        frmMain& m = f.main();
        EditorModel& e = m.model();
        e.setModelChannelMarked(true);
        ctl<QLineEdit>(m, "txtComment")->setFocus();
        typeKeys(ctl<QLineEdit>(m, "txtComment"), keys);
        QCOMPARE(QString(e.modelChannelUnlocked() ? "unlocked" : "locked") +
                     (e.modelChannelMarked() ? " marked" : ""),
                 state);
        const bool open = e.modelChannelUnlocked();
        QCOMPARE(QList<bool>({ctl<QLineEdit>(m, "txtModel")->isEnabled(),
                              ctl<QLineEdit>(m, "txtChannel")->isEnabled(),
                              ctl<Spinner>(m, "scrModel")->isVisible(),
                              ctl<Spinner>(m, "scrChannel")->isVisible()}),
                 QList<bool>(4, open));
        // The window looks at every key first but never swallows one.
        QCOMPARE(ctl<QLineEdit>(m, "txtComment")->text(), QString(keys.contains('x') ? "x" : ""));
    }

    void lockHoldsDuringTransfer()
    {
        // A save and its compare must agree on whether model and channel take part.
        AppFixture f;
        frmMain& m = f.main();
        const QList<int> sequence{HiddenKeys::First, HiddenKeys::Second};
        f.main().model().setTransferRunning(true);
        ctl<QLineEdit>(m, "txtComment")->setFocus();
        typeKeys(ctl<QLineEdit>(m, "txtComment"), sequence);
        QVERIFY(!m.model().modelChannelUnlocked() && !ctl<QLineEdit>(m, "txtModel")->isEnabled());
        f.main().model().setTransferRunning(false);
        typeKeys(ctl<QLineEdit>(m, "txtComment"), sequence);
        QVERIFY(m.model().modelChannelUnlocked() && ctl<QLineEdit>(m, "txtModel")->isEnabled());
    }

    void menuEntryKeepsTheFocus()
    {
        AppFixture f;
        frmMain& m = f.main();
        ctl<QRadioButton>(m, "optStartFrame")->setChecked(true);
        ctl<QLineEdit>(m, "txtStartFrame")->setFocus();
        ctl<QLineEdit>(m, "txtStartFrame")->setText("12abc");
        // A menu entry runs the handler without moving the focus: the frame is not checked.
        ctl<QAction>(m, "menuSaveTo")->trigger();
        QCOMPARE(QApplication::focusWidget(), ctl<QLineEdit>(m, "txtStartFrame"));
        QCOMPARE(ctl<QLineEdit>(m, "txtStartFrame")->text(), QStringLiteral("12abc"));
        // A click on a button moves the focus, and the check runs first.
        QTest::mouseClick(ctl<QPushButton>(m, "cmdDefaults"), Qt::LeftButton);
        QCOMPARE(ctl<QLineEdit>(m, "txtStartFrame")->text(), QStringLiteral("1"));
    }

    void exitAndCloseEndTheApplication()
    {
        AppFixture f;
        QTest::mouseClick(ctl<QPushButton>(f.main(), "cmdExit"), Qt::LeftButton);
        QCOMPARE(f.endRequests, 1);
        ctl<QAction>(f.main(), "menuExit")->trigger();
        QCOMPARE(f.endRequests, 2);
        f.main().close();
        QCOMPARE(f.endRequests, 3);
        QVERIFY(f.modal.requests.empty()); // nothing is asked
    }

    // The real end: the line closes first, a command waiting on it stops waiting at once,
    // and the event loop returns 0, so that main returns and every destructor runs.
    void exitEndsEveryEventLoop()
    {
        AppFixture f(true); // the demo's unit on COM1
        CorvaneApp& a = *f.app;
        CommContext c = a.comm();
        QVERIFY(modCorvaneComm::OpenSyncPort(c, 1));
        a.endHandler = nullptr;
        bool waitEnded = false;
        QTimer::singleShot(0, [&] {
            QTimer::singleShot(50, [&] { f.main().close(); });
            modCorvaneComm::Pause(c, 20000); // a command waiting on the line
            waitEnded = true;
        });
        QElapsedTimer clock;
        clock.start();
        QCOMPARE(QCoreApplication::exec(), 0);
        QVERIFY(waitEnded);
        QVERIFY2(clock.elapsed() < 10000, qPrintable(QString::number(clock.elapsed())));
        QVERIFY(!a.serial().PortOpen());
        QVERIFY(f.modal.requests.empty());
    }

    void aboutAndProblemWindows()
    {
        // Each is modal, shows its texts and closes on OK; About opens again.
        AppFixture f;
        QStringList seen;
        f.modal.onDialog = [&](const Modal::Request& r) {
            QVERIFY(r.dialog->isVisible() && r.dialog->isModal());
            // A child of the editor: centred on it, no taskbar entry of its own.
            QCOMPARE(r.dialog->parentWidget(), &f.main());
            QVERIFY(r.dialog->isWindow());
            seen << r.dialog->windowTitle();
            if (auto* h = qobject_cast<frmHelp*>(r.dialog)) {
                seen << h->lblHelp->text() << h->lblHelp2->text();
                QTest::mouseClick(h->cmdOK, Qt::LeftButton);
            } else if (auto* p = qobject_cast<frmProblem*>(r.dialog)) {
                seen << p->txtProblem->toPlainText() + (p->txtProblem->isReadOnly() ? "" : "!");
                QTest::mouseClick(p->cmdOK, Qt::LeftButton);
            }
            QVERIFY(!r.dialog->isVisible());
        };
        ctl<QAction>(f.main(), "menuAbout")->trigger();
        ctl<QAction>(f.main(), "menuAbout")->trigger();
        f.app->showProblem(QStringLiteral("Cannot Load! Serial port is not available\r\nUse it"));
        const QStringList about{"About Corvane", "Corvane vers. 2.0.8(beta)",
                                "For programming Orbelin Synchronizers"};
        const QStringList problem{"Problem", "Cannot Load! Serial port is not available\nUse it"};
        QCOMPARE(seen, about + about + problem);
    }

    void progressCancel()
    {
        AppFixture f;
        frmProgress& p = f.app->progressWindow();
        QVERIFY(!p.isModal());
        ctl<QProgressBar>(p, "ProgressBar1")->setMaximum(60);
        p.setBar(0);
        p.showNow();
        QVERIFY(p.isVisible());
        p.advance(70); // held within the maximum
        QCOMPARE(ctl<QProgressBar>(p, "ProgressBar1")->value(), 60);
        QSignalSpy cancelled(&p.cancelNotifier(), &CancelNotifier::cancelled);
        QTest::mouseClick(ctl<QPushButton>(p, "cmdCancel"), Qt::LeftButton);
        QVERIFY(!p.isVisible());
        QCOMPARE(cancelled.size(), 1);
        QCOMPARE(&f.app->progressWindow(), &p); // only hidden, never destroyed
    }
};

CORVANE_TEST_CLASS(EditorWindowTest)
#include "EditorWindowTest.moc"