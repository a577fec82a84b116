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
#include "flows/TransferTexts.h"
#include "support/AppFixture.h"
#include "support/Awaited.h"
#include "support/TestRunner.h"

#include <QtTest>
#include <QtWidgets>

namespace {
// The editor's text boxes and the digits each must show.
const QMap<QString, int> EditorBoxes = {
    {"txtInitStr1", 23},  {"txtInitStr2", 23},  {"txtInitStr3", 23}, {"txtInitStr4", 23},
    {"txtComment", 15},   {"txtStartFrame", 7}, {"txtEndFrame", 7},  {"txtStartMinutes", 3},
    {"txtEndMinutes", 3}, {"txtStartTitle", 2}, {"txtEndChapter", 2}};

// What does not show whole in `window`: each control's name, font size, and the size it
// needs and has.
QString clipped(const QWidget& window)
{
    QStringList faults;
    auto fault = [&](const QWidget* w, QSize needed, QSize has) {
        if (needed.boundedTo(has) != needed)
            QDebug(&faults.emplace_back()) << w->objectName() << "at" << w->font().pointSizeF()
                                           << "pt:" << needed << ">" << has;
    };
    for (const QWidget* w : window.findChildren<QWidget*>()) {
        const QFontMetrics fm = w->fontMetrics();
        if (auto* l = qobject_cast<const QLabel*>(w); l && !l->text().isEmpty() && !l->wordWrap()) {
            fault(w, fm.boundingRect(QRect(), Qt::AlignLeft, l->text()).size(),
                  l->contentsRect().size());
        } else if (auto* b = qobject_cast<const QPushButton*>(w)) {
            const int margin = b->style()->pixelMetric(QStyle::PM_ButtonMargin, nullptr, b);
            fault(w, {fm.horizontalAdvance(b->text()) + 2 * margin, fm.height()},
                  b->size() - QSize(0, 4));
        } else if (qobject_cast<const QCheckBox*>(w) || qobject_cast<const QRadioButton*>(w)) {
            fault(w, {w->sizeHint().width(), fm.height()}, w->size());
        } else if (auto* g = qobject_cast<const QGroupBox*>(w)) {
            fault(w, {fm.horizontalAdvance(g->title()) + 16, 0}, g->size());
        } else if (auto* e = qobject_cast<const QLineEdit*>(w);
                   e && EditorBoxes.contains(e->objectName())) {
            // The width for its text: inside its frame and inner margins, less the 2 pixels
            // Qt keeps on each side.
            QStyleOptionFrame opt;
            opt.initFrom(e);
            opt.lineWidth = e->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &opt, e);
            const QRect r = e->style()->subElementRect(QStyle::SE_LineEditContents, &opt, e);
            const QString digits(EditorBoxes.value(e->objectName()), QLatin1Char('0'));
            fault(w, {fm.horizontalAdvance(digits), fm.height()},
                  {r.width() - e->textMargins().left() - e->textMargins().right() - 4,
                   e->height() - 4});
        }
    }
    return faults.join(", ");
}

} // namespace

class DesktopFitTest : public QObject
{
    Q_OBJECT
    QFont desktopFont_;

private slots:
    void initTestCase() { desktopFont_ = QApplication::font(); }
    void cleanup() { QApplication::setFont(desktopFont_); }

    // At 9 to 12 pt, and at 9 and 12 pt drawn 1.5 times larger. Every window a desktop
    // shows in its task bar or switcher also carries the application's icon, at the sizes
    // the menu entry installs.
    void everythingShowsWhole()
    {
        for (double points : {9.0, 10.0, 11.0, 12.0, 13.5, 18.0}) {
            QFont font = desktopFont_;
            font.setPointSizeF(points);
            QApplication::setFont(font);
            AppFixture f;
            CorvaneApp& a = *f.app;
            QList<QWidget*> windows{&a.main(),    &a.finder(),    &a.progressWindow(), &a.help(),
                                    &a.problem(), &a.fileInput(), &a.debug()};
            for (QWidget* w : windows)
                QCOMPARE(clipped(*w), QString());
            const QList<QSize> iconSizes{{48, 48}, {128, 128}, {256, 256}}; // as installed
            for (QWidget* w : windows << &a.lineMonitor())
                QVERIFY2(w->windowIcon().availableSizes() == iconSizes,
                         qPrintable(w->objectName()));

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
            p.startProgress("Testing COM1", "Probing.............", 60);
            p.setProgressHint("30 seconds left: press RESET on the synchronizer now");
            QCOMPARE(clipped(p), QString());
            p.advance(70); // the bar is held within its maximum
            QCOMPARE(ctl<QProgressBar>(p, "ProgressBar1")->value(), 60);

            // The problem window grows until its whole text shows, OK below it: no scroll
            // bar is needed. It takes no typing.
            awaited(a.showProblem(TransferTexts::CannotLoad + TransferTexts::CommunicationErrors));
            frmProblem& problem = a.problem();
            const QRect ok = problem.cmdOK->geometry();
            QCOMPARE(problem.txtProblem->verticalScrollBar()->maximum(), 0);
            QVERIFY(problem.txtProblem->isReadOnly() && problem.rect().contains(ok) &&
                    ok.top() >= problem.txtProblem->geometry().bottom());
        }
    }

    // Where a box opens on a 1920 x 1200 screen: centred on its owner, or beside it (on the
    // right, else on the left, else as far right as it fits), always whole on the screen; two
    // windows side by side, centred together.
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
        // 600 + 12 + 300 wide: from x 504; the taller one decides the height.
        QCOMPARE(Placement::firstOfPair({600, 500}, {300, 700}, screen), QPoint(504, 250));
        QCOMPARE(Placement::firstOfPair({1500, 500}, {900, 500}, screen), QPoint(0, 350));
    }
};

CORVANE_TEST_CLASS(DesktopFitTest)
#include "DesktopFitTest.moc"
