// The editor window as a whole: the hidden key sequence (which presses complete it),
// ending the application, the fields each mode shows, About, and use without a mouse: Tab
// in reading order and the menus from the keyboard, in the editor and in the finder.

#include "app/AccessibleNames.h"
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
        w = qobject_cast<const QGroupBox*>(w->parentWidget()) ? w->parentWidget() : w;
        return QRect(w->mapTo(w->window(), QPoint(0, 0)), w->size());
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
    for (QWidget* w : first->window()->findChildren<QWidget*>())
        if (w->isVisible() && w->isEnabled() && (w->focusPolicy() & Qt::TabFocus) &&
            !(qobject_cast<QRadioButton*>(w) && !w->property("checked").toBool()) &&
            !chain.contains(w))
            return w->objectName() + " is not reached";
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
    // What the screen reader's walk (tests/a11y) does not reach: the exact names spoken
    // for a spinner shown only while unlocked, a mode option and an init-string box, and a
    // value set through a spinner out of range, held at its maximum with the box following.
    void spokenNamesAndAnOutOfRangeValue()
    {
        AppFixture f;
        const std::pair<const char*, const char*> names[] = {{"scrModel", "Model"},
                                                             {"optEndTitle", "End mode: Title"},
                                                             {"txtInitStr2", "Init String 2"}};
        for (const auto& [control, name] : names)
            QCOMPARE(ctl<QWidget>(f.main(), control)->accessibleName(), QString(name));
        auto* s = ctl<Spinner>(f.main(), "scrStartTitle");
        QAccessibleInterface* a = QAccessible::queryAccessibleInterface(s);
        a->valueInterface()->setCurrentValue(500);
        QCOMPARE(a->text(QAccessible::Value), QString("98"));
        QCOMPARE(ctl<QLineEdit>(f.main(), "txtStartTitle")->text(), QString("98"));
    }

    // Tab and Shift+Tab into a mode group land on its selected option, also when Defaults
    // selected it after the user had chosen another; the arrow keys still move in the group.
    void tabLandsOnTheSelectedOption()
    {
        AppFixture f;
        frmMain& m = f.main();
        QApplication::setActiveWindow(&m);
        QVERIFY(QTest::qWaitForWindowActive(&m));
        QTest::mouseClick(ctl<QRadioButton>(m, "optStartTimecode"), Qt::LeftButton);
        QTest::mouseClick(ctl<QPushButton>(m, "cmdDefaults"), Qt::LeftButton); // both Chapter
        const auto optionsReached = [&](const char* from, Qt::Key key) {
            ctl<QPushButton>(m, from)->setFocus(Qt::TabFocusReason);
            QStringList reached;
            for (int i = 0; i < 8; ++i) {
                QTest::keyClick(QApplication::focusWidget(), key);
                if (qobject_cast<QRadioButton*>(QApplication::focusWidget()))
                    reached << QApplication::focusWidget()->objectName();
            }
            return reached;
        };
        QCOMPARE(optionsReached("cmdExit", Qt::Key_Tab),
                 QStringList({"optStartChapter", "optEndChapter"}));
        QCOMPARE(optionsReached("cmdSaveTo", Qt::Key_Backtab),
                 QStringList({"optEndChapter", "optStartChapter"}));
        ctl<QRadioButton>(m, "optStartChapter")->setFocus(Qt::TabFocusReason);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Right);
        QVERIFY(ctl<QRadioButton>(m, "optStartTimecode")->hasFocus());
        QVERIFY(ctl<QRadioButton>(m, "optStartTimecode")->isChecked());
    }

    // A message laid out in short lines is heard as sentences: the lines of a paragraph run
    // on, paragraphs stay apart, and spaces at the ends of lines do not pile up.
    void messagesAreHeardAsSentences_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("heard");
        QTest::newRow("heading and lines") << "ERROR!\r\nThere were some\r\nerrors."
                                           << "ERROR! There were some errors.";
        QTest::newRow("space before the break") << "in them. \r\nFields"
                                                << "in them. Fields";
        QTest::newRow("paragraphs") << "a\r\nb\r\n\r\nc\r\n"
                                    << "a b\nc";
        QTest::newRow("several blank lines, LF only") << "a\n\n\n\nb"
                                                      << "a\nb";
        QTest::newRow("one line") << "Serial port is not available"
                                  << "Serial port is not available";
    }
    void messagesAreHeardAsSentences()
    {
        QFETCH(QString, text);
        QFETCH(QString, heard);
        QCOMPARE(AccessibleNames::flowingText(text), heard);
    }

    // The hidden key sequence unlocks model and channel and clears their mark; typed again
    // it locks them. Anything else between its two keys disarms it.
    void hiddenKeySequence()
    {
        // Keys (a and b: the sequence's two, x: another), whether a save or load runs
        // meanwhile, and the lock after. A save and its compare must agree on whether model
        // and channel take part, so a transfer holds the lock.
        const std::tuple<QString, bool, QString> rows[] = {
            {"ab", false, "unlocked"},       {"abab", false, "locked"},
            {"axb", false, "locked marked"}, {"aab", false, "locked marked"},
            {"b", false, "locked marked"},   {"ab", true, "locked marked"}};
        const QMap<QChar, int> code{{'a', HiddenKeys::First}, {'b', HiddenKeys::Second}};
        for (const auto& [keys, transfer, state] : rows) {
            AppFixture f;
            EditorModel& e = f.main().model();
            e.setModelChannelMarked(true);
            e.setTransferRunning(transfer);
            auto* comment = ctl<QLineEdit>(f.main(), "txtComment");
            comment->setFocus();
            for (const QChar k : keys) // the sequence's keys are control characters
                code.contains(k) ? QTest::keyClick(comment, Qt::Key(Qt::Key_A - 1 + code[k]),
                                                   Qt::ControlModifier)
                                 : QTest::keyClick(comment, k.toLatin1());
            QCOMPARE(keys + (e.modelChannelUnlocked() ? " unlocked" : " locked") +
                         (e.modelChannelMarked() ? " marked" : ""),
                     keys + " " + state);
            // The window looks at every key first but never swallows one.
            QCOMPARE(comment->text(), QString(keys.contains('x') ? "x" : ""));
        }
    }

    // The menu entry Exit ends the application, asking nothing (the button is tried during
    // a load, tests/transfer); so does the close box, for real: the line closes first, a
    // command waiting on it holds nothing up, and the event loop returns 0 at once, so that
    // main returns and every destructor runs.
    void exitEndsTheApplication()
    {
        AppFixture f(true); // the demo's unit on COM1
        ctl<QAction>(f.main(), "menuExit")->trigger();
        QCOMPARE(f.endRequests, 1);
        CommContext c = f.app->comm();
        QCOMPARE(awaited(modCorvaneComm::OpenSyncPort(c, 1)).number, 0);
        f.app->endHandler = nullptr;
        QElapsedTimer clock;
        QTimer::singleShot(0, [&] {
            QTimer::singleShot(50, &f.main(), &QWidget::close);
            clock.start();
            Await::start(modCorvaneComm::Pause(c, 20000)); // a command waiting on the line
        });
        QTimer::singleShot(30000, &f.main(), [] { QCoreApplication::exit(1); }); // not ended
        QCOMPARE(QCoreApplication::exec(), 0);
        // The waiting command did not hold the end up.
        const qint64 waited = clock.isValid() ? clock.elapsed() : -1;
        QVERIFY2(waited >= 0 && waited < 10000, qPrintable(QString::number(waited)));
        QVERIFY(!f.app->serial().PortOpen() && f.modal.requests.empty());
    }

    // Each mode of both option groups shows its fields, and Tab reaches every control in
    // reading order.
    void modesAndTabOrder()
    {
        AppFixture f;
        frmMain& m = f.main();
        m.model().setModelChannelUnlocked(true); // model and channel take part too
        // Each mode in turn, so that the option really changes, and the fields shown on the
        // start side | on the end side.
        const std::pair<QString, QString> modes[] = {
            {"Chapter", "Title Chapter|Chapter"},
            {"Timecode", "Title Minutes Seconds|Minutes Seconds"},
            {"Frame", "Title Frame|Frame"},
            {"Title", "Title|Title"}};
        for (const auto& [mode, shown] : modes) {
            QStringList seen;
            for (const QString side : {"Start", "End"}) {
                QTest::mouseClick(ctl<QRadioButton>(m, "opt" + side + mode), Qt::LeftButton);
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
            QCOMPARE(mode + ": " + seen.join('|'), mode + ": " + shown);
            QCOMPARE(mode + ": " + tabFault(ctl<Spinner>(m, "scrModel")), mode + ": ");
        }
    }

    // Alt and the underlined letter opens that menu, F10 the first one, in the editor and
    // in the finder; the finder's Tab too goes in reading order. About opens from its menu
    // entry as a modal child of the editor (centred on it, no taskbar entry of its own),
    // closes on OK, and opens again.
    void menusAboutAndFinder()
    {
        AppFixture f;
        QCOMPARE(menuOpenedBy(f.main(), Qt::Key_F10), "menuFile");
        QCOMPARE(menuOpenedBy(f.main(), Qt::Key_H), "menuHep");
        int closed = 0;
        f.modal.onDialog = [&](const Modal::Request& r) {
            auto* about = qobject_cast<frmHelp*>(r.dialog);
            QVERIFY(about && about->isVisible() && about->isModal());
            QCOMPARE(about->parentWidget(), &f.main());
            QTest::mouseClick(about->cmdOK, Qt::LeftButton);
            closed += about->isVisible() ? 0 : 1;
        };
        ctl<QAction>(f.main(), "menuAbout")->trigger();
        ctl<QAction>(f.main(), "menuAbout")->trigger();
        QCOMPARE(closed, 2);
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
