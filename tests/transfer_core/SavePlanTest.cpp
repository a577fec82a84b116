#include "transfer/SavePlan.h"
#include "TestCells.h"
#include "model/AnsiText.h"
#include "transfer/CompareCells.h"
#include "transfer/LoadValidation.h"
#include "transfer/MarkPlan.h"
#include "transfer/WholeNumber.h"

#include <QTest>

namespace {

QByteArray written(const SavePlan& plan, uint8_t first = 0, int count = 256)
{
    QByteArray out;
    for (const CellWrite& w : plan.writes)
        if (w.address >= first && w.address < first + count)
            out += char(w.bytes.d0) + QByteArray(1, char(w.bytes.d1));
    return out;
}

QString number(const char* field, const char* holds, int lo, int hi)
{
    return QString("%1 holds %2; it must be a whole number from %3 to %4.")
        .arg(field, holds)
        .arg(lo)
        .arg(hi);
}

} // namespace

class SaveTest : public QObject
{
    Q_OBJECT
private slots:
    void defaultsLocked()
    {
        const SavePlan plan = buildSavePlan(TestEditor::with({}));
        QVERIFY(plan.ok());
        QCOMPARE(plan.writes.size(), 54);
        QCOMPARE(plan.writes[0].address, uint8_t(0x3C));
        QCOMPARE(written(plan), QByteArray("50") + "000000" + "10" + "000100" + "00" + "01020102" +
                                    "7<" + QByteArray(16, '\a') + "0KL0DS\r" +
                                    QByteArray(57, '\a'));
        for (const CellWrite& w : plan.writes)
            QVERIFY(w.advancesBar);
    }

    void unlockedWritesModelAndChannelFirst()
    {
        const SavePlan plan = buildSavePlan(
            TestEditor::with({"unlocked", "txtModel=7", "txtChannel=42", "chkSynchronize=0",
                              "modes=M/F", "scrStartMinutes=12", "scrStartSeconds=5",
                              "txtEndFrame=1079999", "txtComment=5\u20ac", "txtInitStr2=AB"}));
        QVERIFY(plan.ok());
        QCOMPARE(plan.writes.size(), 56);
        QCOMPARE(plan.writes[1].address, uint8_t(0x3E));
        QCOMPARE(written(plan).left(4), QByteArray("0742"));
        QVERIFY(!plan.writes[0].advancesBar && !plan.writes[1].advancesBar &&
                plan.writes[2].advancesBar);
        QCOMPARE(written(plan, 0x3C, 2), QByteArray(">074")); // Time/Frame, squelch only
        QCOMPARE(written(plan, 0x30, 8), QByteArray("0001205010799990"));
        QCOMPARE(written(plan, 0x48, 8), QByteArray("5\x80").leftJustified(16, '\a'));
        QCOMPARE(written(plan, 0x50, 32), QByteArray("0KL0DS\rAB\r").leftJustified(64, '\a'));
    }

