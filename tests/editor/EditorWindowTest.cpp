// The editor window as a whole: the hidden key sequence (which presses complete it),
// ending the application, the fields each mode shows, About, and use without a mouse: Tab
// in reading order and the menus from the keyboard, in the editor and in the finder.

#include "app/AccessibleNames.h"
#include "app/HiddenKeys.h"
#include "app/Spinner.h"
#include "app/frmFinder.h"
#include "app/frmHelp.h"
#include "comm/modCorvaneComm.h"
#include "support/TestRunner.h"
#include "support/WindowStory.h"

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

// The editor's story with what a keyboard user meets: "marked" (model and channel marked),
// "speak scrStartTitle 500" (a value set through the screen reader), "about" (its menu
// entry, OK clicked in the box, which must close it), "finder" (the finder shown and active); the facts
// spoken:NAME and value:NAME (a control's name and value as read out), shows (the fields each side
// shows), tab:WINDOW/NAME (tabFault from that control), reached:NAME/KEY (the options eight presses
// of the key reach from there), menu:WINDOW/KEYS (the menu they open, closed again after).
class KeyboardStory : public WindowStory
{
public:
    KeyboardStory() : WindowStory(false) {}

protected:
    QMainWindow& window(const QString& name)
    {
        return name == "finder" ? static_cast<QMainWindow&>(fx.app->finder()) : main();
    }
    bool step(const QString& verb, const QString& rest) override
    {
        if (verb == "marked")
            main().model().setModelChannelMarked(true);
        else if (verb == "speak")
            QAccessible::queryAccessibleInterface(ctl<Spinner>(main(), rest.section(' ', 0, 0)))
                ->valueInterface()
                ->setCurrentValue(rest.section(' ', 1).toInt());
        else if (verb == "about") { // true once the box has closed on OK
            bool closed = false;
            fx.modal.onDialog = [&](const Modal::Request& r) {
                auto* about = qobject_cast<frmHelp*>(r.dialog);
                if (about && about->isVisible() && about->isModal() &&
                    about->parentWidget() == &main()) // a modal child of the editor
                    QTest::mouseClick(about->cmdOK, Qt::LeftButton);
                closed = about && !about->isVisible();
            };
            ctl<QAction>(main(), "menuAbout")->trigger();
            fx.modal.onDialog = nullptr;
            return closed;
        } else if (verb == "finder") {
            fx.app->showFinderFromEditor();
            QApplication::setActiveWindow(&fx.app->finder());
            return QTest::qWaitForWindowActive(&fx.app->finder());
        } else
            return WindowStory::step(verb, rest);
        return true;
    }
    QString fact(const QString& key) override
    {
        const QString what = key.section(':', 0, 0), on = key.section(':', 1);
        if (what == "spoken")
            return ctl<QWidget>(main(), on)->accessibleName();
        if (what == "value")
            return QAccessible::queryAccessibleInterface(ctl<QWidget>(main(), on))
                ->text(QAccessible::Value);
        if (what == "tab")
            return tabFault(ctl<QWidget>(window(on.section('/', 0, 0)), on.section('/', 1)));
        if (what == "menu") { // F10 alone, a letter with Alt
            QMainWindow& w = window(on.section('/', 0, 0));
            QTest::keySequence(&w, QKeySequence::fromString(on.section('/', 1)));
            const QAction* open = w.menuBar()->activeAction();
            w.menuBar()->setActiveAction(nullptr);
            return open && open->menu() ? open->menu()->objectName() : "no menu";
        }
        if (what == "reached") {
            ctl<QWidget>(main(), on.section('/', 0, 0))->setFocus(Qt::TabFocusReason);
            QStringList reached;
            for (int i = 0; i < 8; ++i) {
                QTest::keySequence(QApplication::focusWidget(),
                                   QKeySequence::fromString(on.section('/', 1)));
                if (qobject_cast<QRadioButton*>(QApplication::focusWidget()))
                    reached << QApplication::focusWidget()->objectName();
            }
            return reached.join('|');
        }
        if (key == "shows") { // a field when its label, box and spinner show; "!" when some do
            QStringList seen;
            for (const QString side : {"Start", "End"}) {
                QStringList fields;
                for (const QString field : {"Title", "Chapter", "Minutes", "Seconds", "Frame"}) {
                    QString shows; // 1 or 0 for each of its parts
                    for (const QString kind : {"lbl", "txt", "scr"})
                        if (const QWidget* w = main().findChild<QWidget*>(kind + side + field))
                            shows += w->isVisible() ? '1' : '0';
                    if (shows.contains('1'))
                        fields << field + (shows.contains('0') ? "!" : "");
                }
                seen << fields.join(' ');
            }
            return seen.join('|');
        }
        return WindowStory::fact(key);
    }
};
} // namespace

