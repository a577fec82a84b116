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
    QVERIFY(r.startUnits({2}, true, {{1, "/nonexistent/ttyNone"}}));
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
    m.menuConnect->trigger();
    frmFinder& fi = r.f.app->finder();
    Script script;
    script.when(r.probing(2), [&] { unit.pressReset(); });
    QTest::mouseClick(fi.cmdStart, Qt::LeftButton);
    QVERIFY(script.finished());

    // The editor is back, connected and loaded, with nothing to report.
    QVERIFY(m.isVisible() && !fi.isVisible());
    QVERIFY(m.imgSync->isVisible());
    QCOMPARE(m.scrModel->value(), 7);
    QCOMPARE(m.scrChannel->value(), 3);
    QVERIFY(m.optStartTitle->isChecked() && m.optEndTimecode->isChecked());
    QCOMPARE(m.scrStartTitle->value(), 5);
    QCOMPARE(m.scrEndMinutes->value(), 12);
    QCOMPARE(m.scrEndSeconds->value(), 34);
    for (HighlightShape* s : m.highlightShapes())
        QVERIFY(!s->isVisible());
    QVERIFY(r.f.modal.requests.empty());

    // Edit.
    QTest::mouseClick(m.optEndTitle, Qt::LeftButton);
    m.scrStartTitle->setValueNotify(12);
    m.scrEndTitle->setValueNotify(20);
    m.txtComment->selectAll();
    QTest::keyClicks(m.txtComment, "Hall 2");
    QTest::mouseClick(m.chkSquelch, Qt::LeftButton);

    // SAVE to Synchronizer: written and compared without a complaint.
    QTest::mouseClick(m.cmdSaveTo, Qt::LeftButton);
    QVERIFY(r.f.modal.requests.empty());

    // Something else in the editor, then LOAD from Synchronizer brings the saved set back.
    QTest::mouseClick(m.cmdDefaults, Qt::LeftButton);
    QTest::mouseClick(m.cmdLoadFrom, Qt::LeftButton);
    QVERIFY(r.f.modal.requests.empty());
    QCOMPARE(m.scrModel->value(), 7);
    QCOMPARE(m.scrChannel->value(), 3);
    QVERIFY(m.optStartTitle->isChecked() && m.optEndTitle->isChecked());
    QCOMPARE(m.scrStartTitle->value(), 12);
    QCOMPARE(m.scrEndTitle->value(), 20);
    QCOMPARE(m.txtComment->text(), QStringLiteral("Hall 2"));
    QVERIFY(m.chkSynchronize->isChecked() && !m.chkSquelch->isChecked());
}

CORVANE_TEST_CLASS(UserStoryTest)
#include "UserStoryTest.moc"
