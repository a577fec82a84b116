#include "SavePlanTest.h"

#include "TestEditor.h"
#include "transfer/CellMap.h"
#include "transfer/CompareCells.h"
#include "transfer/LoadValidation.h"
#include "transfer/MarkPlan.h"
#include "transfer/SavePlan.h"
#include "transfer/WholeNumber.h"

#include <QTest>

namespace {

QByteArray allBytes(const QVector<CellWrite>& writes)
{
    QByteArray out;
    for (const CellWrite& w : writes)
        out += char(w.bytes.d0) + QByteArray(1, char(w.bytes.d1));
    return out;
}

QVector<uint8_t> addresses(const QVector<CellWrite>& writes)
{
    QVector<uint8_t> out;
    for (const CellWrite& w : writes)
        out << w.address;
    return out;
}

QByteArray written(const SavePlan& plan, uint8_t first, int count)
{
    QByteArray out;
    for (const CellWrite& w : plan.writes)
        if (w.address >= first && w.address < first + count)
            out += char(w.bytes.d0) + QByteArray(1, char(w.bytes.d1));
    return out;
}

} // namespace

void SavePlanTest::defaultsLocked()
{
    const SavePlan plan = buildSavePlan(TestEditor::defaults());
    QVERIFY(plan.ok());
    QCOMPARE(plan.writes.size(), 54);
    QCOMPARE(addresses(plan.writes), saveWriteOrder(false));
    const QByteArray expected = QByteArray("50") + "000000" + "10" + "000100" + "00" + "01020102" +
                                "7<" + QByteArray(16, '\a') + "0KL0DS\r" + QByteArray(57, '\a');
    QCOMPARE(allBytes(plan.writes), expected);
    QCOMPARE(plan.OptionBits, uint16_t(12));
    for (const CellWrite& w : plan.writes)
        QVERIFY(w.advancesBar);
}

void SavePlanTest::unlockedWritesModelAndChannelFirst()
{
    const SavePlan plan = buildSavePlan(
        TestEditor::with({"unlocked", "txtModel=7", "txtChannel=42", "chkSynchronize=0"}));
    QVERIFY(plan.ok());
    QCOMPARE(plan.writes.size(), 56);
    QCOMPARE(addresses(plan.writes), saveWriteOrder(true));
    QCOMPARE(allBytes(plan.writes.mid(0, 2)), QByteArray("0742"));
    QVERIFY(!plan.writes[0].advancesBar && !plan.writes[1].advancesBar &&
            plan.writes[2].advancesBar);
    QCOMPARE(written(plan, 0x3D, 1), QByteArray("74"));
    QCOMPARE(plan.OptionBits, uint16_t(4));
    QVERIFY(!plan.Synchronize && plan.Squelch);
}

void SavePlanTest::pointsByMode_data()
{
    QTest::addColumn<QStringList>("editor");
    QTest::addColumn<QByteArray>("startCells");
    QTest::addColumn<QByteArray>("endCells");
    const QStringList values{"txtStartFrame=5000", "txtEndFrame=1079999", "scrStartMinutes=12",
                             "scrStartSeconds=5",  "scrEndMinutes=599",   "scrEndSeconds=59"};
    QTest::newRow("Time to Time") << (values + QStringList{"modes=M/M"}) << QByteArray("00012050")
                                  << QByteArray("00599590");
    QTest::newRow("Frame to Frame")
        << (values + QStringList{"modes=F/F"}) << QByteArray("00050000") << QByteArray("10799990");
    QTest::newRow("Title takes the frame box")
        << (values + QStringList{"modes=T/M"}) << QByteArray("00050000") << QByteArray("00599590");
    QTest::newRow("Chapter takes the frame box")
        << (values + QStringList{"modes=M/C"}) << QByteArray("00012050") << QByteArray("10799990");
}

void SavePlanTest::pointsByMode()
{
    QFETCH(QStringList, editor);
    QFETCH(QByteArray, startCells);
    QFETCH(QByteArray, endCells);
    const SavePlan plan = buildSavePlan(TestEditor::with(editor));
    QVERIFY2(plan.ok(), qPrintable(plan.problemText));
    QCOMPARE(written(plan, 0x30, 4), startCells);
    QCOMPARE(written(plan, 0x34, 4), endCells);
}

