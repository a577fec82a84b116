#include "transfer/SavePlan.h"
#include "model/EditorSnapshot.h"
#include "support/CellTokens.h"
#include "support/TestRunner.h"
#include "transfer/CompareCells.h"
#include "transfer/LoadValidation.h"
#include "transfer/MarkPlan.h"
#include "transfer/WholeNumber.h"

#include <QTest>

namespace TestEditor {

// The editor after Defaults, changed by tokens: "txtStartTitle=150", "scrEndSeconds=5",
// "modes=M/F", "unlocked", "chkSquelch=0", "txtInitStr2=AB".
void apply(EditorSnapshot& e, const QStringList& tokens)
{
    const QStringList keys =
        QString("txtModel txtChannel txtStartTitle txtEndTitle txtStartChapter txtEndChapter "
                "txtStartFrame txtEndFrame txtComment txtInitStr1 txtInitStr2 txtInitStr3 "
                "txtInitStr4 scrStartMinutes scrStartSeconds scrEndMinutes scrEndSeconds")
            .split(' ');
    QString* const texts[] = {
        &e.txtModel,      &e.txtChannel,    &e.txtStartTitle, &e.txtEndTitle, &e.txtStartChapter,
        &e.txtEndChapter, &e.txtStartFrame, &e.txtEndFrame,   &e.txtComment,  &e.txtInitStr[0],
        &e.txtInitStr[1], &e.txtInitStr[2], &e.txtInitStr[3]};
    int* const numbers[] = {&e.scrStartMinutes, &e.scrStartSeconds, &e.scrEndMinutes,
                            &e.scrEndSeconds};
    for (const QString& t : tokens) {
        const QString key = t.section(u'=', 0, 0), value = t.section(u'=', 1);
        if (key == "unlocked")
            e.ModelChannelUnlocked = true;
        else if (key == "modes") {
            e.StartMode = CellTokens::modeFromLetter(value.at(0));
            e.EndMode = CellTokens::modeFromLetter(value.at(2));
        } else if (key == "chkSynchronize" || key == "chkSquelch")
            (key == "chkSquelch" ? e.chkSquelch : e.chkSynchronize) = value == "1";
        else if (const int i = keys.indexOf(key); i < 0)
            qFatal("unknown editor token %s", qPrintable(t));
        else if (i < 13)
            *texts[i] = value;
        else
            *numbers[i - 13] = value.toInt();
    }
}

EditorSnapshot with(const QStringList& tokens)
{
    EditorSnapshot e;
    apply(e, QString("txtModel=22 txtChannel=1 txtStartTitle=1 txtEndTitle=2 txtStartChapter=1 "
                     "txtEndChapter=2 txtStartFrame=1 txtEndFrame=1000 txtInitStr1=0KL0DS")
                 .split(' '));
    apply(e, tokens);
    return e;
}

} // namespace TestEditor

namespace {

// The problem with a box holding text that is no whole number from lo to hi.
QString number(const char* field, const char* text, int lo, int hi)
{
    return QString("%1 holds \"%2\"; it must be a whole number from %3 to %4.")
        .arg(field, text, QString::number(lo), QString::number(hi));
}

// The cells a unit holds once the plan's writes have arrived.
CellSet unitAfter(const SavePlan& plan)
{
    CellSet unit;
    for (const CellWrite& w : plan.writes)
        unit.set(w.address, w.bytes);
    return unit;
}

} // namespace