    void checks_data()
    {
        QTest::addColumn<QStringList>("editor");
        QTest::addColumn<QStringList>("problems");
        QTest::newRow("defaults") << QStringList{} << QStringList{};
        QTest::newRow("title 150") << QStringList{"txtStartTitle=150"}
                                   << QStringList{number("Start Title", "\"150\"", 1, 99)};
        QTest::newRow("frame -5") << QStringList{"txtStartFrame=-5"}
                                  << QStringList{number("Start Frame", "\"-5\"", 1, 1079999)};
        QTest::newRow("model abc, unlocked") << QStringList{"unlocked", "txtModel=abc"}
                                             << QStringList{number("Model", "\"abc\"", 1, 99)};
        QTest::newRow("model abc, locked: not written")
            << QStringList{"txtModel=abc"} << QStringList{};
        QTest::newRow("empty channel") << QStringList{"unlocked", "txtChannel="}
                                       << QStringList{number("Channel", "nothing", 1, 99)};
        QTest::newRow("blanks and sign")
            << QStringList{"txtStartTitle= 42 ", "txtEndTitle=+43"} << QStringList{};
        QTest::newRow("not whole") << QStringList{"txtStartFrame=12.5"}
                                   << QStringList{number("Start Frame", "\"12.5\"", 1, 1079999)};
        QTest::newRow("beyond 64 bits")
            << QStringList{"txtEndChapter=99999999999999999999999"}
            << QStringList{number("End Chapter", "\"99999999999999999999999\"", 2, 99)};
        QTest::newRow("start title 99, end Title")
            << QStringList{"modes=C/T", "txtStartTitle=99"}
            << QStringList{number("Start Title", "\"99\"", 1, 98)};
        QTest::newRow("start chapter 99, end Title")
            << QStringList{"modes=C/T", "txtStartChapter=99"} << QStringList{};
        QTest::newRow("start frame last, end Frame")
            << QStringList{"modes=F/F", "txtStartFrame=1079999", "txtEndFrame=1079999"}
            << QStringList{number("Start Frame", "\"1079999\"", 1, 1079998)};
        QTest::newRow("frames out of order in Chapter modes")
            << QStringList{"txtStartFrame=5000", "txtEndFrame=3000"}
            << QStringList{number("End Frame", "\"3000\"", 5001, 1079999)};
        QTest::newRow("frame box unused in Time mode")
            << QStringList{"modes=M/C", "txtStartFrame=abc"} << QStringList{};
        QTest::newRow("Chapter 5000 to Time 1:00")
            << QStringList{"modes=C/M", "txtStartFrame=5000", "scrEndMinutes=1"} << QStringList{};
        QTest::newRow("Time 12:05 to Frame 1000")
            << QStringList{"modes=M/F", "scrStartMinutes=12", "scrStartSeconds=5",
                           "txtEndFrame=1000"}
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
        QTest::newRow("comment of 16")
            << QStringList{"txtComment=0123456789abcdef"}
            << QStringList{"Comment holds 16 characters; it must be at most 15 characters."};
        QTest::newRow("init string of 24")
            << QStringList{"txtInitStr3=" + QString(24, 'x')}
            << QStringList{"Init String 3 holds 24 characters; it must be at most 23 characters."};
        QTest::newRow("init strings of 59")
            << QStringList{"txtInitStr1=" + QString(23, 'a'), "txtInitStr2=" + QString(23, 'b'),
                           "txtInitStr4=" + QString(13, 'c')}
            << QStringList{"Init Strings (58 chars. total) holds 59 characters; it must be at "
                           "most 58 characters."};
        QTest::newRow("several, in write order")
            << QStringList{"unlocked", "txtModel=0", "txtEndTitle=abc", "txtStartFrame=0"}
            << QStringList{number("Model", "\"0\"", 1, 99),
                           number("Start Frame", "\"0\"", 1, 1079999),
                           number("End Title", "\"abc\"", 2, 99)};
    }

    void checks()
    {
        QFETCH(QStringList, editor);
        QFETCH(QStringList, problems);
        const SavePlan plan = buildSavePlan(TestEditor::with(editor));
        QStringList got;
        for (const SaveProblem& p : plan.problems)
            got << p.sentence();
        QCOMPARE(got, problems);
        // Nothing is sent while anything is wrong.
        QCOMPARE(plan.writes.isEmpty(), !problems.isEmpty());
        QCOMPARE(plan.problemText.isEmpty(), problems.isEmpty());
    }

    void problemText()
    {
        QCOMPARE(
            buildSavePlan(TestEditor::with({"txtStartTitle=150", "txtEndChapter=x"})).problemText,
            QString("Cannot Save! Some fields hold values that the synchronizer cannot "
                    "store:\r\nStart Title holds \"150\"; it must be a whole number from 1 "
                    "to 99.\r\nEnd Chapter holds \"x\"; it must be a whole number from 2 to "
                    "99.\r\nNothing was sent to the synchronizer. Please correct these fields "
                    "and save again."));
    }

