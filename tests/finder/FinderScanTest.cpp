// The announcement matcher on its own, then scanning through the real windows, against simulated
// units on pseudo-terminals mapped to COM numbers.

#include "FinderRig.h"
#include "app/HighlightShape.h"
#include "comm/AnnouncementMatcher.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>

using simsync::Direction;

namespace {
const QString FoundOn5 = QStringLiteral("  --- Found synchronizer on COM5");
const QString Doubtful = QStringLiteral("  --- model and/or channel number may be incorrect");

// The lines from the start of the last scan on.
QStringList scanLines(const QStringList& all)
{
    return all.mid(all.lastIndexOf(QStringLiteral("Looking for a Syncronizer")));
}
} // namespace

class FinderScanTest : public QObject
{
    Q_OBJECT
private slots:
    void batches_data();
    void batches();
    void heardThenAsked_data();
    void heardThenAsked();
    void allPortsInOrder();
    void workWithoutEndsTheScan();
    void noUsablePortsTriesNothing();
    void twoQuickClicksRunOneScan();
    void probeSaysWhenToPressReset();
    void resetFirst_data();
    void resetFirst();
};

void FinderScanTest::batches_data()
{
    QTest::addColumn<QList<QByteArray>>("batches");
    QTest::addColumn<int>("foundInBatch"); // -1: never
    const QByteArray a("ATS0=1\n\r");
    QTest::newRow("byte by byte") << QList<QByteArray>{"A", "T", "S", "0", "=", "1", "\n", "\r"}
                                  << 7;
    QTest::newRow("NUL then whole") << QList<QByteArray>{QByteArray(1, '\0') + a} << 0;
    // The second A breaks the sequence and is not taken as a new start.
    QTest::newRow("AA across batches") << QList<QByteArray>{"A", a} << -1;
    QTest::newRow("after a broken try, a new A") << QList<QByteArray>{"AA", "x", a} << 2;
    QTest::newRow("CR LF swapped") << QList<QByteArray>{"ATS0=1\r\n"} << -1;
}

void FinderScanTest::batches()
{
    QFETCH(QList<QByteArray>, batches);
    QFETCH(int, foundInBatch);
    AnnouncementMatcher m;
    int found = -1;
    for (int i = 0; i < batches.size() && found < 0; ++i)
        if (m.feed(batches[i]))
            found = i;
    QCOMPARE(found, foundInBatch);
}

// After the announcement (in pieces, behind a stray byte) the probe asks for the model and
// channel: its result, and whether the unit counts as found.
void FinderScanTest::heardThenAsked_data()
{
    QTest::addColumn<QByteArray>("model");
    QTest::addColumn<bool>("silent");    // the unit answers no read
    QTest::addColumn<int>("closeAfter"); // the line goes after this many frames (0: never)
    QTest::addColumn<int>("result");
    QTest::newRow("model 0: doubtful, still found") << QByteArray("00") << false << 0 << -1;
    QTest::newRow("announced in three pieces") << QByteArray("22") << false << 0 << 1;
    QTest::newRow("cells silent") << QByteArray("22") << true << 0 << -2;
    QTest::newRow("line gone at the attention") << QByteArray("22") << false << 1 << -4;
}