void SavePlanTest::checks_data()
{
    QTest::addColumn<QStringList>("editor");
    QTest::addColumn<QStringList>("problems");
    const auto number = [](const char* field, const char* holds, int lo, int hi) {
        return QString("%1 holds %2; it must be a whole number from %3 to %4.")
            .arg(field, holds)
            .arg(lo)
            .arg(hi);
    };
    QTest::newRow("defaults") << QStringList{} << QStringList{};
    QTest::newRow("title 150") << QStringList{"txtStartTitle=150"}
                               << QStringList{number("Start Title", "\"150\"", 1, 99)};
    QTest::newRow("frame -5") << QStringList{"txtStartFrame=-5"}
                              << QStringList{number("Start Frame", "\"-5\"", 1, 1079999)};
    QTest::newRow("frame 12345678") << QStringList{"txtEndFrame=12345678"}
                                    << QStringList{number("End Frame", "\"12345678\"", 2, 1079999)};
    QTest::newRow("model abc, unlocked") << QStringList{"unlocked", "txtModel=abc"}
                                         << QStringList{number("Model", "\"abc\"", 1, 99)};
    QTest::newRow("model abc, locked: not written") << QStringList{"txtModel=abc"} << QStringList{};
    QTest::newRow("empty channel") << QStringList{"unlocked", "txtChannel="}
                                   << QStringList{number("Channel", "nothing", 1, 99)};
    QTest::newRow("blanks around a number")
        << QStringList{"txtStartTitle= 42 ", "txtEndTitle=+43"} << QStringList{};
    QTest::newRow("not whole") << QStringList{"txtStartFrame=12.5"}
                               << QStringList{number("Start Frame", "\"12.5\"", 1, 1079999)};
    QTest::newRow("thousands separator")
        << QStringList{"txtEndFrame=1,000"}
        << QStringList{number("End Frame", "\"1,000\"", 2, 1079999)};
    QTest::newRow("beyond 64 bits")
        << QStringList{"txtEndChapter=99999999999999999999999"}
        << QStringList{number("End Chapter", "\"99999999999999999999999\"", 2, 99)};
    QTest::newRow("start title 99, end Title")
        << QStringList{"modes=C/T", "txtStartTitle=99"}
        << QStringList{number("Start Title", "\"99\"", 1, 98)};
    QTest::newRow("start chapter 99, end Chapter")
        << QStringList{"txtStartChapter=99"}
        << QStringList{number("Start Chapter", "\"99\"", 1, 98)};
    QTest::newRow("start chapter 99, end Title")
        << QStringList{"modes=C/T", "txtStartChapter=99"} << QStringList{};
    QTest::newRow("start frame last, end Frame")
        << QStringList{"modes=F/F", "txtStartFrame=1079999", "txtEndFrame=1079999"}
        << QStringList{number("Start Frame", "\"1079999\"", 1, 1079998)};
    QTest::newRow("start and end frame last, end Chapter")
        << QStringList{"modes=F/C", "txtStartFrame=1079999", "txtEndFrame=1079999"}
        << QStringList{};
    QTest::newRow("end frame not after start")
        << QStringList{"modes=F/F", "txtStartFrame=5000", "txtEndFrame=5000"}
        << QStringList{number("End Frame", "\"5000\"", 5001, 1079999)};
    QTest::newRow("frames out of order in Chapter modes")
        << QStringList{"txtStartFrame=5000", "txtEndFrame=3000"}
        << QStringList{number("End Frame", "\"3000\"", 5001, 1079999)};
    QTest::newRow("frame box unused in Time mode")
        << QStringList{"modes=M/C", "txtStartFrame=abc"} << QStringList{};
    QTest::newRow("Chapter 5000 to Time 1:00")
        << QStringList{"modes=C/M", "txtStartFrame=5000", "scrEndMinutes=1"} << QStringList{};
    QTest::newRow("Time 12:05 to Frame 1000")
        << QStringList{"modes=M/F", "scrStartMinutes=12", "scrStartSeconds=5", "txtEndFrame=1000"}
        << QStringList{};
    QTest::newRow("both Time, end not after start")
        << QStringList{"modes=M/M", "scrStartMinutes=10", "scrEndMinutes=10"}
        << QStringList{"End Time holds 10:00; it must be from 10:01 to 599:59."};
    QTest::newRow("start 599:59")
        << QStringList{"modes=M/C", "scrStartMinutes=599", "scrStartSeconds=59"}
        << QStringList{"Start Time holds 599:59; it must be from 0:00 to 599:58."};
    QTest::newRow("end 0:00") << QStringList{"modes=T/M", "scrEndMinutes=0"}
                              << QStringList{
                                     "End Time holds 0:00; it must be from 0:01 to 599:59."};
    QTest::newRow("seconds 60") << QStringList{"modes=M/M", "scrStartSeconds=60"}
                                << QStringList{number("Start Second", "60", 0, 59)};
    QTest::newRow("comment of 16") << QStringList{"txtComment=0123456789abcdef"}
                                   << QStringList{"Comment holds 16 characters; it must be at "
                                                  "most 15 characters."};
    QTest::newRow("init string of 24")
        << QStringList{"txtInitStr3=" + QString(24, 'x')}
        << QStringList{"Init String 3 holds 24 characters; it must be at most 23 characters."};
    QTest::newRow("init strings of 59")
        << QStringList{"txtInitStr1=" + QString(23, 'a'), "txtInitStr2=" + QString(23, 'b'),
                       "txtInitStr4=" + QString(13, 'c')}
        << QStringList{"Init Strings (58 chars. total) holds 59 characters; it must be at most 58 "
                       "characters."};
    QTest::newRow("several, in write order")
        << QStringList{"unlocked", "txtModel=0", "txtEndTitle=abc", "txtStartFrame=0"}
        << QStringList{number("Model", "\"0\"", 1, 99), number("Start Frame", "\"0\"", 1, 1079999),
                       number("End Title", "\"abc\"", 2, 99)};
}