class SavePlanTest : public QObject
{
    Q_OBJECT
private slots:
    // Model and channel, when written, go first and leave the progress bar alone; then the
    // mode cell, the points, titles and chapters, the option cell, comment and init
    // strings. A locked save's writes: SaveTest (tests/transfer), on the wire.
    void writes()
    {
        const SavePlan plan = buildSavePlan(
            TestEditor::with(QString("unlocked txtModel=7 txtChannel=42 chkSynchronize=0 modes=M/F "
                                     "scrStartMinutes=12 scrStartSeconds=5 txtEndFrame=1079999 "
                                     "txtComment=5\u20ac txtInitStr2=AB")
                                 .split(' ')));
        QVERIFY(plan.ok());
        QByteArray got, bytes; // every write's address, and its two bytes, in write order
        for (int i = 0; i < plan.writes.size(); ++i) {
            const CellWrite& w = plan.writes[i];
            got += char(w.address);
            bytes += char(w.bytes.d0) + QByteArray(1, char(w.bytes.d1));
            QCOMPARE(w.advancesBar, i >= 2);
        }
        QCOMPARE(bytes,
                 QByteArray("07 42 >0 00012050 10799990 01020102 74 5\x80").replace(" ", "") +
                     QByteArray(14, '\a') + "0KL0DS\rAB\r" + QByteArray(54, '\a'));
        QCOMPARE(got, QByteArray::fromHex("3f3e 3c 30313233 34353637 38393a3b 3d 48494a4b4c4d4e4f "
                                          "505152535455565758595a5b5c5d5e5f "
                                          "606162636465666768696a6b6c6d6e6f"));
    }

    void checks_data()
    {
        QTest::addColumn<QStringList>("editor");
        QTest::addColumn<QStringList>("problems");
        // Each row's name is its editor tokens, apart by blanks ("_" a blank inside a value).
        const auto row = [](const QString& editor, const QStringList& problems = {}) {
            QTest::newRow(qPrintable(editor))
                << editor.split(' ', Qt::SkipEmptyParts).replaceInStrings("_", " ") << problems;
        };
        // Numbers: too big, too small, no number, nothing; blanks and a sign allowed, a locked
        // model not checked.
        row("txtStartTitle=150", {number("Start Title", "150", 1, 99)});
        row("txtStartFrame=-5", {number("Start Frame", "-5", 1, 1079999)});
        row("unlocked txtModel=abc", {number("Model", "abc", 1, 99)});
        row("unlocked txtChannel=",
            {"Channel holds nothing; it must be a whole number from 1 to 99."});
        row("txtModel=abc txtStartTitle=_42_ txtEndTitle=+43");
        row("txtEndChapter=99999999999999999999999",
            {number("End Chapter", "99999999999999999999999", 2, 99)});
        // A start leaves room for an end of the same kind.
        row("modes=C/T txtStartTitle=99 txtStartChapter=99", {number("Start Title", "99", 1, 98)});
        row("modes=F/F txtStartFrame=1079999 txtEndFrame=1079999",
            {number("Start Frame", "1079999", 1, 1079998)});
        row("txtStartFrame=5000 txtEndFrame=3000", {number("End Frame", "3000", 5001, 1079999)});
        // Times: the frame box unused by a time (which may start at 0:00), points of different
        // kinds never ordered.
        row("modes=C/M txtStartFrame=5000 scrEndMinutes=1");
        row("modes=M/C txtStartFrame=abc");
        row("modes=M/F scrStartMinutes=12 scrStartSeconds=5 txtEndFrame=1000");
        row("modes=M/M scrStartMinutes=10 scrEndMinutes=10",
            {"End Time holds 10:00; it must be from 10:01 to 599:59."});
        row("modes=M/C scrStartMinutes=599 scrStartSeconds=59",
            {"Start Time holds 599:59; it must be from 0:00 to 599:58."});
        row("modes=T/M scrEndMinutes=0", {"End Time holds 0:00; it must be from 0:01 to 599:59."});
        row("modes=M/M scrStartSeconds=60",
            {"Start Second holds 60; it must be a whole number from 0 to 59."});
        // Texts.
        row("txtComment=0123456789abcdef",
            {"Comment holds 16 characters; it must be at most 15 characters."});
        row("txtInitStr3=" + QString(24, 'x'),
            {"Init String 3 holds 24 characters; it must be at most 23 characters."});
        row("txtInitStr1=" + QString(23, 'a') + " txtInitStr2=" + QString(23, 'b') +
                " txtInitStr4=" + QString(13, 'c'),
            {"Init Strings (58 chars. total) holds 59 characters; it must be at most 58 "
             "characters."});
        // Several, in write order.
        row("unlocked txtModel=0 txtEndTitle=abc txtStartFrame=0",
            {number("Model", "0", 1, 99), number("Start Frame", "0", 1, 1079999),
             number("End Title", "abc", 2, 99)});
    }