void FinderScanTest::heardThenAsked()
{
    QFETCH(QByteArray, model);
    QFETCH(bool, silent);
    QFETCH(int, closeAfter);
    QFETCH(int, result);
    // The real gap between the attention frames: the line can go in between.
    LineTiming timing = LineTiming::unpaced();
    timing.attentionGapMs = LineTiming{}.attentionGapMs;
    FinderRig r(timing);
    QVERIFY(r.startUnits({5}));
    SimSync& unit = r.unit(5);
    unit.setCell(63, model[0], model[1]);
    if (silent)
        unit.setStandingFault(simsync::Fault::Silence);
    unit.closeAfterFrames(closeAfter);
    frmFinder& fi = r.openFinder();
    Script script;
    script.when(r.probing(5), [&] { unit.pressReset(result == 1 ? 3 : 1, 60, "Z"); });
    QVERIFY(r.clickToEnd(fi.cmdConnect));

    QVERIFY(!r.f.app->wireLog()
                 .lines()
                 .filter(QString("probe of COM5 result %1").arg(result))
                 .isEmpty());
    const QStringList lines = scanLines(r.statusLines());
    if (result < -1) {
        QVERIFY(!lines.contains(FoundOn5));
        QVERIFY(lines.contains(" !! NO Synchronizer was Found !!"));
        QVERIFY(fi.isVisible() && !r.main().isVisible());
        return;
    }
    QVERIFY(lines.contains(FoundOn5));
    QCOMPARE(lines.value(lines.indexOf(FoundOn5) + 1) == Doubtful, result == -1);
    // The unit's port stays open for the editor.
    QVERIFY(r.f.app->serial().PortOpen());
    QCOMPARE(r.f.app->serial().CommPort(), int16_t(5));
    QVERIFY(r.main().isVisible() && !r.f.app->finder().isBusy());
    if (result == 1)
        return;
    // The load followed: a model of 0 is raised to 1, marked yellow and unlocked.
    QCOMPARE(ctl<QLineEdit>(r.main(), "txtModel")->text(), QStringLiteral("1"));
    QCOMPARE(ctl<HighlightShape>(r.main(), "shpHiLiteModel")->FillColor(), HighlightColors::Yellow);
    QVERIFY(r.main().model().modelChannelUnlocked());
}

// Try All goes through the ports in order: a probe that hears nothing listens its every
// tick, Cancel moves on at once, and a RESET pressed while another port was probed is not
// heard later.
void FinderScanTest::allPortsInOrder()
{
    LineTiming timing = LineTiming::unpaced();
    timing.probeTickMs = 20;
    FinderRig r(timing);
    QVERIFY(r.startUnits({1, 2, 5}));
    SimSync& unit = r.unit(5);
    frmFinder& fi = r.openFinder();
    // When each line reaches the status box, and where the bar stood then.
    QElapsedTimer clock;
    QMap<QString, std::pair<qint64, int>> seen;
    QObject::connect(&r.f.app->finderStatus, &FinderStatus::line, [&](const QString& line) {
        seen.insert(line,
                    {clock.elapsed(), ctl<QProgressBar>(r.progress(), "ProgressBar1")->value()});
    });
    bool staleAnnouncementSeen = true;
    Script script;
    script
        .when(r.probing(1),
              [&] {
                  unit.pressReset(); // heard by nobody: COM5 is not open yet
                  QVERIFY(unit.waitUntilSent(2000));
              })
        .when(r.probing(2), [&] { r.pressCancel(); })
        .when(r.probing(5), [] {})
        .after(400, [&] {
            staleAnnouncementSeen = !r.probing(5)();
            unit.pressReset();
        });
    clock.start();
    QVERIFY(r.clickToEnd(fi.cmdStart));

    QVERIFY(script.finished());
    QVERIFY(!staleAnnouncementSeen);
    QStringList tried;
    for (const QString& l : scanLines(r.statusLines()))
        if (l.startsWith(QLatin1String("Testing ")) || l.startsWith(QLatin1String("  --- ")))
            tried << l;
    QCOMPARE(tried, (QStringList{"Testing COM1", "Testing COM2", "Testing COM5", FoundOn5}));
    QVERIFY(seen["Testing COM2"].first - seen["Testing COM1"].first >= 60 * timing.probeTickMs);
    QCOMPARE(seen["Testing COM2"].second, 60); // the bar ran to its end
    QVERIFY(r.unit(1).frames(Direction::ToUnit).isEmpty());
    QVERIFY(r.unit(2).frames(Direction::ToUnit).isEmpty());
    QVERIFY(r.main().isVisible() && ctl<QLabel>(r.main(), "imgSync")->isVisible());
}