void SavePlanTest::checks()
{
    QFETCH(QStringList, editor);
    QFETCH(QStringList, problems);
    const SavePlan plan = buildSavePlan(TestEditor::with(editor));
    QStringList got;
    for (const SaveProblem& p : plan.problems)
        got << p.sentence();
    QCOMPARE(got, problems);
    QCOMPARE(plan.ok(), problems.isEmpty());
    // Nothing is sent while anything is wrong.
    QCOMPARE(plan.writes.isEmpty(), !problems.isEmpty());
    QCOMPARE(plan.problemText.isEmpty(), problems.isEmpty());
}

void SavePlanTest::problemText()
{
    const SavePlan plan = buildSavePlan(TestEditor::with({"txtStartTitle=150", "txtEndChapter=x"}));
    QCOMPARE(plan.problemText,
             QString("Cannot Save! Some fields hold values that the synchronizer cannot store:\r\n"
                     "Start Title holds \"150\"; it must be a whole number from 1 to 99.\r\n"
                     "End Chapter holds \"x\"; it must be a whole number from 2 to 99.\r\n"
                     "Nothing was sent to the synchronizer. Please correct these fields and "
                     "save again."));
}

void SavePlanTest::parseWholeNumber_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("isNumber");
    QTest::addColumn<qint64>("value");
    QTest::newRow("plain") << "1205" << true << qint64(1205);
    QTest::newRow("leading zeros") << "007" << true << qint64(7);
    QTest::newRow("blanks") << " \t42 " << true << qint64(42);
    QTest::newRow("signs") << "-5" << true << qint64(-5);
    QTest::newRow("huge") << "123456789012345678901" << true << qint64(9223372036854775807LL);
    QTest::newRow("empty") << "" << false << qint64(0);
    QTest::newRow("sign only") << "-" << false << qint64(0);
    QTest::newRow("inner blank") << "1 2" << false << qint64(0);
    QTest::newRow("decimal point") << "3.0" << false << qint64(0);
    QTest::newRow("letters") << "12abc" << false << qint64(0);
    QTest::newRow("other digits") << QString::fromUtf8("\u0661\u0662") << false << qint64(0);
}

