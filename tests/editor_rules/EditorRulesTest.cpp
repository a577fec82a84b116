// The editor's field rules without a window: title and chapter pushes, the time
// spinners, the frame checks and the init-string limits, each as a table of edits.

#include "editor/EditorRules.h"
#include "support/TestRunner.h"

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
} // namespace

class EditorRulesTest : public QObject
{
    Q_OBJECT
private slots:
    // A pair's boundaries (its pushes through the handlers: EditorModelTest): the end one
    // above, the two equal, the start at the end's maximum.
    void pairPushes()
    {
        QCOMPARE(endAfterStartChange(1, 2, 99), 2);
        QCOMPARE(startAfterEndChange(1, 2), 1);
        QCOMPARE(endAfterStartChange(98, 98, 99), 99);
        QCOMPARE(startAfterEndChange(98, 98), 97);
        QCOMPARE(endAfterStartChange(99, 99, 99), 99);
    }

    // A start spinner moved (true) or an end spinner moved (false).
    void times_data()
    {
        QTest::addColumn<bool>("startMoved");
        QTest::addColumn<QString>("before");
        QTest::addColumn<QString>("after");
        timeRow("start: minutes pass the end", true, "11:31 10:32", "11:31 11:32");
        timeRow("start: end pushed past a minute", true, "0:59 0:59", "0:59 1:00");
        timeRow("start: both at zero", true, "0:00 0:00", "0:00 0:01");
        timeRow("start: end pushed within the minute", true, "0:58 0:30", "0:58 0:59");
        timeRow("start: 599:58 is the last start", true, "599:58 599:59", "599:58 599:59");
        timeRow("end: far below the start", false, "3:00 2:00", "1:59 2:00");
        timeRow("end: start pulled to a whole minute", false, "2:00 1:01", "1:00 1:01");
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

    // The start box left with the end in the mode given, or the end box left (End).
    void frames_data()
    {
        for (const char* column : {"start", "end", "wantStart", "wantEnd"})
            QTest::addColumn<QString>(column);
        QTest::addColumn<int>("left");
        const int F = int(PointMode::Frame), T = int(PointMode::Timecode), End = -1;
        const int C = int(PointMode::Chapter);
        frameRow("start: zero", "0", "1000", "1", "1000") << F;
        frameRow("start: blanks around 12.5", " 12.5 ", "1000", "12", "1000") << F;
        frameRow("start: 13.5 rounds up", "13.5", "1000", "14", "1000") << F;
        frameRow("start: trailing garbage", "12abc", "1000", "12", "1000") << F;
        frameRow("start: blanks inside", "1 2 3", "5000", "123", "5000") << C;
        frameRow("start: end text left as typed", "5", " 900 ", "5", " 900 ") << F;
        frameRow("start: max, end Frame", "1079999", "1079999", "1079998", "1079999") << F;
        frameRow("start: max, end Time, end pushed", "1079999", "1000", "1079999", "1079999") << T;
        frameRow("start: above max, end Frame", "2000000", "1000", "1079998", "1079999") << F;
        frameRow("start: above max, end Chapter", "1080000", "9", "1079999", "1079999") << C;
        frameRow("start: beyond 32 bits", "99999999999", "5", "1079999", "1079999") << T;
        frameRow("start: below 32 bits", "-99999999999999", "5000", "1", "5000") << T;
        frameRow("start: equal pushes the end", "500", "500", "500", "501") << F;
        frameRow("start: 1079998 pushes to max", "1079998", "7", "1079998", "1079999") << T;
        frameRow("end: at its max", "5", "1079999", "5", "1079999") << End;
        frameRow("end: 1 becomes 2", "1", "1", "1", "2") << End;
        frameRow("end: exponent", "1", "1e3", "1", "1000") << End;
        frameRow("end: start text left as typed", " 500 ", "700", " 500 ", "700") << End;
        frameRow("end: at the start", "500", "500", "499", "500") << End;
        frameRow("end: above max pulls the start", "1079999", "1080000", "1079998", "1079999")
            << End;
    }
    void frames()
    {
        QFETCH(QString, start);
        QFETCH(QString, end);
        QFETCH(QString, wantStart);
        QFETCH(QString, wantEnd);
        QFETCH(int, left);
        const FrameResult r = left < 0 ? afterEndFrameEdit({start, end})
                                       : afterStartFrameEdit({start, end}, PointMode(left));
        QCOMPARE(r.boxes.start, wantStart);
        QCOMPARE(r.boxes.end, wantEnd);
        // The record takes the numbers the boxes show.
        QCOMPARE(r.startFrame, wantStart.trimmed().toInt());
        QCOMPARE(r.endFrame, wantEnd.trimmed().toInt());
    }

    void initStrEdit_data()
    {
        QTest::addColumn<QStringList>("record");
        QTest::addColumn<int>("index");
        QTest::addColumn<QString>("boxText");
        QTest::addColumn<QString>("kept");
        QTest::addColumn<bool>("overTotal");
        const QString c(12, 'c');
        const QStringList full{QString(23, 'a'), QString(23, 'b'), c, ""}; // 58 together
        const QStringList empty;
        QTest::newRow("exactly 23") << empty << 0 << QString(23, 'a') << QString(23, 'a') << false;
        QTest::newRow("24th is cut") << empty << 1 << QString(24, 'z') << QString(23, 'z') << false;
        QTest::newRow("three pasted lose one")
            << full << 3 << QString("xyz") << QString("xy") << true;
        QTest::newRow("24th in the 1st")
            << full << 0 << QString(24, 'a') << QString(23, 'a') << true;
        QTest::newRow("58 together is allowed") << full << 2 << c << c << false;
        QTest::newRow("old text of the box not counted")
            << QStringList{"", "", QString(30, 'p'), QString(28, 'q')} << 2 << QString(10, 'r')
            << QString(10, 'r') << false;
        QTest::newRow("59 pasted") << empty << 3 << QString(59, 'm') << QString(58, 'm') << true;
    }
    void initStrEdit()
    {
        QFETCH(QStringList, record);
        QFETCH(int, index);
        QFETCH(QString, boxText);
        QFETCH(QString, kept);
        QFETCH(bool, overTotal);
        const InitStrChange r = initStrChange(
            {record.value(0), record.value(1), record.value(2), record.value(3)}, index, boxText);
        QCOMPARE(r.text, kept);
        QCOMPARE(r.overTotal, overTotal);
    }
};

CORVANE_TEST_CLASS(EditorRulesTest)
#include "EditorRulesTest.moc"