// Work Without Synchronizer in the middle of a scan ends it: no other port is tried, the
// editor shows, and the line is free. The list names each port's device in its tooltip.
void FinderScanTest::workWithoutEndsTheScan()
{
    FinderRig r(unpacedWithRealTicks());
    QVERIFY(r.startUnits({1, 2}));
    frmFinder& fi = r.openFinder();
    QCOMPARE(fi.cmbPort->itemData(0, Qt::ToolTipRole).toString(), r.unit(1).path());
    QCOMPARE(fi.cmbPort->itemData(1, Qt::ToolTipRole).toString(), r.unit(2).path());
    Script script;
    script.when(r.probing(1), [&] { QTest::mouseClick(fi.cmdWithout, Qt::LeftButton); });
    QVERIFY(r.clickToEnd(fi.cmdStart));

    QVERIFY(script.finished());
    QVERIFY(r.main().isVisible() && !fi.isVisible());
    QVERIFY(!scanLines(r.statusLines()).contains("Testing COM2"));
    QVERIFY(!fi.probe().running() && !fi.isBusy());
    QVERIFY(r.f.app->lease().isFree());
}

void FinderScanTest::noUsablePortsTriesNothing()
{
    FinderRig r;
    QVERIFY(r.startUnits({3}));
    frmFinder& fi = r.openFinder();
    r.f.app->ports.setTestMapping({{3, "/nonexistent/ttyGone"}});
    const int before = r.statusLines().size();
    QVERIFY(r.clickToEnd(fi.cmdStart));

    // The listing's own lines say why (their texts are the listing's tests'); nothing is tried.
    QVERIFY(r.statusLines().mid(before).contains("PROBLEM!!!"));
    QVERIFY(!r.statusLines().mid(before).contains("Looking for a Syncronizer"));
    QCOMPARE(fi.cmbPort->count(), 0);
    QVERIFY(r.unit(3).frames(Direction::ToUnit).isEmpty());
    QVERIFY(!r.f.app->finder().isBusy());
}

// A second click, a new listing or another port chosen while a probe waits leave the probe
// its line: the controls are disabled, and their handlers, called all the same, start
// nothing.
void FinderScanTest::twoQuickClicksRunOneScan()
{
    FinderRig r;
    QVERIFY(r.startUnits({2, 5}));
    frmFinder& fi = r.openFinder();
    fi.cmbPort->setCurrentIndex(1);
    bool portStayedOpen = false;
    Script script;
    script.when(r.probing(5), [&] {
        QTest::mouseClick(fi.cmdStart, Qt::LeftButton);
        fi.menuRefreshList->trigger(); // would close the port under the probe
        awaited(fi.cmdStart_Click());
        awaited(fi.menuConnect_Click());
        fi.menuRefreshList_Click();
        fi.cmbPort->setCurrentIndex(0);
        portStayedOpen =
            r.f.app->serial().PortOpen() && r.f.app->serial().CommPort() == 5 && r.probing(5)();
        r.unit(5).pressReset();
    });
    QVERIFY(r.clickToEnd(fi.cmdConnect));

    QVERIFY(script.finished());
    QVERIFY(portStayedOpen);
    const QStringList all = r.statusLines();
    QCOMPARE(all.count(QStringLiteral("Looking for a Syncronizer")), 1);
    QCOMPARE(all.count(QStringLiteral("Looking for Serial Ports")), 1);
    QCOMPARE(all.count(FoundOn5), 1);
}

