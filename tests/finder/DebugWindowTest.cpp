// The debug window: Dump, RandFill and Compare, against a simulated unit and with the
// port closed, and the rule that only one command uses the port at a time.

#include "FinderRig.h"
#include "app/DebugFillBytes.h"
#include "app/HighlightShape.h"
#include "app/frmDebug.h"
#include "support/TestRunner.h"

#include <QLineEdit>
#include <QPointer>

using simsync::Direction;
using simsync::Fault;

namespace {
QStringList messageLines(frmDebug& d)
{
    QStringList lines = d.txtMsg->toPlainText().split(QLatin1Char('\n'));
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    return lines;
}

QString hex2(int b)
{
    return QStringLiteral("%1").arg(b, 2, 16, QLatin1Char('0')).toUpper();
}

// A debug window on an application whose port is open on the unit at COM5.
struct DebugRig : FinderRig
{
    bool openUnit(bool pacing = false)
    {
        if (!startUnits({5}, pacing))
            return false;
        CommContext c = f.app->comm();
        return modCorvaneComm::OpenSyncPort(c, 5);
    }
    frmDebug& debug()
    {
        frmDebug& d = f.app->debug();
        d.show();
        return d;
    }
};

// What the load makes of a number cell: the value shown and the mark (none, red, yellow).
std::pair<int, QColor> loadedNumber(std::array<uint8_t, 2> cell, int unreadable)
{
    Globals g;
    g.ReplyBytes = cell;
    const int v = modCorvaneComm::DecodeReplyNumber(g);
    if (v < 0)
        return {unreadable, HighlightColors::Red};
    if (v < 1)
        return {1, HighlightColors::Yellow};
    return {v, QColor()};
}
} // namespace

class DebugWindowTest : public QObject
{
    Q_OBJECT
private slots:
    void fillBytesRepeatAndAvoidFrameMarkers();
    void dumpWithPortClosed();
    void dumpListsEveryCell();
    void oneCommandAtATime();
    void closedWhileDumping();
    void randFillThenLoad();
};

void DebugWindowTest::fillBytesRepeatAndAvoidFrameMarkers()
{
    DebugFillBytes a, b;
    bool sawLow = false, sawHigh = false;
    for (int i = 0; i < 20000; ++i) {
        const auto pa = a.nextPair();
        QCOMPARE(pa, b.nextPair()); // no clock in the seed: the same every run
        for (uint8_t x : pa) {
            QVERIFY(x != 10 && x != 13);
            sawLow = sawLow || x == 0;
            sawHigh = sawHigh || x == 255;
        }
    }
    QVERIFY(sawLow && sawHigh);
    // Raw draws do hit the frame markers, so the pairs above were filtered.
    DebugFillBytes raw;
    bool sawMarker = false;
    for (int i = 0; i < 5000 && !sawMarker; ++i) {
        const uint8_t x = raw.draw();
        sawMarker = x == 10 || x == 13;
    }
    QVERIFY(sawMarker);
}

void DebugWindowTest::dumpWithPortClosed()
{
    DebugRig r;
    frmDebug& d = r.debug();
    QVERIFY(!r.main().MSComm1->PortOpen());
    QElapsedTimer clock;
    clock.start();
    QTest::mouseClick(d.cmdDump, Qt::LeftButton);
    qInfo("Dump of 64 cells with the port closed: %lld ms", clock.elapsed());

    const QStringList lines = messageLines(d);
    QCOMPARE(lines.size(), 64);
    for (int i = 0; i < 64; ++i) {
        // Every address was tried, each failing with the serial control's text.
        QVERIFY2(lines[i].startsWith(hex2(48 + i) + "  "), qPrintable(lines[i]));
        QVERIFY(lines[i].size() > 4 && !lines[i].contains(QLatin1Char('"')));
    }
    QVERIFY(r.f.modal.requests.empty());
    QVERIFY(!d.running());

    QTest::mouseClick(d.cmdRandFill, Qt::LeftButton); // every write fails at once, silently
    QVERIFY(r.f.modal.requests.empty());
    QVERIFY(!d.running());
}

void DebugWindowTest::dumpListsEveryCell()
{
    DebugRig r;
    QVERIFY(r.openUnit());
    SimSync& unit = r.unit(5);
    unit.setCell(0x48, 'H', 'i');
    unit.setCell(0x50, 7, 0xE9);
    // The second cell never answers; the third answers at its second attempt.
    unit.queueFaults(
        {Fault::None, Fault::Silence, Fault::Silence, Fault::Silence, Fault::Garbage, Fault::None});
    frmDebug& d = r.debug();
    QTest::mouseClick(d.cmdCompare, Qt::LeftButton); // does nothing
    QVERIFY(d.txtMsg->toPlainText().isEmpty());
    d.txtMsg->setPlainText("from before");
    QTest::mouseClick(d.cmdDump, Qt::LeftButton);

    const QStringList lines = messageLines(d);
    QCOMPARE(lines.size(), 64);
    QCOMPARE(lines[0], QStringLiteral("30  30 30  \"00\""));
    QCOMPARE(lines[1], QStringLiteral("31  Reply Timed Out"));
    QCOMPARE(lines[0x3F - 48], QStringLiteral("3F  32 32  \"22\""));
    QCOMPARE(lines[0x48 - 48], QStringLiteral("48  48 69  \"Hi\""));
    QCOMPARE(lines[0x50 - 48], QStringLiteral("50  07 E9  \"..\""));
    QVERIFY(lines[63].startsWith(QLatin1String("6F  07 07")));
    QStringList reads;
    for (const QString& f : unit.frames(Direction::ToUnit)) {
        QVERIFY2(f.startsWith(QLatin1Char('R')) || f == "ATT",
                 qPrintable(f)); // Compare sent nothing
        if (f.startsWith(QLatin1Char('R')) && !reads.contains(f))
            reads << f;
    }
    QCOMPARE(reads.size(), 64);
    QCOMPARE(reads.first(), QStringLiteral("R48"));
    QCOMPARE(reads.last(), QStringLiteral("R111"));
}

