// The editor's field rules without a window: title and chapter pushes, the time
// spinners, the frame checks and the text limits, each as a table of edits.

#include "editor/EditorRules.h"

#include <QRegularExpression>
#include <QStringList>
#include <QTest>

using namespace EditorRules;

namespace {
// Both time sides written as "m:ss m:ss" (start, then end).
TimeSpinners spinners(const QString& times)
{
    const QStringList f = times.split(QRegularExpression(QStringLiteral("[: ]")));
    return {f.at(0).toInt(), f.at(1).toInt(), f.at(2).toInt(), f.at(3).toInt()};
}
QString shown(const TimeSpinners& t)
{
    return QString::asprintf("%d:%02d %d:%02d", t.startMinutes, t.startSeconds, t.endMinutes,
                             t.endSeconds);
}
void timeRow(const char* name, bool startMoved, const char* before, const char* after)
{
    QTest::newRow(name) << startMoved << QString::fromLatin1(before) << QString::fromLatin1(after);
}
QTestData& frameRow(const char* name, const char* start, const char* end, const char* wantStart,
                    const char* wantEnd)
{
    return QTest::newRow(name) << QString::fromLatin1(start) << QString::fromLatin1(end)
                               << QString::fromLatin1(wantStart) << QString::fromLatin1(wantEnd);
}
void addFrameColumns()
{
    for (const char* column : {"start", "end", "wantStart", "wantEnd"})
        QTest::addColumn<QString>(column);
}
void checkFrames(const FrameResult& r, const QString& wantStart, const QString& wantEnd)
{
    QCOMPARE(r.boxes.start, wantStart);
    QCOMPARE(r.boxes.end, wantEnd);
    // The record takes the numbers the boxes show.
    QCOMPARE(r.startFrame, wantStart.trimmed().toInt());
    QCOMPARE(r.endFrame, wantEnd.trimmed().toInt());
}
std::array<QString, 4> four(const QStringList& l)
{
    return {l.value(0), l.value(1), l.value(2), l.value(3)};
}
QString chars(int n, char c)
{
    return QString(n, QChar::fromLatin1(c));
}
} // namespace

class EditorRulesTest : public QObject
{
    Q_OBJECT
private slots:
    void pairPushes_data()
    {
        QTest::addColumn<int>("start");
        QTest::addColumn<int>("end");
        QTest::addColumn<int>("endAfterStart"); // the end once the start moved to `start`
        QTest::addColumn<int>("startAfterEnd"); // the start once the end moved to `end`
        QTest::newRow("in order") << 10 << 12 << 12 << 10;
        QTest::newRow("equal in the middle") << 12 << 12 << 13 << 11;
        QTest::newRow("start far past the end") << 50 << 40 << 51 << 39;
        QTest::newRow("start 98 at end 98") << 98 << 98 << 99 << 97;
        QTest::newRow("start 99 leaves the end at 99") << 99 << 99 << 99 << 98;
        QTest::newRow("smallest pair") << 1 << 2 << 2 << 1;
        QTest::newRow("end lowered to its minimum") << 2 << 2 << 3 << 1;
    }
    void pairPushes()
    {
        QFETCH(int, start);
        QFETCH(int, end);
        QFETCH(int, endAfterStart);
        QFETCH(int, startAfterEnd);
        QCOMPARE(endAfterStartChange(start, end, 99), endAfterStart);
        QCOMPARE(startAfterEndChange(start, end), startAfterEnd);
    }