// While the probe listens, the progress window says to press RESET under its step line,
// counting down the seconds left as the ticks go (here 60 ticks of 50 ms), and hides the
// hint when the probe ends.
void FinderScanTest::probeSaysWhenToPressReset()
{
    LineTiming timing = LineTiming::unpaced();
    timing.probeTickMs = 50;
    FinderRig r(timing);
    QVERIFY(r.startUnits({5}));
    frmFinder& fi = r.openFinder();
    auto* hint = ctl<QLabel>(r.progress(), "lblProgressHint");
    QStringList seen; // each change of the hint, from the probe's start on
    const auto look = [&] {
        const QString now = hint->isVisible() ? hint->text() : QStringLiteral("(hidden)");
        if ((r.probing(5)() || !seen.isEmpty()) && seen.value(seen.size() - 1) != now)
            seen << now;
    };
    QTimer looking;
    QObject::connect(&looking, &QTimer::timeout, look);
    looking.start(5);
    QVERIFY(r.clickToEnd(fi.cmdConnect));
    look(); // as the scan ended
    QCOMPARE(seen, (QStringList{"3 seconds left: press RESET on the synchronizer now",
                                "2 seconds left: press RESET on the synchronizer now",
                                "1 second left: press RESET on the synchronizer now", "(hidden)"}));
    QCOMPARE(ctl<QLabel>(r.progress(), "lblProgress")->text(),
             QStringLiteral("Probing............."));
}

// RESET pressed while the finder waits for its user is remembered for a short while: Try
// Specific then goes straight on to the attention frames and the two reads. Pressed longer
// ago, it is forgotten and the probe listens as it always does.
void FinderScanTest::resetFirst_data()
{
    QTest::addColumn<int>("memoryMs"); // how long a RESET heard is remembered
    QTest::addColumn<int>("waitMs");   // between hearing RESET and the click
    QTest::addColumn<bool>("found");
    QTest::newRow("within the memory") << LineTiming{}.resetMemoryMs << 0 << true;
    QTest::newRow("longer ago than remembered") << 300 << 400 << false;
}

void FinderScanTest::resetFirst()
{
    QFETCH(int, memoryMs);
    QFETCH(int, waitMs);
    QFETCH(bool, found);
    LineTiming timing = LineTiming::unpaced();
    timing.probeTickMs = 20;
    timing.resetMemoryMs = memoryMs;
    FinderRig r(timing);
    QVERIFY(r.startUnits({5}));
    SimSync& unit = r.unit(5);
    // Work Without leaves the line closed, as it found it: the finder's listening port
    // is no unit the editor may load from.
    QTest::mouseClick(r.openFinder().cmdWithout, Qt::LeftButton);
    QVERIFY(!r.f.app->serial().PortOpen());
    // As when the editor worked with the unit on COM5: Find Synchronizer closes COM5, and
    // the finder opens it again to listen.
    CommContext c = r.f.app->comm();
    QCOMPARE(awaited(modCorvaneComm::OpenSyncPort(c, 5)).number, 0);
    frmFinder& fi = r.openFinder();
    unit.pressReset();
    QTRY_VERIFY(r.statusLines().contains("RESET heard on COM5: press Try Specific Serial Port"));
    QTest::qWait(waitMs);
    bool listened = false;
    Script script;
    script.when(r.probing(5), [&] { listened = true; });
    QElapsedTimer clock;
    clock.start();
    QVERIFY(r.clickToEnd(fi.cmdConnect));

    QCOMPARE(listened, !found);
    const QStringList lines = scanLines(r.statusLines());
    QCOMPARE(lines.contains(FoundOn5), found);
    if (!found) {
        QVERIFY(clock.elapsed() >= 60 * timing.probeTickMs);
        QVERIFY(unit.frames(Direction::ToUnit).isEmpty());
        return;
    }
    QVERIFY(r.main().isVisible());
    // The two attention frames and the model and channel reads, then the load.
    QCOMPARE(unit.frames(Direction::ToUnit).mid(0, 4), (QStringList{"ATT", "ATT", "R63", "R62"}));
}

CORVANE_TEST_CLASS(FinderScanTest)

#include "FinderScanTest.moc"