void DebugWindowTest::oneCommandAtATime()
{
    DebugRig r;
    frmFinder& fi = r.openFinder();
    QVERIFY(r.openUnit());
    SimSync& unit = r.unit(5);
    frmDebug& d = r.debug();

    // Not while a probe or a scan holds the port.
    r.g().ProbeRunning = true;
    QTest::mouseClick(d.cmdDump, Qt::LeftButton);
    r.g().ProbeRunning = false;
    r.g().Busy = true;
    QTest::mouseClick(d.cmdRandFill, Qt::LeftButton);
    r.g().Busy = false;
    QTest::qWait(50);
    QVERIFY(unit.frames(Direction::ToUnit).isEmpty());
    QVERIFY(d.txtMsg->toPlainText().isEmpty());

    // Not while a Dump runs: neither a second Dump nor a RandFill, nor a scan.
    unit.queueFaults({Fault::Silence}); // the first cell takes a while
    bool sawRunning = false;
    Script script;
    script.when([&] { return d.running(); },
                [&] {
                    sawRunning = true;
                    QTest::mouseClick(d.cmdDump, Qt::LeftButton);
                    QTest::mouseClick(d.cmdRandFill, Qt::LeftButton);
                    fi.cmdStart->click();
                });
    QTest::mouseClick(d.cmdDump, Qt::LeftButton);

    QVERIFY(sawRunning);
    QCOMPARE(messageLines(d).size(), 64);
    int reads = 0, writes = 0;
    for (const QString& f : unit.frames(Direction::ToUnit)) {
        reads += f.startsWith(QLatin1Char('R'));
        writes += f.startsWith(QLatin1Char('W'));
    }
    QCOMPARE(reads, 65); // the first cell answered at its second attempt
    QCOMPARE(writes, 0);
    QVERIFY(!fi.txtFindStatus->toPlainText().contains("Looking for a Syncronizer"));
    QVERIFY(r.main().MSComm1->PortOpen());
}

void DebugWindowTest::closedWhileDumping()
{
    DebugRig r;
    QVERIFY(r.openUnit());
    r.unit(5).queueFaults({Fault::Silence}); // the first cell takes a while
    frmDebug& d = r.debug();
    QPointer<frmDebug> window = &d;
    bool stillThereWhileRunning = false;
    Script script;
    script.when([&] { return d.running(); },
                [&] {
                    d.close();
                    stillThereWhileRunning = !window.isNull() && !d.isVisible();
                });
    QTest::mouseClick(d.cmdDump, Qt::LeftButton);

    QVERIFY(stillThereWhileRunning);
    QVERIFY(!r.f.app->hasDebug());
    QTRY_VERIFY(window.isNull());
    QVERIFY(r.unit(5).frames(Direction::ToUnit).contains("R111")); // the Dump ran to its end
}

void DebugWindowTest::randFillThenLoad()
{
    DebugRig r;
    QVERIFY(r.openUnit());
    SimSync& unit = r.unit(5);
    const auto lastCellBefore = unit.cell(111);
    DebugFillBytes::process() = DebugFillBytes(); // as at the start of a run
    frmDebug& d = r.debug();

    QTest::mouseClick(d.cmdRandFill, Qt::LeftButton);

    DebugFillBytes expected;
    for (int a = 48; a <= 110; ++a) {
        const auto want = expected.nextPair();
        QCOMPARE(unit.cell(a), want);
    }
    QCOMPARE(unit.cell(111), lastCellBefore);
    QVERIFY(d.txtMsg->toPlainText().isEmpty());
    QVERIFY(r.f.modal.requests.empty());

    // The load reads the random model and channel and judges them like any other.
    QTest::mouseClick(r.main().cmdLoadFrom, Qt::LeftButton);
    const auto [model, modelMark] = loadedNumber(unit.cell(63), 22);
    const auto [channel, channelMark] = loadedNumber(unit.cell(62), 1);
    QCOMPARE(r.main().txtModel->text(), QString::number(model));
    QCOMPARE(r.main().txtChannel->text(), QString::number(channel));
    QCOMPARE(r.main().shpHiLiteModel->isVisible(), modelMark.isValid());
    if (modelMark.isValid())
        QCOMPARE(r.main().shpHiLiteModel->FillColor(), modelMark);
    QCOMPARE(r.main().shpHiLiteChannel->isVisible(), channelMark.isValid());
    if (channelMark.isValid())
        QCOMPARE(r.main().shpHiLiteChannel->FillColor(), channelMark);
    // A marked model or channel is unlocked for correcting.
    const bool marked = modelMark.isValid() || channelMark.isValid();
    QCOMPARE(r.g().ModelChannelUnlocked, marked);
    QVERIFY(!r.f.modal.messages().isEmpty()); // random cells always give a report
}

CORVANE_TEST_CLASS(DebugWindowTest)
#include "DebugWindowTest.moc"