class EditorWindowTest : public QObject
{
    Q_OBJECT
private slots:
    void stories_data()
    {
        QTest::addColumn<QStringList>("rows");
        // What the screen reader's walk (tests/a11y) does not reach: the exact names spoken
        // for a spinner shown only while unlocked, a mode option and an init-string box, and
        // a value set through a spinner out of range, held at its maximum, the box following.
        Story::row("spoken names, a value out of range",
                   {"spoken:scrModel=Model", "spoken:optEndTitle=End mode: Title",
                    "spoken:txtInitStr2=Init String 2", "speak scrStartTitle 500",
                    "value:scrStartTitle=98", "fields{txtStartTitle=}=txtStartTitle=98"});
        // Tab and Shift+Tab into a mode group land on its selected option, also when Defaults
        // selected it after the user had chosen another; the arrow keys still move in it.
        Story::row("tab to the selected option",
                   {"click optStartTimecode", "click cmdDefaults", // both Chapter
                    "reached:cmdExit/Tab=optStartChapter|optEndChapter",
                    "reached:cmdSaveTo/Backtab=optEndChapter|optStartChapter",
                    "keys optStartChapter Right", "focus=optStartTimecode",
                    "fields{optStart}=optStartChapter=0|optStartFrame=0|optStartTimecode=1|"
                    "optStartTitle=0"});
        // The hidden key sequence (Ctrl+G, Ctrl+T) unlocks model and channel and clears their
        // mark; typed again it locks them. Anything else between its two keys disarms it. A
        // save and its compare must agree on whether model and channel take part, so a
        // transfer holds the lock. The window looks at every key first but swallows none.
        for (const auto& [name, keys, after] :
             {std::tuple{"unlocks", "Ctrl+G, Ctrl+T", "lock=open|txtComment="},
              {"twice locks", "Ctrl+G, Ctrl+T, Ctrl+G, Ctrl+T", "lock=shut|txtComment="},
              {"another key between", "Ctrl+G, X, Ctrl+T", "lock=shut marked|txtComment=x"},
              {"first key twice", "Ctrl+G, Ctrl+G, Ctrl+T", "lock=shut marked|txtComment="},
              {"second key alone", "Ctrl+T", "lock=shut marked|txtComment="}})
            Story::row(name, {"marked", QString("keys txtComment ") + keys,
                              QString("fields{lock|txtComment=}=") + after});
        Story::row("held by a transfer",
                   {"marked", "transfer running", "keys txtComment Ctrl+G, Ctrl+T",
                    "fields{lock|txtComment=}=lock=shut marked|txtComment="});
        // Each mode of both option groups shows its fields, and Tab reaches every control in
        // reading order (model and channel take part too); each mode in turn, so that the
        // option really changes.
        QStringList modes{"unlock"};
        for (const QString m :
             {"Chapter|Title Chapter|Chapter", "Timecode|Title Minutes Seconds|Minutes Seconds",
              "Frame|Title Frame|Frame", "Title|Title|Title"})
            modes << "click optStart" + m.section('|', 0, 0)
                  << "click optEnd" + m.section('|', 0, 0) << "shows=" + m.section('|', 1)
                  << "tab:main/scrModel=";
        Story::row("modes and tab order", modes);
        // Alt and the underlined letter opens that menu, F10 the first one, in the editor
        // and in the finder; the finder's Tab too goes in reading order. About opens from its
        // menu entry as a modal child of the editor, closes on OK, and opens again.
        Story::row("menus, About and the finder",
                   {"menu:main/F10=menuFile", "menu:main/Alt+H=menuHep", "about", "about",
                    "finder", "menu:finder/F10=menuFile",
                    "menu:finder/Alt+S=menuSynchro", "tab:finder/cmbPort="});
    }
    void stories()
    {
        QFETCH(QStringList, rows);
        KeyboardStory s;
        QVERIFY2(s.tell(rows), qPrintable(s.failure));
    }

    // A message laid out in short lines is heard as sentences: the lines of a paragraph run
    // on, paragraphs stay apart, and spaces at the ends of lines do not pile up.
    void messagesAreHeardAsSentences()
    {
        for (const auto& [text, heard] :
             {std::pair{"ERROR!\r\nThere were some\r\nerrors.", "ERROR! There were some errors."},
              {"in them. \r\nFields", "in them. Fields"}, // a space before the break
              {"a\r\nb\r\n\r\nc\r\n", "a b\nc"},          // paragraphs
              {"a\n\n\n\nb", "a\nb"},                     // several blank lines, LF only
              {"Serial port is not available", "Serial port is not available"}})
            QCOMPARE(AccessibleNames::flowingText(text), QString(heard));
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
};

CORVANE_TEST_CLASS(EditorWindowTest)
#include "EditorWindowTest.moc"