    void parseWholeNumber()
    {
        QCOMPARE(::parseWholeNumber(" \t007 ").value_or(-1), 7);
        QCOMPARE(::parseWholeNumber("-5").value_or(0), -5);
        QCOMPARE(::parseWholeNumber("123456789012345678901").value_or(0), INT64_MAX);
        for (const char* bad : {"", "-", "1 2", "3.0", "1,000", "12abc", "\u0661\u0662"})
            QVERIFY2(!::parseWholeNumber(QString::fromUtf8(bad)), bad);
    }

    void ansiText()
    {
        QCOMPARE(AnsiText::encode(QString::fromUtf8("Az9 \u20ac\u00e9\u00ff\u0152")),
                 QByteArray("Az9 \x80\xe9\xff\x8c"));
        // Outside the code page: one "?" per character, a surrogate pair included.
        QCOMPARE(AnsiText::encode(QString::fromUtf8("a\u0100b\U0001F600c")), QByteArray("a?b?c"));
        QByteArray all; // every byte a unit may keep comes back as the same byte
        for (int b = 32; b <= 254; ++b)
            all.append(char(b));
        QCOMPARE(AnsiText::encode(AnsiText::decode(all)), all);
    }

    void differences_data()
    {
        QTest::addColumn<QString>("editor"); // the editor when saving
        QTest::addColumn<QString>("cells");  // what the unit then holds differently
        QTest::addColumn<QString>("after");  // the editor when comparing, if it changed
        QTest::addColumn<int>("count");
        const auto row = [](const char* n, const char* e, const char* c, const char* a, int k) {
            QTest::newRow(n) << QString(e) << QString(c) << QString(a) << k;
        };
        row("clean, unlocked", "unlocked", "", "", 0);
        row("model differs, unlocked", "unlocked", "3F=23", "", 1);
        row("model unreadable, unlocked", "unlocked", "3F=?3", "", 1);
        row("model ignored while locked", "", "3F=23 3E=xx", "", 0);
        row("one mode differs", "", "modes=C/T", "", 1);
        row("both modes differ: once", "", "modes=F/T", "", 1);
        row("start point unreadable: once", "", "start=?0?0?0?", "", 1);
        row("start frame differs", "", "start=0000002", "", 1);
        row("frame box no number", "", "", "txtEndFrame=abc", 1);
        const char* startTime = "modes=M/C scrStartMinutes=12 scrStartSeconds=5";
        row("time, minutes and seconds differ", startTime, "start=0001306", "", 2);
        row("time, seconds differ", startTime, "start=0001206", "", 1);
        row("time, digits 6 and 5 not compared", startTime, "start=4401205", "", 0);
        row("time mode ignores the frame box", startTime, "", "txtStartFrame=777", 0);
        row("frame mode ignores the spinners", "modes=F/F", "", "scrStartMinutes=5", 0);
        row("end time differs", "modes=T/M", "end=0000200", "", 1);
        row("title and chapter cells", "", "38=xx 3B=03", "", 2);
        row("both switches off", "", "3D=70", "", 2);
        row("baud byte not compared", "", "3D=0<", "", 0);
        row("comment cells", "txtComment=Hello", "48=hE 49=LL", "", 2);
        row("init cell", "", "50=0k", "", 1);
        row("empty middle init string", "txtInitStr1=AB txtInitStr2= txtInitStr3=CD", "", "", 0);
        row("rejected character never equal", "txtComment=A\tB", "", "", 1);
        row("changed comment after save", "", "", "txtComment=x", 1);
    }

