// What a load makes of the unit's cells: values, red and yellow marks on the fields in
// use, the report box, the status and the model/channel lock. Runs the load worker
// directly, as the finder does, so the rows need not wait for the command's pause.

#include "EditorState.h"
#include "TransferRig.h"
#include "app/HiddenKeys.h"
#include "support/TestRunner.h"
#include "transfer/LoadReport.h"
#include "transfer/flows/modGetSetAll.h"

#include <QRadioButton>

using namespace TransferTest;

class LoadMarksTest : public QObject
{
    Q_OBJECT
private slots:
    void marksAndReport_data();
    void marksAndReport();
    void lockFollowsLoads();
    void frameBoxWithFocusIsNotPushed();
    void loadedInitStringsJudgedTogether();
};

void LoadMarksTest::marksAndReport_data()
{
    QTest::addColumn<QStringList>("cells");
    QTest::addColumn<QStringList>("marks");
    QTest::addColumn<int>("red");
    QTest::addColumn<int>("yellow");
    QTest::addColumn<QStringList>("fields");
    QTest::addColumn<bool>("unlocked");

    // The unit holds the default set (Chapter to Chapter) but for the cells named.
    QTest::newRow("model unreadable") << QStringList{"3F=5A"} << QStringList{"shpHiLiteModel=red"}
                                      << 1 << 0 << QStringList{"txtModel=22"} << true;
    QTest::newRow("model of two spaces is 0, raised to 1")
        << QStringList{"3F=  "} << QStringList{"shpHiLiteModel=yellow"} << 0 << 1
        << QStringList{"txtModel=1"} << true;
    QTest::newRow("start title 99 ending on a title")
        << QStringList{"modes=T/T", "38=99", "39=99"} << QStringList{"shpHiLiteStartTitle=yellow"}
        << 0 << 1 << QStringList{"txtStartTitle=98", "txtEndTitle=99"} << false;
    QTest::newRow("start title 99 ending on a chapter")
        << QStringList{"38=99", "39=99"} << QStringList{} << 0 << 0
        << QStringList{"txtStartTitle=99", "txtEndTitle=99"} << false;
    QTest::newRow("start point unreadable, start on a chapter")
        << QStringList{"31=X1"} << QStringList{} << 2 << 0
        << QStringList{"txtStartFrame=1", "txtStartMinutes=0", "txtStartSeconds=0"} << false;
    QTest::newRow("start point unreadable, start on a time")
        << QStringList{"modes=M/C", "31=X1"}
        << QStringList{"shpHiLiteStartMinutes=red", "shpHiLiteStartSeconds=red"} << 2 << 0
        << QStringList{"txtStartMinutes=0", "txtStartSeconds=0"} << false;
    QTest::newRow("end frame not after start frame")
        << QStringList{"modes=F/F", "start=0005000", "end=0004000"}
        << QStringList{"shpHiLiteEndFrame=yellow"} << 0 << 1
        << QStringList{"txtStartFrame=5000", "txtEndFrame=5001"} << false;
    QTest::newRow("end point unreadable after start 5000: red wins")
        << QStringList{"modes=F/F", "start=0005000", "35=??"}
        << QStringList{"shpHiLiteEndFrame=red"} << 2 << 0 << QStringList{"txtEndFrame=5001"}
        << false;
    QTest::newRow("out of range only where not in use")
        << QStringList{"end=0000000"} << QStringList{} << 0 << 0
        << QStringList{"txtEndFrame=2", "txtEndMinutes=0", "txtEndSeconds=1"} << false;
    QTest::newRow("red and yellow together")
        << QStringList{"3E=AB", "3B=00"}
        << QStringList{"shpHiLiteChannel=red", "shpHiLiteEndChapter=yellow"} << 1 << 1
        << QStringList{"txtChannel=1", "txtEndChapter=2"} << true;
    QTest::newRow("start time, end frame: neither pushed")
        << QStringList{"modes=M/F", "start=0001205", "end=0001000"} << QStringList{} << 0 << 0
        << QStringList{"txtStartMinutes=12", "txtStartSeconds=5", "txtStartFrame=1205",
                       "txtEndFrame=1000"}
        << false;
    QTest::newRow("start frame, end time: neither pushed")
        << QStringList{"modes=F/M", "start=0050000", "end=0001000"} << QStringList{} << 0 << 0
        << QStringList{"txtStartFrame=50000", "txtEndMinutes=10", "txtEndSeconds=0",
                       "txtEndFrame=1000"}
        << false;
}

