// The editor's fields through the real window: the spinners under the mouse and from the
// keyboard, Defaults from any state, and the binding to the editor model: the user's edits
// reach it, its changes reach the widgets, and nothing comes back to it. The field rules
// themselves are checked on the model alone (tests/editor_rules).

#include "app/Spinner.h"
#include "flows/EditorDefaults.h"
#include "flows/LoadIntoEditor.h"
#include "support/AppFixture.h"
#include "support/Awaited.h"
#include "support/TestRunner.h"

#include <QtTest>
#include <QtWidgets>

namespace {
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
private slots:
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