    // A start spinner moved (true) or an end spinner moved (false).
    void times_data()
    {
        QTest::addColumn<bool>("startMoved");
        QTest::addColumn<QString>("before");
        QTest::addColumn<QString>("after");
        timeRow("start: already ordered", true, "5:00 7:30", "5:00 7:30");
        timeRow("start: seconds reach the end", true, "10:31 10:31", "10:31 10:32");
        timeRow("start: minutes pass the end", true, "11:31 10:32", "11:31 11:32");
        timeRow("start: end pushed past a minute", true, "0:59 0:59", "0:59 1:00");
        timeRow("start: end pushed up from below", true, "9:59 5:00", "9:59 10:00");
        timeRow("start: both at zero", true, "0:00 0:00", "0:00 0:01");
        timeRow("start: 599:59 is no start", true, "599:59 599:59", "599:58 599:59");
        timeRow("start: 599:59 with an early end", true, "599:59 0:10", "599:58 599:59");
        timeRow("start: 599:58 is the last start", true, "599:58 599:59", "599:58 599:59");
        timeRow("end: already ordered", false, "5:00 7:30", "5:00 7:30");
        timeRow("end: at the start", false, "10:30 10:30", "10:29 10:30");
        timeRow("end: start pulled below a minute", false, "10:00 10:00", "9:59 10:00");
        timeRow("end: far below the start", false, "3:00 2:00", "1:59 2:00");
        timeRow("end: 0:00 is no end", false, "0:00 0:00", "0:00 0:01");
        timeRow("end: 0:00 pulls the start", false, "0:05 0:00", "0:00 0:01");
        timeRow("end: at its maximum", false, "100:00 599:59", "100:00 599:59");
        timeRow("end: start 599:59 under the max", false, "599:59 599:59", "599:58 599:59");
    }
    void times()
    {
        QFETCH(bool, startMoved);
        QFETCH(QString, before);
        QFETCH(QString, after);
        const TimeSpinners t = spinners(before);
        QCOMPARE(shown(startMoved ? afterStartTimeChange(t) : afterEndTimeChange(t)), after);
    }

    void startFrame_data()
    {
        addFrameColumns();
        QTest::addColumn<PointMode>("endMode");
        const PointMode F = PointMode::Frame, T = PointMode::Timecode;
        frameRow("plain", "500", "1000", "500", "1000") << F;
        frameRow("letters only", "abc", "1000", "1", "1000") << F;
        frameRow("empty", "", "1000", "1", "1000") << F;
        frameRow("zero", "0", "1000", "1", "1000") << F;
        frameRow("negative", "-5", "1000", "1", "1000") << F;
        frameRow("blanks around 12.5", " 12.5 ", "1000", "12", "1000") << F;
        frameRow("13.5 rounds up", "13.5", "1000", "14", "1000") << F;
        frameRow("trailing garbage", "12abc", "1000", "12", "1000") << F;
        frameRow("blanks inside", "1 2 3", "5000", "123", "5000") << PointMode::Chapter;
        frameRow("end text left as typed", "5", " 900 ", "5", " 900 ") << F;
        frameRow("max, end Frame", "1079999", "1079999", "1079998", "1079999") << F;
        frameRow("max, end Time", "1079999", "1079999", "1079999", "1079999") << T;
        frameRow("max, end Time, end pushed", "1079999", "1000", "1079999", "1079999") << T;
        frameRow("max, end Title", "1079999", "5", "1079999", "1079999") << PointMode::Title;
        frameRow("above max, end Frame", "2000000", "1000", "1079998", "1079999") << F;
        frameRow("above max, end Time", "2000000", "1000", "1079999", "1079999") << T;
        frameRow("above max, end Chapter", "1080000", "9", "1079999", "1079999")
            << PointMode::Chapter;
        frameRow("beyond 32 bits", "99999999999", "5", "1079999", "1079999") << T;
        frameRow("below 32 bits", "-99999999999999", "5000", "1", "5000") << T;
        frameRow("equal pushes the end", "500", "500", "500", "501") << F;
        frameRow("above pushes the end", "600", "500", "600", "601") << F;
        frameRow("1079998 pushes to max", "1079998", "7", "1079998", "1079999") << T;
    }
    void startFrame()
    {
        QFETCH(PointMode, endMode);
        QFETCH(QString, start);
        QFETCH(QString, end);
        QFETCH(QString, wantStart);
        QFETCH(QString, wantEnd);
        checkFrames(afterStartFrameEdit({start, end}, endMode), wantStart, wantEnd);
    }