void SavePlanTest::parseWholeNumber()
{
    QFETCH(QString, text);
    QFETCH(bool, isNumber);
    QFETCH(qint64, value);
    const std::optional<int64_t> n = ::parseWholeNumber(text);
    QCOMPARE(n.has_value(), isNumber);
    if (isNumber)
        QCOMPARE(qint64(*n), value);
}

void SavePlanTest::roundTrip_data()
{
    QTest::addColumn<QStringList>("editor");
    // Two sets, each valid in every mode, whose frame numbers and times collide across
    // readings: the first when only the end is a time, the second when only the start is.
    const QStringList sets[] = {
        {"txtStartFrame=5000", "txtEndFrame=6000", "scrStartMinutes=0", "scrStartSeconds=30",
         "scrEndMinutes=1", "scrEndSeconds=0"},
        {"txtStartFrame=10", "txtEndFrame=1000", "scrStartMinutes=12", "scrStartSeconds=5",
         "scrEndMinutes=20", "scrEndSeconds=0"},
    };
    const QStringList common{"unlocked",           "txtModel=7",        "txtChannel=99",
                             "txtStartTitle=5",    "txtEndTitle=7",     "txtStartChapter=3",
                             "txtEndChapter=9",    "chkSynchronize=0",  "txtComment=Hall \u00a9 2",
                             "txtInitStr1=0KL0DS", "txtInitStr2=X1 Y2", "txtInitStr3=\u20ac"};
    for (int set = 0; set < 2; ++set)
        for (char s : QByteArray("TCMF"))
            for (char e : QByteArray("TCMF"))
                QTest::addRow("set %d %c/%c", set + 1, s, e)
                    << (common + sets[set] + QStringList{QString("modes=%1/%2").arg(s).arg(e)});
}

void SavePlanTest::roundTrip()
{
    QFETCH(QStringList, editor);
    const EditorSnapshot e = TestEditor::with(editor);
    const SavePlan plan = buildSavePlan(e);
    QVERIFY2(plan.ok(), qPrintable(plan.problemText));
    CellSet unit;
    for (const CellWrite& w : plan.writes)
        unit.set(w.address, w.bytes);
    QCOMPARE(countDifferences(e, plan.StartMode, plan.EndMode, unit), 0);

    const LoadResult r = decodeAndValidate(unit);
    const MarkPlan marks = markPlan(r.marks, r.values.StartMode, r.values.EndMode);
    QCOMPARE(marks.problemCount(), 0);
    QVERIFY(marks.shapes.isEmpty());

    const SyncParameters& v = r.values;
    QCOMPARE(v.StartMode, e.StartMode);
    QCOMPARE(v.EndMode, e.EndMode);
    QCOMPARE(QString::number(v.Model), e.txtModel);
    QCOMPARE(QString::number(v.Channel), e.txtChannel);
    QCOMPARE(QString::number(v.StartTitle), e.txtStartTitle);
    QCOMPARE(QString::number(v.EndTitle), e.txtEndTitle);
    QCOMPARE(QString::number(v.StartChapter), e.txtStartChapter);
    QCOMPARE(QString::number(v.EndChapter), e.txtEndChapter);
    if (e.StartMode == PointMode::Timecode) {
        QCOMPARE(int(v.StartMinutes), e.scrStartMinutes);
        QCOMPARE(int(v.StartSeconds), e.scrStartSeconds);
    } else {
        QCOMPARE(QString::number(v.StartFrame), e.txtStartFrame);
    }
    if (e.EndMode == PointMode::Timecode) {
        QCOMPARE(int(v.EndMinutes), e.scrEndMinutes);
        QCOMPARE(int(v.EndSeconds), e.scrEndSeconds);
    } else {
        QCOMPARE(QString::number(v.EndFrame), e.txtEndFrame);
    }
    QCOMPARE(v.Synchronize, e.chkSynchronize);
    QCOMPARE(v.Squelch, e.chkSquelch);
    QCOMPARE(v.Comment, e.txtComment);
    QCOMPARE(v.InitStr, e.txtInitStr);
}
