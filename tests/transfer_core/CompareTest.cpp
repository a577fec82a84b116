#include "CompareTest.h"

#include "TestEditor.h"
#include "transfer/CompareCells.h"
#include "transfer/SavePlan.h"

#include <QTest>

void CompareTest::differences_data()
{
    QTest::addColumn<QStringList>("editor"); // the editor when saving
    QTest::addColumn<QStringList>("cells");  // what the unit then holds differently
    QTest::addColumn<QStringList>("after");  // the editor when comparing, if it changed
    QTest::addColumn<int>("count");
    const QStringList none;
    const QStringList unlocked{"unlocked"};
    QTest::newRow("clean") << none << none << none << 0;
    QTest::newRow("clean, unlocked") << unlocked << none << none << 0;
    QTest::newRow("model differs, unlocked") << unlocked << QStringList{"3F=23"} << none << 1;
    QTest::newRow("model unreadable, unlocked") << unlocked << QStringList{"3F=?3"} << none << 1;
    QTest::newRow("model ignored while locked")
        << none << QStringList{"3F=23", "3E=xx"} << none << 0;
    QTest::newRow("one mode differs") << none << QStringList{"modes=C/T"} << none << 1;
    QTest::newRow("both modes differ: once") << none << QStringList{"modes=F/T"} << none << 1;
    QTest::newRow("start point unreadable: once")
        << none << QStringList{"start=?0?0?0?"} << none << 1;
    QTest::newRow("start frame differs") << none << QStringList{"start=0000002"} << none << 1;
    QTest::newRow("frame box no number") << none << none << QStringList{"txtEndFrame=abc"} << 1;
    const QStringList startTime{"modes=M/C", "scrStartMinutes=12", "scrStartSeconds=5"};
    QTest::newRow("time, minutes and seconds differ")
        << startTime << QStringList{"start=0001306"} << none << 2;
    QTest::newRow("time, seconds differ") << startTime << QStringList{"start=0001206"} << none << 1;
    QTest::newRow("time, digits 6 and 5 not compared")
        << startTime << QStringList{"start=4401205"} << none << 0;
    QTest::newRow("time mode ignores the frame box")
        << startTime << none << QStringList{"txtStartFrame=777"} << 0;
    QTest::newRow("frame mode ignores the spinners")
        << QStringList{"modes=F/F"} << none << QStringList{"scrStartMinutes=5", "scrEndSeconds=9"}
        << 0;
    QTest::newRow("end time differs")
        << QStringList{"modes=T/M"} << QStringList{"end=0000200"} << none << 1;
    QTest::newRow("title and chapter cells") << none << QStringList{"38=xx", "3B=03"} << none << 2;
    QTest::newRow("both switches off") << none << QStringList{"3D=70"} << none << 2;
    QTest::newRow("baud byte not compared") << none << QStringList{"3D=0<"} << none << 0;
    QTest::newRow("comment cells")
        << QStringList{"txtComment=Hello"} << QStringList{"48=hE", "49=LL"} << none << 2;
    QTest::newRow("init cell") << none << QStringList{"50=0k"} << none << 1;
    QTest::newRow("empty middle init string")
        << QStringList{"txtInitStr1=AB", "txtInitStr2=", "txtInitStr3=CD"} << none << none << 0;
    QTest::newRow("rejected character never equal")
        << QStringList{"txtComment=A\tB"} << none << none << 1;
    QTest::newRow("changed comment after save") << none << none << QStringList{"txtComment=x"} << 1;
}

void CompareTest::differences()
{
    QFETCH(QStringList, editor);
    QFETCH(QStringList, cells);
    QFETCH(QStringList, after);
    QFETCH(int, count);
    EditorSnapshot e = TestEditor::with(editor);
    const SavePlan plan = buildSavePlan(e);
    QVERIFY2(plan.ok(), qPrintable(plan.problemText));
    CellSet unit;
    for (const CellWrite& w : plan.writes)
        unit.set(w.address, w.bytes);
    if (!e.ModelChannelUnlocked)
        TestCells::apply(unit, {"3F=22", "3E=01"}); // the unit's own
    TestCells::apply(unit, cells);
    TestEditor::apply(e, after);
    QCOMPARE(countDifferences(e, plan.StartMode, plan.EndMode, unit), count);
}

void CompareTest::nothingReadBack()
{
    // Cells that never arrived cannot match: mode, two points, four numbers, two switches,
    // eight comment and thirty-two init-string cells.
    QCOMPARE(
        countDifferences(TestEditor::defaults(), PointMode::Chapter, PointMode::Chapter, CellSet()),
        1 + 2 + 4 + 2 + 8 + 32);
}
