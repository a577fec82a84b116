// The windows at the font sizes of real desktops: every caption, option, group title and
// problem text shows whole, and the text boxes show their full number of characters.
// Then where boxes open: centred on their owner, or beside it, always on the screen.

#include "app/Placement.h"
#include "app/frmDebug.h"
#include "app/frmFileInput.h"
#include "app/frmFinder.h"
#include "app/frmHelp.h"
#include "app/frmProblem.h"
#include "app/frmProgress.h"
#include "flows/TransferTexts.h"
#include "support/AppFixture.h"
#include "support/TestRunner.h"

#include <QtTest>
#include <QtWidgets>

namespace {
// The width a line edit has for its text: inside its frame and its inner margins.
int lineEditTextWidth(const QLineEdit* e)
{
    QStyleOptionFrame opt;
    opt.initFrom(e);
    opt.rect = e->rect();
    opt.lineWidth = e->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &opt, e);
    const QRect r = e->style()->subElementRect(QStyle::SE_LineEditContents, &opt, e);
    const QMargins m = e->textMargins();
    return r.width() - m.left() - m.right() - 4; // Qt keeps 2 pixels on each side
}

// What does not show whole in `window`, one line each ("lblComment: 130 > 120").
QStringList clipped(const QWidget& window, const QMap<QString, int>& shownChars)
{
    QStringList faults;
    auto fault = [&](const QWidget* w, int needed, int has) {
        if (needed > has)
            faults << QStringLiteral("%1: %2 > %3").arg(w->objectName()).arg(needed).arg(has);
    };
    for (const QWidget* w : window.findChildren<QWidget*>()) {
        const QFontMetrics fm = w->fontMetrics();
        if (auto* l = qobject_cast<const QLabel*>(w); l && !l->text().isEmpty() && !l->wordWrap()) {
            const QRect text = fm.boundingRect(QRect(), Qt::AlignLeft, l->text());
            fault(w, text.width(), l->contentsRect().width());
            fault(w, text.height(), l->contentsRect().height());
        } else if (auto* b = qobject_cast<const QPushButton*>(w)) {
            const int margin = b->style()->pixelMetric(QStyle::PM_ButtonMargin, nullptr, b);
            fault(w, fm.horizontalAdvance(b->text()) + 2 * margin, b->width());
            fault(w, fm.height(), b->height() - 4);
        } else if (qobject_cast<const QCheckBox*>(w) || qobject_cast<const QRadioButton*>(w)) {
            fault(w, w->sizeHint().width(), w->width());
            fault(w, fm.height(), w->height());
        } else if (auto* g = qobject_cast<const QGroupBox*>(w)) {
            fault(w, fm.horizontalAdvance(g->title()) + 16, g->width());
        } else if (auto* e = qobject_cast<const QLineEdit*>(w);
                   e && shownChars.contains(e->objectName())) {
            const int chars = shownChars.value(e->objectName());
            fault(w, fm.horizontalAdvance(QString(chars, QLatin1Char('0'))), lineEditTextWidth(e));
            fault(w, fm.height(), e->height() - 4);
        }
    }
    return faults;
}

const QMap<QString, int> EditorBoxes = {
    {"txtInitStr1", 23},  {"txtInitStr2", 23},  {"txtInitStr3", 23}, {"txtInitStr4", 23},
    {"txtComment", 15},   {"txtStartFrame", 7}, {"txtEndFrame", 7},  {"txtStartMinutes", 3},
    {"txtEndMinutes", 3}, {"txtStartTitle", 2}, {"txtEndChapter", 2}};
} // namespace

class DesktopFitTest : public QObject
{
    Q_OBJECT
    QFont desktopFont_;

private slots:
    void initTestCase() { desktopFont_ = QApplication::font(); }
    void cleanup() { QApplication::setFont(desktopFont_); }