    void endFrame_data()
    {
        addFrameColumns();
        frameRow("plain", "5", "1079999", "5", "1079999");
        frameRow("1 becomes 2", "1", "1", "1", "2");
        frameRow("letters only", "1", "abc", "1", "2");
        frameRow("blanks around 12.5", "1", " 12.5 ", "1", "12");
        frameRow("exponent", "1", "1e3", "1", "1000");
        frameRow("start text left as typed", " 500 ", "700", " 500 ", "700");
        frameRow("end below the start", "500", "400", "399", "400");
        frameRow("end at the start", "500", "500", "499", "500");
        frameRow("2 pulls the start to 1", "5", "2", "1", "2");
        frameRow("above max", "1", "2000000", "1", "1079999");
        frameRow("above max pulls the start", "1079999", "1080000", "1079998", "1079999");
        frameRow("beyond 32 bits", "1", "99999999999", "1", "1079999");
    }
    void endFrame()
    {
        QFETCH(QString, start);
        QFETCH(QString, end);
        QFETCH(QString, wantStart);
        QFETCH(QString, wantEnd);
        checkFrames(afterEndFrameEdit({start, end}), wantStart, wantEnd);
    }

    void comment()
    {
        const QString fifteen = QStringLiteral("abcdefghijklmno"), umlauts = QStringLiteral("äöü");
        QCOMPARE(limitComment(QString()), QString());
        QCOMPARE(limitComment(fifteen), fifteen);
        QCOMPARE(limitComment(fifteen + 'P'), fifteen);
        // Pasted, not Latin-1: characters are counted, not bytes.
        QCOMPARE(limitComment(umlauts.repeated(10)), umlauts.repeated(5));
    }

    void initStrEdit_data()
    {
        QTest::addColumn<QStringList>("record");
        QTest::addColumn<int>("index");
        QTest::addColumn<QString>("boxText");
        QTest::addColumn<QString>("kept");
        QTest::addColumn<bool>("overTotal");
        const QString c = chars(12, 'c'), x = "x", xyz = "xyz", none;
        const QStringList full{chars(23, 'a'), chars(23, 'b'), c, ""}; // 58 together
        const QStringList empty;
        QTest::newRow("typing within") << QStringList{"0KL0DS", "", "", ""} << 0
                                       << QString("0KL0DSX") << QString("0KL0DSX") << false;
        QTest::newRow("exactly 23") << empty << 0 << chars(23, 'a') << chars(23, 'a') << false;
        QTest::newRow("24th is cut") << empty << 1 << chars(24, 'z') << chars(23, 'z') << false;
        QTest::newRow("one over in the 4th") << full << 3 << x << none << true;
        QTest::newRow("three pasted lose one") << full << 3 << xyz << QString("xy") << true;
        QTest::newRow("13th in the 3rd") << full << 2 << c + 'd' << c << true;
        QTest::newRow("24th in the 1st") << full << 0 << chars(24, 'a') << chars(23, 'a') << true;
        QTest::newRow("58 together is allowed") << full << 2 << c << c << false;
        QTest::newRow("shrinking the 3rd")
            << full << 2 << chars(11, 'c') << chars(11, 'c') << false;
        QTest::newRow("old text of the box not counted")
            << QStringList{"", "", chars(30, 'p'), chars(28, 'q')} << 2 << chars(10, 'r')
            << chars(10, 'r') << false;
        QTest::newRow("59 pasted") << empty << 3 << chars(59, 'm') << chars(58, 'm') << true;
    }
    void initStrEdit()
    {
        QFETCH(QStringList, record);
        QFETCH(int, index);
        QFETCH(QString, boxText);
        QFETCH(QString, kept);
        QFETCH(bool, overTotal);
        const InitStrChange r = initStrChange(four(record), index, boxText);
        QCOMPARE(r.text, kept);
        QCOMPARE(r.overTotal, overTotal);
    }
};

QTEST_GUILESS_MAIN(EditorRulesTest)
#include "EditorRulesTest.moc"