    void differences()
    {
        QFETCH(QString, editor);
        QFETCH(QString, cells);
        QFETCH(QString, after);
        QFETCH(int, count);
        EditorSnapshot e = TestEditor::with(editor.split(' ', Qt::SkipEmptyParts));
        const SavePlan plan = buildSavePlan(e);
        QVERIFY2(plan.ok(), qPrintable(plan.problemText));
        CellSet unit;
        for (const CellWrite& w : plan.writes)
            unit.set(w.address, w.bytes);
        if (!e.ModelChannelUnlocked)
            TestCells::apply(unit, {"3F=22", "3E=01"}); // the unit's own
        TestCells::apply(unit, cells.split(' ', Qt::SkipEmptyParts));
        TestEditor::apply(e, after.split(' ', Qt::SkipEmptyParts));
        QCOMPARE(countDifferences(e, plan.StartMode, plan.EndMode, unit), count);
        // Cells that never arrived cannot match: mode, two points, four numbers, two
        // switches, eight comment and thirty-two init-string cells.
        QCOMPARE(countDifferences(e, plan.StartMode, plan.EndMode, CellSet()),
                 1 + 2 + 4 + 2 + 8 + 32 + (e.ModelChannelUnlocked ? 2 : 0));
    }

    void roundTrip_data()
    {
        QTest::addColumn<QStringList>("editor");
        // Two sets, valid in every mode, whose frame numbers and times collide across
        // readings: the first when only the end is a time, the second when only the start is.
        const QStringList sets[] = {
            {"txtStartFrame=5000", "txtEndFrame=6000", "scrStartSeconds=30", "scrEndMinutes=1"},
            {"txtStartFrame=10", "scrStartMinutes=12", "scrStartSeconds=5", "scrEndMinutes=20"}};
        const QStringList common{"unlocked",
                                 "txtModel=7",
                                 "txtChannel=99",
                                 "txtStartTitle=5",
                                 "txtEndChapter=9",
                                 "chkSynchronize=0",
                                 "txtComment=Hall \u00a9 2",
                                 "txtInitStr2=\u20ac"};
        for (int set = 0; set < 2; ++set)
            for (char s : QByteArray("TCMF"))
                for (char e : QByteArray("TCMF"))
                    QTest::addRow("set %d %c/%c", set + 1, s, e)
                        << (common + sets[set] + QStringList{QString("modes=%1/%2").arg(s).arg(e)});
    }

    void roundTrip()
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
        QCOMPARE(markPlan(r.marks, r.values.StartMode, r.values.EndMode).problemCount(), 0);
        const SyncParameters& v = r.values;
        const bool startTime = e.StartMode == PointMode::Timecode;
        const bool endTime = e.EndMode == PointMode::Timecode;
        const QStringList got{QString::number(int(v.StartMode)),
                              QString::number(int(v.EndMode)),
                              QString::number(v.Model),
                              QString::number(v.Channel),
                              QString::number(v.StartTitle),
                              QString::number(v.EndTitle),
                              QString::number(v.StartChapter),
                              QString::number(v.EndChapter),
                              startTime ? QString("%1:%2").arg(v.StartMinutes).arg(v.StartSeconds)
                                        : QString::number(v.StartFrame),
                              endTime ? QString("%1:%2").arg(v.EndMinutes).arg(v.EndSeconds)
                                      : QString::number(v.EndFrame),
                              QString::number(v.Synchronize),
                              QString::number(v.Squelch),
                              v.Comment,
                              QStringList(v.InitStr.begin(), v.InitStr.end()).join('|')};
        const QStringList want{
            QString::number(int(e.StartMode)),
            QString::number(int(e.EndMode)),
            e.txtModel,
            e.txtChannel,
            e.txtStartTitle,
            e.txtEndTitle,
            e.txtStartChapter,
            e.txtEndChapter,
            startTime ? QString("%1:%2").arg(e.scrStartMinutes).arg(e.scrStartSeconds)
                      : e.txtStartFrame,
            endTime ? QString("%1:%2").arg(e.scrEndMinutes).arg(e.scrEndSeconds) : e.txtEndFrame,
            QString::number(e.chkSynchronize),
            QString::number(e.chkSquelch),
            e.txtComment,
            QStringList(e.txtInitStr.begin(), e.txtInitStr.end()).join('|')};
        QCOMPARE(got, want);
    }
};

int runSaveTest(int argc, char** argv)
{
    SaveTest t;
    return QTest::qExec(&t, argc, argv);
}

#include "SavePlanTest.moc"
