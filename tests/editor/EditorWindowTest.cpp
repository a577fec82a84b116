// The editor window as a whole: About, the hidden key sequence, ending the application,
// the fields each mode shows, and use without a mouse: Tab in reading order and the menus
// from the keyboard.

#include "app/HiddenKeys.h"
#include "app/Spinner.h"
#include "app/frmFinder.h"
#include "app/frmHelp.h"
#include "comm/modCorvaneComm.h"
#include "support/AppFixture.h"
#include "support/TestRunner.h"

#include <QtTest>
#include <QtWidgets>

namespace {
// Presses Tab from `first` until the focus comes back to it, and tells what is wrong: a
// control that takes Tab but is not reached (of a group of options only the selected one
// is), or two stops out of reading order. Rows run from the top, each from the left: a
// stop on the same row (tops within half the lower one's height) lies to the right of the
// one before; otherwise below it. A control in a group takes the group's turn.
QString tabFault(QWidget* first)
{
    auto place = [](const QWidget* w) {
        const QWidget* stop =
            qobject_cast<const QGroupBox*>(w->parentWidget()) ? w->parentWidget() : w;
        return QRect(stop->mapTo(stop->window(), QPoint(0, 0)), stop->size());
    };
    first->setFocus(Qt::TabFocusReason);
    QList<QWidget*> chain{first};
    while (chain.size() < 80) {
        QTest::keyClick(chain.last(), Qt::Key_Tab);
        QWidget* next = QApplication::focusWidget();
        if (!next || next == first)
            break;
        const QRect a = place(chain.last()), b = place(next);
        const bool sameRow = std::abs(b.top() - a.top()) <= std::min(a.height(), b.height()) / 2;
        if (a != b && (sameRow ? b.left() <= a.left() : b.top() <= a.top()))
            return chain.last()->objectName() + " -> " + next->objectName();
        chain << next;
    }
    for (QWidget* w : first->window()->findChildren<QWidget*>()) {
        const auto* option = qobject_cast<const QRadioButton*>(w);
        if (w->isVisible() && w->isEnabled() && (w->focusPolicy() & Qt::TabFocus) &&
            !(option && !option->isChecked()) && !chain.contains(w))
            return w->objectName() + " is not reached";
    }
    return {};
}

void activateFinder(AppFixture& f)
{
    f.app->showFinderFromEditor();
    QApplication::setActiveWindow(&f.app->finder());
    QVERIFY(QTest::qWaitForWindowActive(&f.app->finder()));
}
} // namespace

class EditorWindowTest : public QObject
{
    Q_OBJECT
private slots:
    // About opens from its menu entry as a modal child of the editor (centred on it, no
    // taskbar entry of its own), closes on OK, and opens again.
    void aboutWindow()
    {
        AppFixture f;
        QStringList seen;
        f.modal.onDialog = [&](const Modal::Request& r) {
            auto* about = qobject_cast<frmHelp*>(r.dialog);
            QVERIFY(about && about->isVisible() && about->isModal() && about->isWindow());
            QCOMPARE(about->parentWidget(), &f.main());
            seen << about->windowTitle();
            QTest::mouseClick(about->cmdOK, Qt::LeftButton);
            QVERIFY(!about->isVisible());
        };
        ctl<QAction>(f.main(), "menuAbout")->trigger();
        ctl<QAction>(f.main(), "menuAbout")->trigger();
        QCOMPARE(seen, QStringList({"About Corvane", "About Corvane"}));
    }

