// The window bound to the editor model: it shows what the model holds, hands the user's
// edits to it, and feeds none of the model's own changes back.

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

QStringList describe(const EditorModel& m)
{
    const EditorSnapshot e = m.snapshot();
    const SyncParameters& r = m.record();
    QStringList out{e.txtModel,
                    e.txtChannel,
                    QString::number(int(e.StartMode)),
                    QString::number(int(e.EndMode)),
                    e.txtStartTitle,
                    e.txtEndTitle,
                    e.txtStartChapter,
                    e.txtEndChapter,
                    e.txtStartFrame,
                    e.txtEndFrame,
                    QStringLiteral("%1:%2 %3:%4")
                        .arg(e.scrStartMinutes)
                        .arg(e.scrStartSeconds)
                        .arg(e.scrEndMinutes)
                        .arg(e.scrEndSeconds),
                    e.chkSynchronize ? "sync" : "-",
                    e.chkSquelch ? "squelch" : "-",
                    e.txtComment};
    out << QStringList(e.txtInitStr.begin(), e.txtInitStr.end());
    for (int n :
         {int(r.Model), int(r.Channel), int(r.StartTitle), int(r.EndTitle), int(r.StartChapter),
          int(r.EndChapter), int(r.StartFrame), int(r.EndFrame), int(r.OptionBits), m.baudIndex()})
        out << QString::number(n);
    return out;
}

// A set a load may bring: a start after its end (the modes do not use titles), time modes
// over frame numbers, init strings over their total.
SyncParameters loaded()
{
    SyncParameters v;
    v.Model = 40;
    v.Channel = 7;
    v.StartMode = PointMode::Timecode;
    v.EndMode = PointMode::Frame;
    v.StartTitle = 50;
    v.EndTitle = 20;
    v.StartChapter = 99;
    v.EndChapter = 3;
    v.StartMinutes = 12;
    v.StartSeconds = 34;
    v.EndMinutes = 56;
    v.EndSeconds = 7;
    v.StartFrame = 4000;
    v.EndFrame = 123;
    v.Squelch = false;
    v.OptionBits = 8;
    v.Comment = QStringLiteral("Lobby wall");
    v.InitStr = {QString(23, 'a'), QString(23, 'b'), QString(20, 'c'), QStringLiteral("d")};
    return v;
}

} // namespace

class EditorBindingTest : public QObject
{
    Q_OBJECT
private slots:
    void loadIntoTheWindowMatchesTheModelAlone()
    {
        AppFixture f;
        frmMain& m = f.main();
        BareView bare;
        fillEditor(m, loaded());
        fillEditor(bare, loaded());
        QCOMPARE(describe(m.model()), describe(bare.m));
        // And the widgets show it.
        QCOMPARE(ctl<QLineEdit>(m, "txtStartTitle")->text(), QString("50"));
        QCOMPARE(ctl<Spinner>(m, "scrEndTitle")->Value(), 20);
        QCOMPARE(ctl<QLineEdit>(m, "txtEndFrame")->text(), bare.m.text(TextField::EndFrame));
        QCOMPARE(ctl<QLineEdit>(m, "txtStartMinutes")->text(), QString("12"));
        QCOMPARE(ctl<QLineEdit>(m, "txtInitStr1")->text(), bare.m.text(TextField::InitStr1));
        QVERIFY(ctl<QRadioButton>(m, "optStartTimecode")->isChecked() &&
                ctl<QRadioButton>(m, "optEndFrame")->isChecked());
        QVERIFY(!ctl<QCheckBox>(m, "chkSquelch")->isChecked());
        QVERIFY(!ctl<Spinner>(m, "scrStartMinutes")->isHidden() &&
                ctl<QLineEdit>(m, "txtStartFrame")->isHidden() &&
                !ctl<QLineEdit>(m, "txtEndFrame")->isHidden());
        QCOMPARE(ctl<QComboBox>(m, "cmbBaud")->currentIndex(), 3);
    }

    // The same changes made to a bound model and to a bare one tell the same changes in
    // the same order: the window hands nothing back.
    void nothingComesBack()
    {
        AppFixture f;
        BareView bare;
        QStringList seen[2];
        EditorModel* models[2] = {&f.main().model(), &bare.m};
        for (int i = 0; i < 2; ++i) {
            connect(models[i], &EditorModel::spinnerChanged, this,
                    [&seen, i](SpinField s) { seen[i] << QString("spin %1").arg(int(s)); });
            connect(models[i], &EditorModel::textChanged, this,
                    [&seen, i](TextField t) { seen[i] << QString("text %1").arg(int(t)); });
            connect(models[i], &EditorModel::optionChanged, this,
                    [&seen, i](bool start) { seen[i] << QString("option %1").arg(start); });
            EditorModel& e = *models[i];
            e.setSpinner(SpinField::StartTitle, 98);
            e.selectOption(OptionField::EndFrame);
            e.setSpinner(SpinField::StartMinutes, 5);
            e.setText(TextField::Comment, QStringLiteral("A comment beyond fifteen"));
            e.setText(TextField::EndFrame, QStringLiteral("1"));
            e.commitEndFrame();
        }
        QVERIFY(seen[0].size() > 8);
        QCOMPARE(seen[0], seen[1]);
        QCOMPARE(describe(*models[0]), describe(*models[1]));
    }

    void userEditsReachTheModel()
    {
        AppFixture f;
        frmMain& m = f.main();
        EditorModel& e = m.model();
        auto* start = ctl<Spinner>(m, "scrStartTitle");
        QTest::mouseClick(start, Qt::LeftButton, {}, start->upArrowRect().center());
        QCOMPARE(e.spinnerValue(SpinField::StartTitle), 2);
        QCOMPARE(e.spinnerValue(SpinField::EndTitle), 3); // pushed by the model's handler
        QCOMPARE(ctl<Spinner>(m, "scrEndTitle")->Value(), 3);

        ctl<QRadioButton>(m, "optStartFrame")->click();
        QCOMPARE(e.startOption(), PointMode::Frame);
        auto* frame = ctl<QLineEdit>(m, "txtStartFrame");
        frame->setFocus();
        frame->selectAll();
        QTest::keyClicks(frame, "77x");
        // Typed, not yet committed: a save reads the box, the record keeps its number.
        QCOMPARE(e.snapshot().txtStartFrame, QString("77x"));
        QCOMPARE(e.record().StartFrame, 1000);
        ctl<QLineEdit>(m, "txtComment")->setFocus();
        QCOMPARE(e.record().StartFrame, 77);
        QCOMPARE(frame->text(), QString("77"));

        QTest::keyClicks(ctl<QLineEdit>(m, "txtComment"), "ABCDEFGHIJKLMNOPQ");
        QCOMPARE(e.record().Comment, QString("ABCDEFGHIJKLMNO"));
        QCOMPARE(ctl<QLineEdit>(m, "txtComment")->text(), QString("ABCDEFGHIJKLMNO"));
    }
};

CORVANE_TEST_CLASS(EditorBindingTest)
#include "EditorBindingTest.moc"