    // 9 to 12 pt, and 9 and 12 pt drawn 1.5 times larger.
    void everythingShowsWhole_data()
    {
        QTest::addColumn<double>("points");
        for (double pt : {9.0, 10.0, 11.0, 12.0, 13.5, 18.0})
            QTest::newRow(qPrintable(QStringLiteral("%1 pt").arg(pt))) << pt;
    }
    void everythingShowsWhole()
    {
        QFETCH(double, points);
        QFont font = desktopFont_;
        font.setPointSizeF(points);
        QApplication::setFont(font);
        AppFixture f;
        CorvaneApp& a = *f.app;
        QCOMPARE(clipped(a.main(), EditorBoxes), QStringList());
        QCOMPARE(clipped(a.finder(), {}), QStringList());
        QCOMPARE(clipped(a.help(), {}), QStringList());
        QCOMPARE(clipped(a.debug(), {}), QStringList());
        QCOMPARE(clipped(a.fileInput(), {}), QStringList());

        frmProgress& p = a.progressWindow();
        p.startProgress(QStringLiteral("Testing COM1"), QStringLiteral("Probing............."), 60);
        p.setProgressHint(QStringLiteral("30 seconds left: press RESET on the synchronizer now"));
        QCOMPARE(clipped(p, {}), QStringList());
        p.hideProgress();

        // The problem window grows until its whole text shows: no scroll bar is needed.
        bool checked = false;
        f.modal.onDialog = [&](const Modal::Request& r) {
            auto* problem = qobject_cast<frmProblem*>(r.dialog);
            QVERIFY(problem);
            QCOMPARE(problem->txtProblem->verticalScrollBar()->maximum(), 0);
            QVERIFY(problem->cmdOK->geometry().top() >= problem->txtProblem->geometry().bottom());
            QVERIFY(problem->rect().contains(problem->cmdOK->geometry()));
            QCOMPARE(clipped(*problem, {}), QStringList());
            checked = true;
        };
        a.showProblem(TransferTexts::CannotLoad + TransferTexts::CommunicationErrors);
        QVERIFY(checked);
    }

    // Larger fonts stretch the editor's design places; order and grouping stay.
    void placesKeepTheirOrder()
    {
        QFont font = desktopFont_;
        font.setPointSizeF(12);
        QApplication::setFont(font);
        AppFixture f;
        frmMain& m = f.main();
        auto at = [&](const char* name) { return ctl<QWidget>(m, name)->geometry(); };
        // The lower area's three columns, left to right, each below the end group.
        QVERIFY(at("cmdSaveTo").right() < at("chkSynchronize").left());
        QVERIFY(at("fraInitStrings").right() < at("cmdExit").left());
        QVERIFY(at("chkSynchronize").right() < at("txtComment").left());
        QVERIFY(at("Shape3").bottom() < at("cmdSaveTo").top());
        // A mark still surrounds its field.
        QVERIFY(at("shpHiLiteComment").contains(at("txtComment")));
        QVERIFY(at("shpHiLiteStartFrame").contains(at("txtStartFrame")));
    }
};

class PlacementTest : public QObject
{
    Q_OBJECT
private slots:
    void centredOn_data()
    {
        QTest::addColumn<QRect>("owner");
        QTest::addColumn<QPoint>("at");
        QTest::newRow("middle of the screen") << QRect(400, 300, 400, 300) << QPoint(500, 400);
        QTest::newRow("owner off the left edge") << QRect(-300, 300, 400, 300) << QPoint(0, 400);
        QTest::newRow("owner at the bottom right")
            << QRect(1800, 1100, 400, 300) << QPoint(1720, 1100);
    }
    void centredOn()
    {
        QFETCH(QRect, owner);
        QFETCH(QPoint, at);
        QCOMPARE(Placement::centredOn(QSize(200, 100), owner, QRect(0, 0, 1920, 1200)), at);
    }

    void besideOf_data()
    {
        QTest::addColumn<QRect>("owner");
        QTest::addColumn<QPoint>("at");
        QTest::newRow("room on the right") << QRect(100, 100, 600, 500) << QPoint(712, 100);
        QTest::newRow("room on the left only") << QRect(1300, 100, 600, 500) << QPoint(988, 100);
        QTest::newRow("no room either side") << QRect(100, 100, 1700, 500) << QPoint(1620, 100);
        QTest::newRow("owner low on the screen") << QRect(100, 1150, 600, 500) << QPoint(712, 1100);
    }
    void besideOf()
    {
        QFETCH(QRect, owner);
        QFETCH(QPoint, at);
        QCOMPARE(Placement::besideOf(QSize(300, 100), owner, QRect(0, 0, 1920, 1200)), at);
    }
};

CORVANE_TEST_CLASS(DesktopFitTest)
CORVANE_TEST_CLASS(PlacementTest)
#include "DesktopFitTest.moc"