    void checks()
    {
        QFETCH(QStringList, editor);
        QFETCH(QStringList, problems);
        const SavePlan plan = buildSavePlan(TestEditor::with(editor));
        // Nothing is sent while anything is wrong; the text lists every problem.
        QCOMPARE(plan.writes.isEmpty(), !problems.isEmpty());
        QCOMPARE(plan.problemText, problems.isEmpty()
                                       ? QString()
                                       : QString("Cannot Save! Some fields hold values that the "
                                                 "synchronizer cannot store:\r\n%1\r\nNothing was "
                                                 "sent to the synchronizer. Please correct these "
                                                 "fields and save again.")
                                             .arg(problems.join("\r\n")));
    }

    void parseWholeNumber()
    {
        QCOMPARE(::parseWholeNumber(" \t007 ").value_or(-1), 7);
        QCOMPARE(::parseWholeNumber("-5").value_or(0), -5);
        QCOMPARE(::parseWholeNumber("123456789012345678901").value_or(0), INT64_MAX);
        for (const char* bad : {"", "-", "1 2", "3.0", "1,000", "12abc", "\u0661\u0662"})
            QVERIFY2(!::parseWholeNumber(QString::fromUtf8(bad)), bad);
    }

    void differences_data()
    {
        QTest::addColumn<QString>("editor"); // the editor when saving
        // What differs afterwards: cells the unit holds, and boxes or spinners of the editor
        // ("txt..." and "scr..." tokens).
        QTest::addColumn<QString>("changes");
        QTest::addColumn<int>("count");
        const auto row = [](const char* name, const char* editor, const char* changes, int count) {
            QTest::newRow(name) << QString(editor) << QString(changes) << count;
        };
        row("clean, unlocked", "unlocked", "", 0);
        row("model differs, unlocked", "unlocked", "3F=23", 1);
        row("model unreadable, unlocked", "unlocked", "3F=?3", 1);
        row("model ignored while locked", "", "3F=23 3E=xx", 0);
        row("one mode differs", "", "modes=C/T", 1);
        row("both modes differ: once", "", "modes=F/T", 1);
        row("start point unreadable: once", "", "start=?0?0?0?", 1);
        row("start frame differs", "", "start=0000002", 1);
        row("frame box no number", "", "txtEndFrame=abc", 1);
        const char* startTime = "modes=M/C scrStartMinutes=12 scrStartSeconds=5";
        row("time, minutes and seconds differ", startTime, "start=0001306", 2);
        row("time, digits 6 and 5 not compared", startTime, "start=4401205", 0);
        row("time mode ignores the frame box", startTime, "txtStartFrame=777", 0);
        row("frame mode ignores the spinners", "modes=F/F", "scrStartMinutes=5", 0);
        row("end time differs", "modes=T/M", "end=0000200", 1);
        row("title and chapter cells", "", "38=xx 3B=03", 2);
        row("both switches off", "", "3D=70", 2);
        row("baud byte not compared", "", "3D=0<", 0);
        row("comment cells", "txtComment=Hello", "48=hE 49=LL", 2);
        row("init cell", "", "50=0k", 1);
        row("empty middle init string", "txtInitStr1=AB txtInitStr2= txtInitStr3=CD", "", 0);
        row("rejected character never equal", "txtComment=A\tB", "", 1);
        row("changed comment after save", "", "txtComment=x", 1);
    }

