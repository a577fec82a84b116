// The editor's fields through the real window: the spinners under the mouse and from the
// keyboard, Defaults from any state, and the binding to the editor model: the user's edits
// reach it, its changes reach the widgets, and nothing comes back to it. The field rules
// themselves are checked on the model alone (tests/editor_rules). And the windows on real
// desktops: at their font sizes every caption, option, group title and problem text shows
// whole and the text boxes show their full number of characters; each window carries the
// application's icon; boxes open centred on their owner or beside it, always on the screen.

#include "app/Placement.h"
#include "app/Spinner.h"
#include "app/frmDebug.h"
#include "app/frmFileInput.h"
#include "app/frmFinder.h"
#include "app/frmHelp.h"
#include "app/frmLineMonitor.h"
#include "app/frmProblem.h"
#include "app/frmProgress.h"
#include "flows/EditorDefaults.h"
#include "flows/LoadIntoEditor.h"
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

// An editor with no window, as the command-line tool has it.
struct BareView : EditorView
{
    EditorModel m;
    EditorModel& model() override { return m; }
};

// What the model holds for a save and for the widgets, but the record's frame numbers
// (a save reads the boxes): box texts, then modes, time spinners and switches, then the
// record's model, channel, pairs and bits, then the speed list's index.
QString describe(const EditorModel& m)
{
    const EditorSnapshot e = m.snapshot();
    const SyncParameters& r = m.record();
    QStringList out{e.txtModel,      e.txtChannel,      e.txtStartTitle,
                    e.txtEndTitle,   e.txtStartChapter, e.txtEndChapter,
                    e.txtStartFrame, e.txtEndFrame,     e.txtComment};
    out << QStringList(e.txtInitStr.begin(), e.txtInitStr.end());
    for (int n : {int(e.StartMode), int(e.EndMode), e.scrStartMinutes, e.scrStartSeconds,
                  e.scrEndMinutes, e.scrEndSeconds, int(e.chkSynchronize), int(e.chkSquelch),
                  int(r.Model), int(r.Channel), int(r.StartTitle), int(r.EndTitle),
                  int(r.StartChapter), int(r.EndChapter), int(r.OptionBits), m.baudIndex()})
        out << QString::number(n);
    return out.join('|');
}
} // namespace

