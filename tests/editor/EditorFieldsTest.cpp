// The editor's fields through the real window: the spinners under the mouse and from the
// keyboard, Defaults from any state, and the binding to the editor model: the user's edits
// reach it, its changes reach the widgets, and nothing comes back to it. The field rules
// themselves are checked on the model alone (tests/editor_rules).

#include "app/Spinner.h"
#include "flows/LoadIntoEditor.h"
#include "support/AppFixture.h"
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
    // A click on an arrow moves by 1 and on the track by 5, as do Up, Down, Page Up and
    // Page Down with the focus on it; the value stays in range and the box beside it
    // follows. Keys with a modifier, and other keys, are the window's.
    void spinnerFromMouseAndKeys_data()
    {
        QTest::addColumn<QString>("spinner");
        QTest::addColumn<int>("value");
        QTest::addColumn<QString>("input"); // where clicked, or a key
        QTest::addColumn<int>("after");
        QTest::newRow("up arrow") << "StartMinutes" << 10 << "up" << 11;
        QTest::newRow("down arrow") << "StartMinutes" << 10 << "down" << 9;
        QTest::newRow("track above") << "StartMinutes" << 10 << "above" << 15;
        QTest::newRow("track below") << "StartMinutes" << 10 << "below" << 5;
        QTest::newRow("track stops at a minimum of 2") << "EndChapter" << 4 << "below" << 2;
        QTest::newRow("Page Up") << "StartSeconds" << 10 << "PgUp" << 15;
        QTest::newRow("Up") << "EndMinutes" << 10 << "Up" << 11;
        QTest::newRow("Page Down") << "StartSeconds" << 10 << "PgDown" << 5;
        QTest::newRow("Down") << "EndMinutes" << 10 << "Down" << 9;
        QTest::newRow("Page Up stops at the top") << "StartSeconds" << 57 << "PgUp" << 59;
        QTest::newRow("Ctrl+Down is the window's") << "StartSeconds" << 10 << "Ctrl+Down" << 10;
        QTest::newRow("Left is the window's") << "StartSeconds" << 10 << "Left" << 10;
    }
    void spinnerFromMouseAndKeys()
    {
        QFETCH(QString, spinner);
        QFETCH(int, value);
        QFETCH(QString, input);
        QFETCH(int, after);
        AppFixture f;
        for (const char* option : {"optStartTimecode", "optEndTimecode"})
            ctl<QRadioButton>(f.main(), option)->setChecked(true);
        Spinner* s = ctl<Spinner>(f.main(), "scr" + spinner);
        s->setValueClamped(value);
        const QRect up = s->upArrowRect(), down = s->downArrowRect(), marker = s->markerRect();
        const int x = s->width() / 2; // on the track: halfway between an arrow and the marker
        const QMap<QString, QPoint> clicks = {{"up", up.center()},
                                              {"down", down.center()},
                                              {"above", {x, (up.bottom() + marker.top()) / 2}},
                                              {"below", {x, (marker.bottom() + down.top()) / 2}}};
        if (clicks.contains(input)) {
            QTest::mouseClick(s, Qt::LeftButton, {}, clicks[input]);
        } else {
            s->setFocus(Qt::TabFocusReason);
            const QKeyCombination key = QKeySequence::fromString(input)[0];
            QTest::keyClick(s, key.key(), key.keyboardModifiers());
        }
        QCOMPARE(s->Value(), after);
        QCOMPARE(ctl<QLineEdit>(f.main(), "txt" + spinner)->text(), QString::number(after));
        QVERIFY(ctl<QLineEdit>(f.main(), "txt" + spinner)->isReadOnly()); // takes no typing
    }

    void defaultsFromAnyState()
    {
        QStringList broken; // outlives the window it watches
        AppFixture f;
        frmMain& m = f.main();
        EditorModel& e = m.model();
        // Every pair at its top with the end by title, the init strings at 58 together, the
        // switch off and a mark shown.
        ctl<QRadioButton>(m, "optStartTimecode")->setChecked(true);
        e.setLinkedFieldsActive(false);
        const int tops[] = {98, 99, 98, 99, 599, 58, 599, 59}; // start title ... end seconds
        for (int i = 0; i < 8; ++i)
            e.setSpinner(static_cast<SpinField>(int(SpinField::StartTitle) + i), tops[i]);
        e.setLinkedFieldsActive(true);
        const std::pair<const char*, QString> texts[] = {{"txtEndFrame", "1079999"},
                                                         {"txtStartFrame", "1079998"},
                                                         {"txtInitStr1", QString(10, 'a')},
                                                         {"txtInitStr2", QString(23, 'b')},
                                                         {"txtInitStr3", QString(23, 'c')},
                                                         {"txtInitStr4", "dd"},
                                                         {"txtComment", "old"}};
        for (const auto& [box, text] : texts)
            ctl<QLineEdit>(m, box)->setText(text);
        ctl<QCheckBox>(m, "chkSquelch")->setChecked(false);
        e.showMark("shpHiLiteStartTitle", MarkColour::Red);
        e.marks()[MarkKey::StartTitle].OutOfRange = true;
        QVERIFY(f.modal.requests.empty());

        // No spinner change during the reset may leave an end at or before its start.
        connect(&e, &EditorModel::spinnerChanged, &m, [&] {
            auto v = [&e](SpinField s) { return e.spinnerValue(s); };
            using S = SpinField;
            if (v(S::EndTitle) <= v(S::StartTitle) || v(S::EndChapter) <= v(S::StartChapter) ||
                v(S::EndMinutes) * 60 + v(S::EndSeconds) <=
                    v(S::StartMinutes) * 60 + v(S::StartSeconds))
                broken << describe(e);
        });
        QTest::mouseClick(ctl<QPushButton>(m, "cmdDefaults"), Qt::LeftButton);

        QCOMPARE(broken, QStringList());
        QVERIFY(f.modal.requests.empty()); // the old init strings are not counted
        QCOMPARE(describe(e), "22|1|1|2|1|2|1|1000||0KL0DS||||1|1|0|0|1|0|1|1|22|1|1|2|1|2|12|-1");
        for (HighlightShape* s : highlightShapes(m))
            QVERIFY(!s->isVisible());
        QVERIFY(!e.marks().any());
    }

    // A load and later changes made to the window's model and to a bare one come out the
    // same, told as the same changes in the same order: the window hands nothing back.
    void windowHandsNothingBack()
    {
        SyncParameters v; // a start after its end, modes by time and frame, over 58
        v.StartMode = PointMode::Timecode;
        v.EndMode = PointMode::Frame;
        v.StartTitle = 50;
        v.EndTitle = 20;
        v.StartFrame = 4000;
        v.Squelch = false;
        v.InitStr = {QString(23, 'a'), QString(23, 'b'), QString(20, 'c'), QStringLiteral("d")};
        AppFixture f;
        frmMain& m = f.main();
        BareView bare;
        QStringList seen[2];
        EditorView* views[2] = {&m, &bare};
        for (int i = 0; i < 2; ++i) {
            EditorModel& e = views[i]->model();
            auto log = [&seen, i](QString kind) { // told changes, as "spin 3" or "text 4"
                return
                    [&seen, i, kind](auto field) { seen[i] << kind + QString::number(int(field)); };
            };
            connect(&e, &EditorModel::spinnerChanged, this, log("spin "));
            connect(&e, &EditorModel::textChanged, this, log("text "));
            fillEditor(*views[i], v);
            e.setSpinner(SpinField::StartTitle, 98);
            e.setSpinner(SpinField::StartMinutes, 5);
            e.setText(TextField::Comment, QStringLiteral("A comment beyond fifteen"));
            e.setText(TextField::EndFrame, QStringLiteral("1"));
            e.commitEndFrame();
            e.selectOption(OptionField::EndTitle);
        }
        QVERIFY(seen[0].size() > 20);
        QCOMPARE(seen[0], seen[1]);
        QCOMPARE(describe(m.model()), describe(bare.m));
        // The widgets show the model, and its message comes up once as a box.
        QStringList shown;
        for (const char* box : {"txtStartTitle", "txtEndTitle", "txtStartMinutes", "txtEndMinutes",
                                "txtEndSeconds", "txtStartFrame", "txtEndFrame", "txtComment"})
            shown << ctl<QLineEdit>(m, box)->text();
        for (const char* button : {"optStartTimecode", "optEndTitle", "chkSquelch"})
            shown << (ctl<QAbstractButton>(m, button)->isChecked() ? "on" : "off");
        shown << QString::number(ctl<QComboBox>(m, "cmbBaud")->currentIndex());
        QCOMPARE(shown.join('|'), "98|99|5|5|1|1|2|A comment beyon|on|on|off|3");
        QCOMPARE(f.modal.messages().size(), 1);
        QVERIFY(f.modal.messages()[0].startsWith("The Init Strings are limited"));
    }

    void userEditsReachTheModel()
    {
        AppFixture f;
        frmMain& m = f.main();
        EditorModel& e = m.model();
        auto* start = ctl<Spinner>(m, "scrStartTitle");
        QTest::mouseClick(start, Qt::LeftButton, {}, start->upArrowRect().center());
        QCOMPARE(e.spinnerValue(SpinField::StartTitle), 2);
        QCOMPARE(ctl<Spinner>(m, "scrEndTitle")->Value(), 3); // pushed by the model's handler
        QTest::mouseClick(ctl<QCheckBox>(m, "chkSquelch"), Qt::LeftButton);
        QCOMPARE(e.record().OptionBits, uint16_t(8));
        ctl<QRadioButton>(m, "optStartFrame")->click();
        QCOMPARE(e.startOption(), PointMode::Frame);

        auto* frame = ctl<QLineEdit>(m, "txtStartFrame");
        frame->setFocus();
        frame->selectAll();
        QTest::keyClicks(frame, "77x");
        // Typed, not yet committed: a save reads the box, the record keeps its number. A
        // menu entry leaves the focus where it is, so the check still waits.
        ctl<QAction>(m, "menuSaveTo")->trigger();
        QCOMPARE(QApplication::focusWidget(), frame);
        QCOMPARE(e.snapshot().txtStartFrame, QString("77x"));
        QCOMPARE(e.record().StartFrame, 1000);
        auto* comment = ctl<QLineEdit>(m, "txtComment");
        comment->setFocus();
        QCOMPARE(e.record().StartFrame, 77);
        QCOMPARE(frame->text(), QString("77"));
        QTest::keyClicks(comment, "ABCDEFGHIJKLMNOPQ");
        QCOMPARE(e.record().Comment, QString("ABCDEFGHIJKLMNO"));
        QCOMPARE(comment->text(), QString("ABCDEFGHIJKLMNO"));
    }
};

CORVANE_TEST_CLASS(EditorFieldsTest)
#include "EditorFieldsTest.moc"