    void differences()
    {
        QFETCH(QString, editor);
        QFETCH(QString, changes);
        QFETCH(int, count);
        EditorSnapshot e = TestEditor::with(editor.split(' ', Qt::SkipEmptyParts));
        const SavePlan plan = buildSavePlan(e);
        QVERIFY2(plan.ok(), qPrintable(plan.problemText));
        CellSet unit = unitAfter(plan);
        for (const QString& t : changes.split(' ', Qt::SkipEmptyParts))
            t.startsWith("txt") || t.startsWith("scr") ? TestEditor::apply(e, {t})
                                                       : CellTokens::apply(unit, {t});
        QCOMPARE(countDifferences(e, plan.StartMode, plan.EndMode, unit), count);
        // Cells that never arrived cannot match: mode, two points, four numbers, two
        // switches, eight comment and thirty-two init-string cells.
        QCOMPARE(countDifferences(e, plan.StartMode, plan.EndMode, CellSet()),
                 1 + 2 + 4 + 2 + 8 + 32 + (e.ModelChannelUnlocked ? 2 : 0));
    }

    void roundTrip_data()
    {
        QTest::addColumn<QStringList>("editor");
        QTest::addColumn<QString>("loaded"); // what a load then reads back
        // Two sets, valid in every mode, whose frame numbers and times collide across
        // readings: the first when only the end is a time, the second when only the start is.
        // Each with its start as a frame and as a time, then its end likewise.
        const char* const sets[][5] = {
            {"txtStartFrame=5000|txtEndFrame=6000|scrStartSeconds=30|scrEndMinutes=1", "5000",
             "0:30", "6000", "1:00"},
            {"txtStartFrame=10|scrStartMinutes=12|scrStartSeconds=5|scrEndMinutes=20", "10",
             "12:05", "1000", "20:00"}};
        for (const auto& set : sets)
            for (char s : QByteArray("TCMF"))
                for (char e : QByteArray("TCMF"))
                    QTest::addRow("from %s, %c/%c", set[1], s, e)
                        << QString::asprintf("unlocked|txtModel=7|txtChannel=99|txtStartTitle=5|"
                                             "txtEndChapter=9|chkSynchronize=0|txtComment=Hall "
                                             "\u00a9 2|txtInitStr2=\u20ac|modes=%c/%c|%s",
                                             s, e, set[0])
                               .split('|')
                        << QString::asprintf("%c/%c 7 99 5 2 1 9 %s %s off on Hall \u00a9 2 "
                                             "0KL0DS|\u20ac||",
                                             s, e, s == 'M' ? set[2] : set[1],
                                             e == 'M' ? set[4] : set[3]);
    }

    void roundTrip()
    {
        QFETCH(QStringList, editor);
        QFETCH(QString, loaded);
        const EditorSnapshot e = TestEditor::with(editor);
        const SavePlan plan = buildSavePlan(e);
        QVERIFY2(plan.ok(), qPrintable(plan.problemText));
        const CellSet unit = unitAfter(plan);
        QCOMPARE(countDifferences(e, plan.StartMode, plan.EndMode, unit), 0);
        const LoadResult r = decodeAndValidate(unit);
        const SyncParameters& v = r.values;
        QCOMPARE(markPlan(r.marks, v.StartMode, v.EndMode).problemCount(), 0);
        const auto point = [](PointMode m, int minutes, int seconds, int frame) {
            return m != PointMode::Timecode ? QString::number(frame)
                                            : QString::asprintf("%d:%02d", minutes, seconds);
        };
        const QString got = QString::asprintf(
            "%c/%c %d %d %d %d %d %d %ls %ls %s %s %ls %ls", "TCMF"[int(v.StartMode)],
            "TCMF"[int(v.EndMode)], v.Model, v.Channel, v.StartTitle, v.EndTitle, v.StartChapter,
            v.EndChapter,
            qUtf16Printable(point(v.StartMode, v.StartMinutes, v.StartSeconds, v.StartFrame)),
            qUtf16Printable(point(v.EndMode, v.EndMinutes, v.EndSeconds, v.EndFrame)),
            v.Synchronize ? "on" : "off", v.Squelch ? "on" : "off", qUtf16Printable(v.Comment),
            qUtf16Printable(QStringList(v.InitStr.begin(), v.InitStr.end()).join('|')));
        QCOMPARE(got, loaded);
    }
};

CORVANE_TEST_CLASS(SavePlanTest)

#include "SavePlanTest.moc"