class EditorFieldsTest : public QObject
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
        // Beside where it covers no other window (right, else left), else centred.
        const QRect owner(800, 100, 600, 500), atRight(1412, 100, 400, 700);
        for (const auto& [others, at] :
             {std::pair{QList<QRect>{}, QPoint(1412, 100)},
              {QList<QRect>{atRight}, QPoint(488, 100)},
              {QList<QRect>{{1412, 700, 400, 300}}, QPoint(1412, 100)}, // below the box
              {QList<QRect>{atRight, {400, 100, 300, 300}}, QPoint(950, 300)}})
            QCOMPARE(Placement::besideClearOf(wide, owner, screen, others), at);
        // No room on the right: the left, unless a window is there.
        QCOMPARE(Placement::besideClearOf(wide, {1300, 100, 600, 500}, screen, {}),
                 QPoint(988, 100));
        QCOMPARE(
            Placement::besideClearOf(wide, {1300, 100, 600, 500}, screen, {{900, 0, 200, 300}}),
            QPoint(1450, 300));
        // 600 + 12 + 300 wide: from x 504; the taller one decides the height.
        QCOMPARE(Placement::firstOfPair({600, 500}, {300, 700}, screen), QPoint(504, 250));
        QCOMPARE(Placement::firstOfPair({1500, 500}, {900, 500}, screen), QPoint(0, 350));
    }

    // The user's edits reach the model. A click on a spinner's arrow moves it by 1 and on
    // its track by 5, as do Up, Down, Page Up and Page Down with the focus on it; the value
    // stays in range and the box beside it follows, taking no typing. Keys with a
    // modifier, and other keys, are the window's.
    void userEditsReachTheModel()
    {
        AppFixture f;
        frmMain& m = f.main();
        EditorModel& e = m.model();
        ctl<QRadioButton>(m, "optStartTimecode")->setChecked(true);
        ctl<Spinner>(m, "scrStartSeconds")->setValueClamped(57);
        // Each step from where the one before left the spinner: where clicked, or a key.
        const std::tuple<const char*, const char*, int> steps[] = {
            {"StartMinutes", "up", 1},         {"StartMinutes", "above", 6},
            {"StartMinutes", "PgUp", 11},      {"StartMinutes", "Up", 12},
            {"StartMinutes", "Ctrl+Down", 12}, {"StartMinutes", "Left", 12},
            {"StartMinutes", "down", 11},      {"StartMinutes", "below", 6},
            {"StartMinutes", "PgDown", 1},     {"StartMinutes", "Down", 0},
            {"StartTitle", "up", 2},           {"EndChapter", "up", 3},
            {"EndChapter", "below", 2},        {"StartSeconds", "PgUp", 59}}; // held at the limits
        for (const auto& [name, input, after] : steps) {
            Spinner* s = ctl<Spinner>(m, QStringLiteral("scr") + name);
            const QRect up = s->upArrowRect(), down = s->downArrowRect(), mark = s->markerRect();
            const int x = up.center().x(); // on the track: halfway between an arrow and the marker
            const QMap<QString, QPoint> clicks = {{"up", up.center()},
                                                  {"down", down.center()},
                                                  {"above", {x, (up.bottom() + mark.top()) / 2}},
                                                  {"below", {x, (mark.bottom() + down.top()) / 2}}};
            s->setFocus(Qt::TabFocusReason);
            if (clicks.contains(input))
                QTest::mouseClick(s, Qt::LeftButton, {}, clicks[input]);
            else
                QTest::keySequence(s, QKeySequence::fromString(input));
            auto* box = ctl<QLineEdit>(m, QStringLiteral("txt") + name);
            QVERIFY2(s->Value() == after && box->text() == QString::number(after) &&
                         box->isReadOnly(),
                     qPrintable(QStringLiteral("%1 %2 gives %3").arg(name, input).arg(s->Value())));
        }
        QCOMPARE(ctl<Spinner>(m, "scrEndTitle")->Value(), 3); // pushed by the model's handler
        QTest::mouseClick(ctl<QCheckBox>(m, "chkSquelch"), Qt::LeftButton);
        QCOMPARE(e.record().OptionBits, uint16_t(8));
        ctl<QRadioButton>(m, "optStartFrame")->click();
        QCOMPARE(e.startOption(), PointMode::Frame);

        auto* frame = ctl<QLineEdit>(m, "txtStartFrame");
        frame->setFocus(Qt::TabFocusReason); // which selects its text
        QTest::keyClicks(frame, "77x");
        // Typed, not yet committed: a save reads the box, the record keeps its number. A
        // menu entry leaves the focus where it is, so the check still waits.
        ctl<QAction>(m, "menuSaveTo")->trigger();
        QVERIFY(untilLeaseFree(f.app->lease())); // no line open: the save only says so
        QCOMPARE(QApplication::focusWidget(), frame);
        QCOMPARE(e.snapshot().txtStartFrame + " " + QString::number(e.record().StartFrame),
                 "77x 1000");
        ctl<QLineEdit>(m, "txtComment")->setFocus();
        QCOMPARE(frame->text() + " " + QString::number(e.record().StartFrame), "77 77");
    }

    // A load and then Defaults made to the window's model and to a bare one come out the
    // same, told as the same changes in the same order: the window hands nothing back. The
    // load leaves every pair at its top with the end by title, a switch off, and init
    // strings one over 58 cut back to 58, the first shorter than its default (Defaults must
    // not count the old ones); a mark is shown. On its way Defaults never leaves an end at
    // or before its start.
    void loadAndDefaultsThroughTheWindow()
    {
        SyncParameters v;
        v.StartMode = PointMode::Timecode, v.EndMode = PointMode::Title;
        v.StartTitle = 98, v.EndTitle = 99, v.StartChapter = 98, v.EndChapter = 99;
        v.StartMinutes = 599, v.StartSeconds = 58, v.EndMinutes = 599, v.EndSeconds = 59;
        v.StartFrame = 1079998, v.EndFrame = 1079999, v.Squelch = false, v.Comment = "old";
        v.InitStr = {QStringLiteral("aa"), QString(23, 'b'), QString(23, 'c'), QString(11, 'd')};
        QStringList broken; // outlives the window it watches
        AppFixture f;
        frmMain& m = f.main();
        BareView bare;
        QStringList seen[2];
        EditorView* views[2] = {&m, &bare};
        for (int i = 0; i < 2; ++i) {
            EditorModel& e = views[i]->model();
            connect(&e, &EditorModel::spinnerChanged, this,
                    [&seen, i](SpinField s) { seen[i] << QString("spin %1").arg(int(s)); });
            connect(&e, &EditorModel::textChanged, this,
                    [&seen, i](TextField t) { seen[i] << QString("text %1").arg(int(t)); });
            fillEditor(*views[i], v);
            e.setBaudIndex(0); // 1200, which Defaults leaves alone
        }
        QCOMPARE(seen[0].size(), 23);
        QCOMPARE(seen[0], seen[1]);
        QCOMPARE(describe(m.model()), describe(bare.m));
        // The limit message comes up once as a box.
        QVERIFY(f.modal.messages().size() == 1 && f.modal.messages()[0].startsWith("The Init"));

        EditorModel& e = m.model();
        e.showMark("shpHiLiteStartTitle", MarkColour::Red);
        e.marks()[MarkKey::StartTitle].OutOfRange = true;
        connect(&e, &EditorModel::spinnerChanged, &m, [&] {
            auto at = [&e](SpinField s) { return e.spinnerValue(s); };
            using S = SpinField;
            if (at(S::EndTitle) <= at(S::StartTitle) || at(S::EndChapter) <= at(S::StartChapter) ||
                at(S::EndMinutes) * 60 + at(S::EndSeconds) <=
                    at(S::StartMinutes) * 60 + at(S::StartSeconds))
                broken << describe(e);
        });
        QTest::mouseClick(ctl<QPushButton>(m, "cmdDefaults"), Qt::LeftButton);
        modCorvaneComm::SetDefaults(bare.m);
        QCOMPARE(broken, QStringList());
        QCOMPARE(seen[0], seen[1]);
        for (const EditorModel* d : {&e, &bare.m})
            QCOMPARE(describe(*d),
                     "22|1|1|2|1|2|1|1000||0KL0DS||||1|1|0|0|1|0|1|1|22|1|1|2|1|2|12|0");
        QCOMPARE(f.modal.requests.size(), size_t(1)); // still the load's message alone
        for (HighlightShape* s : highlightShapes(m))
            QVERIFY(!s->isVisible());
        QVERIFY(!e.marks().any());
    }
};

CORVANE_TEST_CLASS(EditorFieldsTest)
#include "EditorFieldsTest.moc"
