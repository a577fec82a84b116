// "SAVE to Synchronizer" through the editor window: what goes on the wire with the
// model/channel lock on and off, the compare that follows, and the values a save refuses
// to send. A compare that finds differences: MonitorTest, with what the monitor shows.

#include "TransferRig.h"
#include "flows/modGetSetAll.h"
#include "support/WindowStory.h"
#include "support/TestRunner.h"
#include "transfer/SavePlan.h"

#include <QAction>

using namespace TransferTest;

namespace {
// Writes of two BEL bytes, the fill of unused text cells, to cells `from` to `to`.
QString bells(int from, int to)
{
    QStringList out;
    for (int a = from; a <= to; ++a)
        out << QStringLiteral("W%1 \\x07\\x07").arg(a);
    return out.join(' ');
}
} // namespace

class SaveTest : public QObject
{
    Q_OBJECT
private slots:
    void cleanSaveWritesAndCompares_data()
    {
        QTest::addColumn<bool>("unlocked");  // and unpaced; the locked save runs at the real times
        QTest::addColumn<QString>("writes"); // as the unit names them, addresses in decimal
        QTest::addColumn<QString>("compareBar"); // model and channel move only the compare's bar
        QTest::addColumn<QString>("changes");    // in the editor
        // After start-up: Title to Title, frames 1000 and 5000, no init strings. The start
        // becomes a time, 0:00; marks of an earlier load stand until the save.
        QTest::newRow("locked: the unit keeps its model and channel")
            << false
            << "W60 20 W48 00 W49 00 W50 00 W51 00 W52 00 W53 05 W54 00 W55 00 W56 01 W57 02 "
               "W58 01 W59 02 W61 7< W72 He W73 ll W74 o\\x07 " +
                   bells(75, 111)
            << "0-56/60"
            << "marks=..........|shpHiLiteStartTitle=hidden";
        // A load that marked the model unlocked them, with the unit's defaults: Chapter to
        // Chapter, and the start time 0:01 that the start frame 1 also reads as.
        QTest::newRow("unlocked by a load that marked them")
            << true
            << "W63 33 W62 04 W60 60 W48 00 W49 00 W50 00 W51 10 W52 00 W53 01 W54 00 W55 00 "
               "W56 01 W57 02 W58 01 W59 02 W61 7< W72 He W73 ll W74 o\\x07 " +
                   bells(75, 79) + " W80 0K W81 L0 W82 DS W83 \\x0d\\x07 " + bells(84, 111)
            << "0-58/60"
            << "lock=shut|marks=..........|scrChannel=4/99 hidden|scrModel=33/99 hidden|"
               "shpHiLiteModel=hidden|txtChannel=4 disabled|txtModel=33 disabled";
    }

    void cleanSaveWritesAndCompares()
    {
        QFETCH(bool, unlocked);
        QFETCH(QString, writes);
        QFETCH(QString, compareBar);
        QFETCH(QString, changes);
        Rig rig(true, unlocked ? LineTiming::unpaced() : LineTiming{});
        QVERIFY(rig.ok);
        frmMain& m = rig.main();
        if (unlocked) {
            CellTokens::put(rig.sim, {"3F=??"});
            QCOMPARE(awaited(modGetSetAll::GetAllFromCorvane(*rig.fx.app)), int16_t(1));
            rig.sim.clearWireLog();
            rig.fx.modal.clear();
        } else {
            ctl<HighlightShape>(m, "shpHiLiteStartTitle")->setFillColor(HighlightColors::Yellow);
            ctl<HighlightShape>(m, "shpHiLiteStartTitle")->show();
            m.model().marks()[MarkKey::StartTitle].OutOfRange = true;
        }
        setControls(m, {"scrModel=33", "scrChannel=4", "optStartTimecode=1", "txtComment=Hello"});
        const QStringList before = editorText(m);
        ProgressWatch progress(rig.fx.app->progressWindow());

        QElapsedTimer clock;
        QList<qint64> cellAt; // when each cell's turn came, from the click
        rig.fx.app->cellHook = [&](uint8_t) { cellAt << clock.elapsed(); };
        clock.start();
        QVERIFY(rig.clickToEnd("cmdSaveTo"));
        rig.fx.app->cellHook = nullptr;

        QVERIFY2(rig.fx.modal.requests.empty(), rig.boxes());
        QCOMPARE(progress.showings,
                 (QStringList{"Save to Synchronizer|Saving.............|0-57/60",
                              "Save to Synchronizer|Comparing.............|" + compareBar}));
        // The compare reads back the cells written, in the same order.
        const QString reads = QString(writes).replace(QRegularExpression("W(\\d+) \\S+"), "R\\1");
        QCOMPARE(rig.frames().join(' '), "ATT ATT " + writes + " ATT ATT " + reads);
        if (!unlocked) {
            // The unit had its time, as the host measures it: the attention frames 130 ms
            // apart before the first write, 100 ms after each write before the next.
            QVERIFY(cellAt.size() == 2 * 54 && cellAt[0] >= 129);
            for (int i = 1; i < 54; ++i)
                QVERIFY2(cellAt[i] - cellAt[i - 1] >= 99, qPrintable(QString::number(i)));
        }
        // The save clears the marks; the compare locks model and channel again.
        QStringList changed = editorText(m);
        changed.removeIf([&](const QString& f) { return before.contains(f); });
        QCOMPARE(changed.join('|'), changes);
        QVERIFY(ctl<QPushButton>(m, "cmdSaveTo")->isEnabled() && !m.model().transferRunning());
    }

    // A frame number typed but not yet checked when the menu entry (which leaves the focus in
    // the box) saves; then the worker on its own, for any other caller. Each says why in the
    // problem window, sends nothing and changes nothing. Which values the unit cannot hold:
    // SavePlanTest.
    void valuesTheUnitCannotHoldSendNothing()
    {
        const QString refused = "Cannot Save! [^|]*Start Frame holds \"2000000\"[^|]*";
        WindowStory s;
        QVERIFY2(s.tell({"set optStartFrame=1", "type txtStartFrame 2000000", "keep editor",
                         "watch progress", "menu menuSaveTo", "save", "result=-2",
                         "problems~~^" + refused + "\\|" + refused + "$",
                         "problems!~communications errors", "messages=", "progress=",
                         "frames=0", "changes="}),
                 qPrintable(s.failure));
    }
};

CORVANE_TEST_CLASS(SaveTest)
#include "SaveTest.moc"
