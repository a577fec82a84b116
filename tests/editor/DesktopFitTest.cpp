// The windows on real desktops: at their font sizes every caption, option, group title and
// problem text shows whole and the text boxes show their full number of characters; each
// window carries the application's icon; boxes open centred on their owner or beside it,
// always on the screen.

#include "app/Placement.h"
#include "app/frmDebug.h"
#include "app/frmFileInput.h"
#include "app/frmFinder.h"
#include "app/frmHelp.h"
#include "app/frmLineMonitor.h"
#include "app/frmProblem.h"
#include "app/frmProgress.h"
#include "app/frmSimUnit.h"
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
        QCOMPARE(clipped(a.main(), EditorBoxes).join(", "), QString());
        for (QWidget* w : QList<QWidget*>{&a.finder(), &a.help(), &a.debug(), &a.fileInput()})
            QCOMPARE(clipped(*w, {}).join(", "), QString());

        // Larger fonts stretch the editor's places; order and grouping stay: the lower
        // area's three columns left to right, each below the end group, and a mark still
        // surrounds its field.
        auto at = [&](const char* name) { return ctl<QWidget>(a.main(), name)->geometry(); };
        QVERIFY(at("cmdSaveTo").right() < at("chkSynchronize").left());
        QVERIFY(at("fraInitStrings").right() < at("cmdExit").left());
        QVERIFY(at("chkSynchronize").right() < at("txtComment").left());
        QVERIFY(at("Shape3").bottom() < at("cmdSaveTo").top());
        QVERIFY(at("shpHiLiteComment").contains(at("txtComment")));
        QVERIFY(at("shpHiLiteStartFrame").contains(at("txtStartFrame")));

        frmProgress& p = a.progressWindow();
        p.startProgress(QStringLiteral("Testing COM1"), QStringLiteral("Probing............."), 60);
        p.setProgressHint(QStringLiteral("30 seconds left: press RESET on the synchronizer now"));
        QCOMPARE(clipped(p, {}).join(", "), QString());
        p.advance(70); // the bar is held within its maximum
        QCOMPARE(ctl<QProgressBar>(p, "ProgressBar1")->value(), 60);
        p.hideProgress();

        // The problem window grows until its whole text shows: no scroll bar is needed. It
        // shows the text's line breaks as lines, and takes no typing.
        bool checked = false;
        f.modal.onDialog = [&](const Modal::Request& r) {
            auto* problem = qobject_cast<frmProblem*>(r.dialog);
            QVERIFY(problem);
            QCOMPARE(problem->txtProblem->verticalScrollBar()->maximum(), 0);
            QVERIFY(problem->txtProblem->isReadOnly());
            QCOMPARE(
                problem->txtProblem->toPlainText(),
                QStringLiteral("Cannot Load! There were communications errors on the serial "
                               "port or the synchronizer is not responding.\n Please try again"));
            QVERIFY(problem->cmdOK->geometry().top() >= problem->txtProblem->geometry().bottom());
            QVERIFY(problem->rect().contains(problem->cmdOK->geometry()));
            QCOMPARE(clipped(*problem, {}).join(", "), QString());
            checked = true;
        };
        a.showProblem(TransferTexts::CannotLoad + TransferTexts::CommunicationErrors);
        QVERIFY(checked);
    }

    // Every window a desktop shows in its task bar or switcher carries the application's
    // icon, at the sizes the menu entry installs.
    void everyWindowHasTheApplicationIcon()
    {
        AppFixture f(true); // with the demo's unit, so that its window exists
        CorvaneApp& a = *f.app;
        for (QWidget* w :
             QList<QWidget*>{&a.main(), &a.finder(), &a.progressWindow(), &a.help(), &a.problem(),
                             &a.fileInput(), &a.debug(), &a.lineMonitor(), &a.simUnitWindow()})
            for (int size : {48, 128, 256})
                QVERIFY2(w->windowIcon().pixmap(size).size() == QSize(size, size) &&
                             w->windowIcon().availableSizes().contains(QSize(size, size)),
                         qPrintable(QStringLiteral("%1 at %2").arg(w->objectName()).arg(size)));
    }

    // Where a box opens on a 1920 x 1200 screen: centred on its owner, or beside it (on the
    // right, else on the left, else as far right as it fits), always whole on the screen.
    void placement()
    {
        const QRect screen(0, 0, 1920, 1200);
        const QSize box(200, 100), wide(300, 100);
        QCOMPARE(Placement::centredOn(box, {400, 300, 400, 300}, screen), QPoint(500, 400));
        QCOMPARE(Placement::centredOn(box, {-300, 300, 400, 300}, screen), QPoint(0, 400));
        QCOMPARE(Placement::centredOn(box, {1800, 1100, 400, 300}, screen), QPoint(1720, 1100));
        QCOMPARE(Placement::besideOf(wide, {100, 100, 600, 500}, screen), QPoint(712, 100));
        QCOMPARE(Placement::besideOf(wide, {1300, 100, 600, 500}, screen), QPoint(988, 100));
        QCOMPARE(Placement::besideOf(wide, {100, 100, 1700, 500}, screen), QPoint(1620, 100));
        QCOMPARE(Placement::besideOf(wide, {100, 1150, 600, 500}, screen), QPoint(712, 1100));
    }
};

CORVANE_TEST_CLASS(DesktopFitTest)
#include "DesktopFitTest.moc"
