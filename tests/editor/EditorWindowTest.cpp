// The editor window as a whole: About, the hidden key sequence, ending the application,
// the fields each mode shows, and use without a mouse: Tab in reading order and the menus
// from the keyboard, in the editor and in the finder.

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

// The menu that `key` opens in `w` (F10 alone, a letter with Alt), closed again after.
QString menuOpenedBy(QMainWindow& w, Qt::Key key)
{
    QTest::keyClick(&w, key, key == Qt::Key_F10 ? Qt::NoModifier : Qt::AltModifier);
    const QAction* open = w.menuBar()->activeAction();
    const QString menu = open && open->menu() ? open->menu()->objectName() : "no menu";
    w.menuBar()->setActiveAction(nullptr);
    return menu;
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
        int closed = 0;
        f.modal.onDialog = [&](const Modal::Request& r) {
            auto* about = qobject_cast<frmHelp*>(r.dialog);
            QVERIFY(about && about->isVisible() && about->isModal());
            QCOMPARE(about->parentWidget(), &f.main());
            QTest::mouseClick(about->cmdOK, Qt::LeftButton);
            closed += about->isVisible() ? 0 : 1;
        };
        for (int times : {1, 2}) {
            ctl<QAction>(f.main(), "menuAbout")->trigger();
            QCOMPARE(closed, times);
        }
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
        EditorModel& e = f.main().model();
        e.setModelChannelMarked(true);
        e.setTransferRunning(transfer);
        auto* comment = ctl<QLineEdit>(f.main(), "txtComment");
        comment->setFocus();
        for (int k : keys) // a control character typed as Ctrl + letter
            k < 32 ? QTest::keyClick(comment, Qt::Key(Qt::Key_A + k - 1), Qt::ControlModifier)
                   : QTest::keyClick(comment, char(k));
        QCOMPARE(QString(e.modelChannelUnlocked() ? "unlocked" : "locked") +
                     (e.modelChannelMarked() ? " marked" : ""),
                 state);
        // Model and channel take input only while unlocked.
        for (const char* name : {"txtModel", "txtChannel", "scrModel", "scrChannel"}) {
            const QWidget* w = ctl<QWidget>(f.main(), name);
            QVERIFY2((w->isEnabled() && w->isVisible()) == e.modelChannelUnlocked(), name);
        }
        // The window looks at every key first but never swallows one.
        QCOMPARE(comment->text(), QString(keys.contains('x') ? "x" : ""));
    }

    // Exit, its menu entry and the close box each end the application, asking nothing. The
    // real end: the line closes first, a command waiting on it stops waiting at once, and
    // the event loop returns 0, so that main returns and every destructor runs.
    void exitEndsTheApplication()
    {
        AppFixture f(true); // the demo's unit on COM1
        QTest::mouseClick(ctl<QPushButton>(f.main(), "cmdExit"), Qt::LeftButton);
        QCOMPARE(f.endRequests, 1);
        ctl<QAction>(f.main(), "menuExit")->trigger();
        QCOMPARE(f.endRequests, 2);
        f.main().close();
        QCOMPARE(f.endRequests, 3);
        f.main().show();
        CommContext c = f.app->comm();
        QVERIFY(modCorvaneComm::OpenSyncPort(c, 1));
        f.app->endHandler = nullptr;
        qint64 waited = -1;
        QTimer::singleShot(0, [&] {
            QTimer::singleShot(50, &f.main(), &QWidget::close);
            QElapsedTimer clock;
            clock.start();
            modCorvaneComm::Pause(c, 20000); // a command waiting on the line
            waited = clock.elapsed();
        });
        QTimer::singleShot(30000, &f.main(), [] { QCoreApplication::exit(1); }); // not ended
        QCOMPARE(QCoreApplication::exec(), 0);
        QVERIFY2(waited >= 0 && waited < 10000, qPrintable(QString::number(waited)));
        QVERIFY(!f.app->serial().PortOpen() && f.modal.requests.empty());
    }

    // Each mode of both option groups shows its fields, and Tab reaches every control in
    // reading order. The row's name is the mode.
    void modesAndTabOrder_data()
    {
        QTest::addColumn<QString>("shown"); // start side | end side
        QTest::newRow("Title") << "Title|Title";
        QTest::newRow("Chapter") << "Title Chapter|Chapter";
        QTest::newRow("Timecode") << "Title Minutes Seconds|Minutes Seconds";
        QTest::newRow("Frame") << "Title Frame|Frame";
    }
    void modesAndTabOrder()
    {
        QFETCH(QString, shown);
        const QString mode = QTest::currentDataTag();
        AppFixture f;
        frmMain& m = f.main();
        m.model().setModelChannelUnlocked(true); // model and channel take part too
        auto click = [&](const QString& name) {
            QTest::mouseClick(ctl<QRadioButton>(m, name), Qt::LeftButton);
        };
        QStringList seen;
        for (const QString side : {"Start", "End"}) {
            click("opt" + side + (mode == "Frame" ? "Chapter" : "Frame")); // so that it changes
            click("opt" + side + mode);
            // A field is listed when its label, box and spinner show; "!" when only some do.
            QStringList fields;
            for (const QString field : {"Title", "Chapter", "Minutes", "Seconds", "Frame"}) {
                QString shows; // 1 or 0 for each of its parts
                for (const QString kind : {"lbl", "txt", "scr"})
                    if (const QWidget* w = m.findChild<QWidget*>(kind + side + field))
                        shows += w->isVisible() ? '1' : '0';
                if (shows.contains('1'))
                    fields << field + (shows.contains('0') ? "!" : "");
            }
            seen << fields.join(' ');
        }
        QCOMPARE(seen.join('|'), shown);
        QCOMPARE(tabFault(ctl<Spinner>(m, "scrModel")), QString());
    }

    // Alt and the underlined letter opens that menu, F10 the first one, in the editor and
    // in the finder; the finder's Tab too goes in reading order.
    void menusAndFinderFromTheKeyboard()
    {
        AppFixture f;
        QCOMPARE(menuOpenedBy(f.main(), Qt::Key_F10), "menuFile");
        QCOMPARE(menuOpenedBy(f.main(), Qt::Key_H), "menuHep");
        frmFinder& finder = f.app->finder();
        f.app->showFinderFromEditor();
        QApplication::setActiveWindow(&finder);
        QVERIFY(QTest::qWaitForWindowActive(&finder));
        QCOMPARE(menuOpenedBy(finder, Qt::Key_F10), "menuFile");
        QCOMPARE(menuOpenedBy(finder, Qt::Key_S), "menuSynchro");
        QCOMPARE(tabFault(ctl<QComboBox>(finder, "cmbPort")), QString());
    }
};

CORVANE_TEST_CLASS(EditorWindowTest)
#include "EditorWindowTest.moc"