    void hiddenKeySequence_data()
    {
        QTest::addColumn<QList<int>>("keys");
        QTest::addColumn<bool>("transfer"); // a save or load runs meanwhile
        QTest::addColumn<QString>("state");
        const int a = HiddenKeys::First, b = HiddenKeys::Second, x = 'x';
        QTest::newRow("first then second") << QList<int>{a, b} << false << "unlocked";
        QTest::newRow("twice locks again") << QList<int>{a, b, a, b} << false << "locked";
        QTest::newRow("other key between") << QList<int>{a, x, b} << false << "locked marked";
        QTest::newRow("first twice") << QList<int>{a, a, b} << false << "locked marked";
        QTest::newRow("second alone") << QList<int>{b} << false << "locked marked";
        QTest::newRow("second, then the sequence") << QList<int>{b, a, b} << false << "unlocked";
        QTest::newRow("after a disarmed try") << QList<int>{a, a, a, b} << false << "unlocked";
        // A save and its compare must agree on whether model and channel take part.
        QTest::newRow("held during a transfer") << QList<int>{a, b} << true << "locked marked";
    }
    void hiddenKeySequence()
    {
        QFETCH(QList<int>, keys);
        QFETCH(bool, transfer);
        QFETCH(QString, state);
        AppFixture f;
        frmMain& m = f.main();
        EditorModel& e = m.model();
        e.setModelChannelMarked(true);
        e.setTransferRunning(transfer);
        auto* comment = ctl<QLineEdit>(m, "txtComment");
        comment->setFocus();
        for (int k : keys) // a control character typed as Ctrl + letter
            k < 32 ? QTest::keyClick(comment, Qt::Key(Qt::Key_A + k - 1), Qt::ControlModifier)
                   : QTest::keyClick(comment, char(k));
        QCOMPARE(QString(e.modelChannelUnlocked() ? "unlocked" : "locked") +
                     (e.modelChannelMarked() ? " marked" : ""),
                 state);
        // Model and channel take input only while unlocked.
        for (const char* name : {"txtModel", "txtChannel", "scrModel", "scrChannel"})
            QVERIFY2((ctl<QWidget>(m, name)->isEnabled() && ctl<QWidget>(m, name)->isVisible()) ==
                         e.modelChannelUnlocked(),
                     name);
        // The window looks at every key first but never swallows one.
        QCOMPARE(comment->text(), QString(keys.contains('x') ? "x" : ""));
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

    // Each mode of both option groups shows its fields, and Tab reaches every control in
    // reading order; the last row is the finder's Tab.
    void modesAndTabOrder_data()
    {
        QTest::addColumn<QString>("mode");
        QTest::addColumn<QStringList>("shown"); // start side, end side
        QTest::newRow("Title") << "Title" << QStringList{"Title", "Title"};
        QTest::newRow("Chapter") << "Chapter" << QStringList{"Title Chapter", "Chapter"};
        QTest::newRow("Time") << "Timecode"
                              << QStringList{"Title Minutes Seconds", "Minutes Seconds"};
        QTest::newRow("Frame") << "Frame" << QStringList{"Title Frame", "Frame"};
        QTest::newRow("finder") << QString() << QStringList();
    }
    void modesAndTabOrder()
    {
        QFETCH(QString, mode);
        QFETCH(QStringList, shown);
        AppFixture f;
        frmMain& m = f.main();
        if (mode.isEmpty()) {
            activateFinder(f);
            QCOMPARE(tabFault(ctl<QComboBox>(f.app->finder(), "cmbPort")), QString());
            return;
        }
        m.model().setModelChannelUnlocked(true); // model and channel take part too
        QStringList seen;
        for (const QString side : {"Start", "End"}) {
            // Leave another mode first so that the option really changes.
            const QString other = mode == "Frame" ? "Chapter" : "Frame";
            QTest::mouseClick(ctl<QRadioButton>(m, "opt" + side + other), Qt::LeftButton);
            QTest::mouseClick(ctl<QRadioButton>(m, "opt" + side + mode), Qt::LeftButton);
            // A field is listed when its label, box and spinner show; "!" when only some do.
            QStringList fields;
            for (const QString field : {"Title", "Chapter", "Minutes", "Seconds", "Frame"}) {
                int visible = 0, all = 0;
                for (const QString kind : {"lbl", "txt", "scr"})
                    if (QWidget* w = m.findChild<QWidget*>(kind + side + field)) {
                        ++all;
                        visible += w->isVisible() ? 1 : 0;
                    }
                if (visible > 0)
                    fields << field + (visible == all ? "" : "!");
            }
            seen << fields.join(' ');
        }
        QCOMPARE(seen, shown);
        QCOMPARE(tabFault(ctl<Spinner>(m, "scrModel")), QString());
    }

    // Alt and the underlined letter opens that menu; F10 opens the first one.
    void menusFromTheKeyboard_data()
    {
        QTest::addColumn<bool>("finder");
        QTest::addColumn<int>("key");
        QTest::addColumn<QString>("menu");
        QTest::newRow("editor Alt+S") << false << int(Qt::Key_S) << "menuSynchronizer";
        QTest::newRow("editor Alt+H") << false << int(Qt::Key_H) << "menuHep";
        QTest::newRow("editor F10") << false << int(Qt::Key_F10) << "menuFile";
        QTest::newRow("finder Alt+S") << true << int(Qt::Key_S) << "menuSynchro";
        QTest::newRow("finder F10") << true << int(Qt::Key_F10) << "menuFile";
    }
    void menusFromTheKeyboard()
    {
        QFETCH(bool, finder);
        QFETCH(int, key);
        QFETCH(QString, menu);
        AppFixture f;
        if (finder)
            activateFinder(f);
        QMainWindow* w = finder ? static_cast<QMainWindow*>(&f.app->finder()) : &f.main();
        QTest::keyClick(w, Qt::Key(key), key == Qt::Key_F10 ? Qt::NoModifier : Qt::AltModifier);
        QAction* active = w->menuBar()->activeAction();
        QVERIFY2(active && active->menu(), "no menu is open");
        QCOMPARE(active->menu()->objectName(), menu);
        QTest::keyClick(QApplication::activePopupWidget() ? QApplication::activePopupWidget()
                                                          : w->menuBar(),
                        Qt::Key_Escape);
    }
};

CORVANE_TEST_CLASS(EditorWindowTest)
#include "EditorWindowTest.moc"
