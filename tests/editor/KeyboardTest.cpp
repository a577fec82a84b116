// The editor and the finder without a mouse: Tab runs through every visible control as
// one reads the window, every spinner moves from the keyboard, the menus open with Alt and
// their underlined letter or with F10.

#include "app/HiddenKeys.h"
#include "app/Spinner.h"
#include "app/frmFinder.h"
#include "support/AppFixture.h"
#include "support/TestRunner.h"

#include <QtTest>
#include <QtWidgets>

namespace {
// The place that decides a control's turn: a control in a group takes the group's turn.
QRect stopRect(const QWidget* w)
{
    const QWidget* stop = qobject_cast<const QGroupBox*>(w->parentWidget()) ? w->parentWidget() : w;
    return QRect(stop->mapTo(stop->window(), QPoint(0, 0)), stop->size());
}

// Presses Tab from `first` until the focus comes back to it; the names in order.
QStringList tabChain(QWidget* first)
{
    first->setFocus(Qt::TabFocusReason);
    QStringList names{first->objectName()};
    for (int i = 0; i < 80; ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QWidget* now = QApplication::focusWidget();
        if (!now || now == first)
            break;
        names << now->objectName();
    }
    return names;
}

// Rows from the top, each from the left: a stop on the same row (tops within half the
// lower one's height) lies to the right of the one before; otherwise below it.
QString readingOrderFault(const QWidget& window, const QStringList& chain)
{
    for (int i = 1; i < chain.size(); ++i) {
        const QRect a = stopRect(window.findChild<QWidget*>(chain[i - 1]));
        const QRect b = stopRect(window.findChild<QWidget*>(chain[i]));
        if (a == b)
            continue; // within one group
        const int tolerance = std::min(a.height(), b.height()) / 2;
        const bool sameRow = std::abs(b.top() - a.top()) <= tolerance;
        if (sameRow ? b.left() <= a.left() : b.top() <= a.top())
            return chain[i - 1] + " -> " + chain[i];
    }
    return {};
}
} // namespace

class KeyboardTest : public QObject
{
    Q_OBJECT
private slots:
    void editorTabChain_data()
    {
        QTest::addColumn<QString>("mode");
        QTest::addColumn<QStringList>("startFields");
        QTest::addColumn<QStringList>("endFields");
        QTest::newRow("titles") << "Title" << QStringList{"scrStartTitle"}
                                << QStringList{"scrEndTitle"};
        QTest::newRow("chapters") << "Chapter" << QStringList{"scrStartTitle", "scrStartChapter"}
                                  << QStringList{"scrEndChapter"};
        QTest::newRow("times") << "Timecode"
                               << QStringList{"scrStartTitle", "scrStartMinutes", "scrStartSeconds"}
                               << QStringList{"scrEndMinutes", "scrEndSeconds"};
        QTest::newRow("frames") << "Frame" << QStringList{"scrStartTitle", "txtStartFrame"}
                                << QStringList{"txtEndFrame"};
    }

    // Tab walks every visible control top to bottom; each spinner on the way moves by 5 and
    // by 1 both ways from the keyboard, and its box follows.
    void editorTabChain()
    {
        QFETCH(QString, mode);
        QFETCH(QStringList, startFields);
        QFETCH(QStringList, endFields);
        AppFixture f;
        frmMain& m = f.main();
        // Unlocked, so that model and channel are in the chain too.
        auto* comment = ctl<QLineEdit>(m, "txtComment");
        comment->setFocus();
        QTest::keyClick(comment, Qt::Key_G, Qt::ControlModifier);
        QTest::keyClick(comment, Qt::Key_T, Qt::ControlModifier);
        QVERIFY(f.main().model().modelChannelUnlocked());
        for (const char* side : {"optStart", "optEnd"})
            QTest::mouseClick(ctl<QRadioButton>(m, side + mode), Qt::LeftButton);

        const QStringList expected =
            QStringList{"scrModel", "scrChannel", "optStart" + mode} + startFields +
            QStringList{"optEnd" + mode} + endFields +
            QStringList{"cmdSaveTo",   "chkSynchronize", "chkSquelch",  "txtComment",
                        "cmdLoadFrom", "txtInitStr1",    "txtInitStr2", "txtInitStr3",
                        "txtInitStr4", "cmdFileSave",    "cmdFileLoad", "cmdDefaults",
                        "cmdExit"};
        const QStringList chain = tabChain(ctl<Spinner>(m, "scrModel"));
        QCOMPARE(chain, expected);
        QCOMPARE(readingOrderFault(m, chain), QString());

        for (const QString& name : chain) {
            auto* s = m.findChild<Spinner*>(name);
            if (!s)
                continue;
            s->setFocus(Qt::TabFocusReason);
            QVERIFY2(s->hasFocus(), qPrintable(name));
            const QString boxName = QString(name).replace(0, 3, QStringLiteral("txt"));
            auto* box = ctl<QLineEdit>(m, boxName);
            const int v = s->Value();
            QList<int> seen;
            for (Qt::Key key : {Qt::Key_PageUp, Qt::Key_Up, Qt::Key_PageDown, Qt::Key_Down}) {
                QTest::keyClick(s, key);
                seen << s->Value();
                QCOMPARE(box->text(), QString::number(s->Value()));
            }
            QCOMPARE(seen, (QList<int>{v + 5, v + 6, v + 1, v}));
        }
    }

    void spinnerStaysInItsRangeFromTheKeyboard()
    {
        AppFixture f;
        auto* s = ctl<Spinner>(f.main(), "scrStartSeconds");
        s->setFocus();
        QTest::keyClick(s, Qt::Key_PageDown);
        QCOMPARE(s->Value(), s->Min());
        for (int i = 0; i < 13; ++i)
            QTest::keyClick(s, Qt::Key_PageUp);
        QCOMPARE(s->Value(), s->Max());
        // Keys with a modifier, and other keys, are the window's, not the spinner's.
        QTest::keyClick(s, Qt::Key_Down, Qt::ControlModifier);
        QTest::keyClick(s, Qt::Key_Left);
        QCOMPARE(s->Value(), s->Max());
    }

    void finderTabChain()
    {
        AppFixture f;
        f.app->showFinderFromEditor();
        frmFinder& fi = f.app->finder();
        QApplication::setActiveWindow(&fi);
        QVERIFY(QTest::qWaitForWindowActive(&fi));
        const QStringList chain = tabChain(ctl<QComboBox>(fi, "cmbPort"));
        QCOMPARE(chain, (QStringList{"cmbPort", "cmdConnect", "cmdStart", "cmdWithout", "cmdExit",
                                     "txtFindStatus"}));
        QCOMPARE(readingOrderFault(fi, chain), QString());
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
        QMainWindow* w = &f.main();
        if (finder) {
            f.app->showFinderFromEditor();
            w = &f.app->finder();
            QApplication::setActiveWindow(w);
            QVERIFY(QTest::qWaitForWindowActive(w));
        }
        const Qt::KeyboardModifiers mods = key == Qt::Key_F10 ? Qt::NoModifier : Qt::AltModifier;
        QTest::keyClick(w, Qt::Key(key), mods);
        QMenuBar* bar = w->menuBar();
        QAction* active = bar->activeAction();
        QVERIFY2(active && active->menu(), "no menu is open");
        QCOMPARE(active->menu()->objectName(), menu);
        QTest::keyClick(QApplication::activePopupWidget() ? QApplication::activePopupWidget() : bar,
                        Qt::Key_Escape);
    }
};

CORVANE_TEST_CLASS(KeyboardTest)
#include "KeyboardTest.moc"