void LoadMarksTest::marksAndReport()
{
    QFETCH(QStringList, cells);
    QFETCH(QStringList, marks);
    QFETCH(int, red);
    QFETCH(int, yellow);
    QFETCH(QStringList, fields);
    QFETCH(bool, unlocked);

    Rig rig;
    QVERIFY(rig.open());
    putCells(rig.sim, cells);
    frmMain& m = rig.main();

    QCOMPARE(modGetSetAll::GetAllFromCorvane(m), int16_t(red + yellow));

    QStringList shown = rig.shownMarks();
    shown.sort();
    QCOMPARE(shown, marks);
    const QString report = loadReportText(red, yellow);
    QCOMPARE(rig.messages(), report.isEmpty() ? QStringList{} : QStringList{report});
    if (!report.isEmpty())
        QVERIFY(rig.fx.modal.requests.back().exclamation);
    QVERIFY(rig.problems.isEmpty());
    const QStringList state = wholeEditor(m);
    for (const QString& f : fields)
        QVERIFY2(state.contains(f), qPrintable(f));
    QCOMPARE(rig.g().ModelChannelUnlocked, unlocked);
    QCOMPARE(rig.g().ModelChannelMarked, unlocked);
    QCOMPARE(m.txtModel->isEnabled(), unlocked);
    QCOMPARE(m.scrModel->isHidden(), !unlocked);
}

// A load that marks model or channel unlocks them; the next load locks them again. A lock
// the user opened stays open through loads.
void LoadMarksTest::lockFollowsLoads()
{
    Rig rig;
    QVERIFY(rig.open());
    frmMain& m = rig.main();
    Globals& g = rig.g();

    putCells(rig.sim, {"3F=??"});
    QCOMPARE(modGetSetAll::GetAllFromCorvane(m), int16_t(1));
    QVERIFY(g.ModelChannelUnlocked && g.ModelChannelMarked);
    QVERIFY(!m.scrChannel->isHidden() && m.txtChannel->isEnabled());

    putCells(rig.sim, {"3F=22"});
    QCOMPARE(modGetSetAll::GetAllFromCorvane(m), int16_t(0));
    QVERIFY(!g.ModelChannelUnlocked && !g.ModelChannelMarked);
    QVERIFY(m.scrChannel->isHidden() && !m.txtChannel->isEnabled());

    m.Form_KeyPress(HiddenKeys::First);
    m.Form_KeyPress(HiddenKeys::Second);
    QVERIFY(g.ModelChannelUnlocked);
    putCells(rig.sim, {"3E=00"});
    QCOMPARE(modGetSetAll::GetAllFromCorvane(m), int16_t(1));
    QVERIFY(g.ModelChannelUnlocked && !g.ModelChannelMarked);
    putCells(rig.sim, {"3E=01"});
    QCOMPARE(modGetSetAll::GetAllFromCorvane(m), int16_t(0));
    QVERIFY(g.ModelChannelUnlocked && !g.ModelChannelMarked);
    QVERIFY(!m.scrChannel->isHidden());
}

// The user was typing a start frame (the menu entry leaves the focus there) when a load
// switches the start to a time: the box's check must not run on the loaded numbers.
void LoadMarksTest::frameBoxWithFocusIsNotPushed()
{
    Rig rig;
    QVERIFY(rig.open());
    frmMain& m = rig.main();
    m.optEndFrame->setChecked(true);
    m.optStartFrame->setChecked(true);
    m.txtStartFrame->setFocus();
    QTest::keyClicks(m.txtStartFrame, "7");
    QVERIFY(m.txtStartFrame->hasFocus());
    putCells(rig.sim, {"modes=M/F", "start=0001205", "end=0001000"});

    QCOMPARE(modGetSetAll::GetAllFromCorvane(m), int16_t(0));

    QCOMPARE(m.txtStartFrame->text(), QString("1205"));
    QCOMPARE(m.txtEndFrame->text(), QString("1000"));
    QCOMPARE(m.params.EndFrame, 1000);
    QVERIFY(rig.shownMarks().isEmpty());
}

// The editor's init strings may fill the 58 characters; loaded strings are judged on their
// own, not together with the strings they replace.
void LoadMarksTest::loadedInitStringsJudgedTogether()
{
    Rig rig;
    QVERIFY(rig.open());
    frmMain& m = rig.main();
    m.txtInitStr1->setText("A");
    m.txtInitStr2->setText(QString(23, 'B'));
    m.txtInitStr3->setText(QString(23, 'C'));
    m.txtInitStr4->setText(QString(11, 'D'));
    QVERIFY(rig.messages().isEmpty());
    putCells(rig.sim, {"init=12345678901234567890\r"});

    QCOMPARE(modGetSetAll::GetAllFromCorvane(m), int16_t(0));

    QVERIFY2(rig.messages().isEmpty(), qPrintable(rig.messages().join("|")));
    QCOMPARE(m.txtInitStr1->text(), QString("12345678901234567890"));
    for (QLineEdit* box : {m.txtInitStr2, m.txtInitStr3, m.txtInitStr4})
        QCOMPARE(box->text(), QString());
}

CORVANE_TEST_CLASS(LoadMarksTest)
#include "LoadMarksTest.moc"
