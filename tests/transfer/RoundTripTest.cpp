// A valid set in a pair of modes goes out with "SAVE to Synchronizer" and comes back with
// "LOAD from Synchronizer" into an editor that showed something else: unchanged, unmarked,
// no box. The pairs are those whose readings would clash if a load mixed them up: the
// numbers a point's cells also hold in its other reading would be pushed by the frame
// checks or the end-after-start rules if a load applied them: start time 12:05 (frame
// 1205) before end frame 1000, start frame 50000 (time 500:00) before end time 10:00, start
// titles and chapters of 99 where the end uses the other field. Every pair of modes, in
// the stored cells: SavePlanTest::roundTrip.

#include "TransferRig.h"
#include "support/TestRunner.h"

#include <QAction>

using namespace TransferTest;

class RoundTripTest : public QObject
{
    Q_OBJECT
private slots:
    void modePairComesBack_data()
    {
        QTest::addColumn<QString>("set");   // entered after Defaults, '|' between
        QTest::addColumn<QString>("other"); // the modes the editor shows before the load
        QTest::newRow("Time to Frame")
            << "optEndFrame=1|optStartTimecode=1|txtEndFrame=1000|txtStartFrame=500|"
               "scrStartTitle=99|scrStartChapter=99|chkSynchronize=0"
            << "optEndTitle=1|optStartFrame=1";
        QTest::newRow("Frame to Time")
            << "optEndTimecode=1|optStartFrame=1|txtEndFrame=60000|txtStartFrame=50000|"
               "scrStartTitle=99|scrStartChapter=99|chkSquelch=0"
            << "optEndTitle=1|optStartTimecode=1";
        QTest::newRow("Title to Title")
            << "optEndTitle=1|optStartTitle=1|txtEndFrame=60000|txtStartFrame=3000|"
               "scrStartTitle=98|scrStartChapter=99"
            << "optEndChapter=1|optStartFrame=1";
    }
    // A point's cells hold a time or a frame number: the reading its mode does not use comes
    // back as whatever the same digits mean there (flagged in the model when out of range
    // there, never shown), so the stored fields leave it out. Then something else in them,
    // with other modes: the end mode leaves the start title or chapter a bound of 98 that
    // the loaded set does not have. Init strings that fill the 58 characters with a shorter
    // first one: the loaded strings are judged together. A start frame being typed, the
    // focus left in its box by the menu entry, while the load switches the start of the
    // Time to Frame pair to a time.
    void modePairComesBack()
    {
        QFETCH(QString, set);
        QFETCH(QString, other);
        const QString stored =
            QStringLiteral("fields{(?!marks=|%1=|%2=)}")
                .arg(set.contains("optStartTimecode") ? "txtStartFrame"
                                                      : "(txt|scr)Start(Minutes|Seconds)",
                     set.contains("optEndTimecode") ? "txtEndFrame" : "(txt|scr)End(Minutes|Seconds)");
        WindowStory s;
        QVERIFY2(s.tell({"defaults",
                         "set scrEndTitle=99|scrEndChapter=99|scrStartMinutes=12|scrStartSeconds=5|"
                         "scrEndMinutes=10|scrEndSeconds=0|txtComment=Round trip|"
                         "txtInitStr1=12345678901234567890|txtInitStr2=PL2|txtInitStr3=X|" + set,
                         "keep " + stored, "click cmdSaveTo", "writes=54", "boxes=", "defaults",
                         "set " + other + "|chkSynchronize=0|txtComment=other|txtInitStr1=A|"
                         "txtInitStr2=" + QString(23, 'B') + "|txtInitStr3=" + QString(23, 'C') +
                         "|txtInitStr4=" + QString(11, 'D'),
                         "type txtStartFrame 7", "menu menuLoadFrom", "boxes=",
                         stored + "==kept:" + stored}),
                 qPrintable(s.failure));
    }
};

CORVANE_TEST_CLASS(RoundTripTest)
#include "RoundTripTest.moc"
