// The whole user story in one go, through the real windows against a simulated unit at
// line speed: start, find the unit after RESET, load, edit, save with compare, load again.

#include "FinderRig.h"
#include "app/HighlightShape.h"
#include "app/Spinner.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>

class UserStoryTest : public QObject
{
    Q_OBJECT
private slots:
    void findLoadEditSaveLoad();
};

void UserStoryTest::findLoadEditSaveLoad()
{
    FinderRig r;
    QVERIFY(r.startUnits({2}, {{1, "/nonexistent/ttyNone"}}));
    SimSync& unit = r.unit(2);
    // What the unit holds: model 7, channel 3, start at title 5, end at 12:34.
    // Cell 60 "80": start Title, end Time.
    const std::pair<int, const char*> digits[] = {{63, "07"}, {62, "03"}, {60, "80"},
                                                  {52, "00"}, {53, "01"}, {54, "23"},
                                                  {55, "40"}, {56, "05"}, {57, "09"}};
    for (const auto& [address, two] : digits)
        unit.setCell(address, uint8_t(two[0]), uint8_t(two[1]));
    frmMain& m = r.main();

    // Synchronizer > Find Synchronizer, RESET on the unit, Try All serial ports.
    ctl<QAction>(m, "menuConnect")->trigger();
    frmFinder& fi = r.f.app->finder();
    Script script;
    script.when(r.probing(2), [&] { unit.pressReset(); });
    QTest::mouseClick(fi.cmdStart, Qt::LeftButton);
    QVERIFY(script.finished());

    // The editor is back, connected and loaded, with nothing to report.
    QVERIFY(m.isVisible() && !fi.isVisible());
    QVERIFY(ctl<QLabel>(m, "imgSync")->isVisible());
    QCOMPARE(ctl<Spinner>(m, "scrModel")->value(), 7);
    QCOMPARE(ctl<Spinner>(m, "scrChannel")->value(), 3);
    QVERIFY(ctl<QRadioButton>(m, "optStartTitle")->isChecked() &&
            ctl<QRadioButton>(m, "optEndTimecode")->isChecked());
    QCOMPARE(ctl<Spinner>(m, "scrStartTitle")->value(), 5);
    QCOMPARE(ctl<Spinner>(m, "scrEndMinutes")->value(), 12);
    QCOMPARE(ctl<Spinner>(m, "scrEndSeconds")->value(), 34);
    for (HighlightShape* s : highlightShapes(m))
        QVERIFY(!s->isVisible());
    QVERIFY(r.f.modal.requests.empty());

    // Edit.
    QTest::mouseClick(ctl<QRadioButton>(m, "optEndTitle"), Qt::LeftButton);
    ctl<Spinner>(m, "scrStartTitle")->setValueNotify(12);
    ctl<Spinner>(m, "scrEndTitle")->setValueNotify(20);
    ctl<QLineEdit>(m, "txtComment")->selectAll();
    QTest::keyClicks(ctl<QLineEdit>(m, "txtComment"), "Hall 2");
    QTest::mouseClick(ctl<QCheckBox>(m, "chkSquelch"), Qt::LeftButton);

    // SAVE to Synchronizer: written and compared without a complaint.
    QTest::mouseClick(ctl<QPushButton>(m, "cmdSaveTo"), Qt::LeftButton);
    QVERIFY(r.f.modal.requests.empty());

    // Something else in the editor, then LOAD from Synchronizer brings the saved set back.
    QTest::mouseClick(ctl<QPushButton>(m, "cmdDefaults"), Qt::LeftButton);
    QTest::mouseClick(ctl<QPushButton>(m, "cmdLoadFrom"), Qt::LeftButton);
    QVERIFY(r.f.modal.requests.empty());
    QCOMPARE(ctl<Spinner>(m, "scrModel")->value(), 7);
    QCOMPARE(ctl<Spinner>(m, "scrChannel")->value(), 3);
    QVERIFY(ctl<QRadioButton>(m, "optStartTitle")->isChecked() &&
            ctl<QRadioButton>(m, "optEndTitle")->isChecked());
    QCOMPARE(ctl<Spinner>(m, "scrStartTitle")->value(), 12);
    QCOMPARE(ctl<Spinner>(m, "scrEndTitle")->value(), 20);
    QCOMPARE(ctl<QLineEdit>(m, "txtComment")->text(), QStringLiteral("Hall 2"));
    QVERIFY(ctl<QCheckBox>(m, "chkSynchronize")->isChecked() &&
            !ctl<QCheckBox>(m, "chkSquelch")->isChecked());
}

CORVANE_TEST_CLASS(UserStoryTest)
#include "UserStoryTest.moc"
