// The announcement matcher on its own, then scanning through the real windows, against simulated
// units on pseudo-terminals mapped to COM numbers.

#include "FinderRig.h"
#include "app/HighlightShape.h"
#include "comm/AnnouncementMatcher.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>

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
    void announcement_data();
    void announcement();
    void doubtfulModelIsFoundAndLoaded();
    void allPortsInOrder();
    void noUsablePortsTriesNothing();
    void twoQuickClicksRunOneScan();
    void probeSaysWhenToPressReset();
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

void FinderScanTest::announcement_data()
{
    QTest::addColumn<int>("pieces");
    QTest::addColumn<QByteArray>("noise");
    QTest::addColumn<bool>("found");
    QTest::newRow("three pieces") << 3 << QByteArray() << true;
    QTest::newRow("other byte, then whole") << 1 << QByteArray("Z") << true;
    QTest::newRow("A, then the rest") << 1 << QByteArray("A") << false;
}

void FinderScanTest::announcement()
{
    QFETCH(int, pieces);
    QFETCH(QByteArray, noise);
    QFETCH(bool, found);
    FinderRig r;
    QVERIFY(r.startUnits({5}));
    SimSync& unit = r.unit(5);
    frmFinder& fi = r.openFinder();
    Script script;
    script.when(r.probing(5), [&] { unit.pressReset(pieces, 150, noise); }).after(1300, [&] {
        if (r.probing(5)())
            r.pressCancel(); // nothing recognised: still listening
    });
    QTest::mouseClick(fi.cmdConnect, Qt::LeftButton);

    QCOMPARE(scanLines(r.statusLines()).contains(FoundOn5), found);
    QCOMPARE(r.portAccess().SyncPort, int16_t(found ? 5 : 0));
    QCOMPARE(r.main().isVisible(), found);
    QVERIFY(!r.f.app->finder().isBusy());
}

void FinderScanTest::doubtfulModelIsFoundAndLoaded()
{
    FinderRig r;
    QVERIFY(r.startUnits({5}));
    SimSync& unit = r.unit(5);
    unit.setCell(63, '0', '0');
    frmFinder& fi = r.openFinder();
    Script script;
    script.when(r.probing(5), [&] { unit.pressReset(); });
    QTest::mouseClick(fi.cmdConnect, Qt::LeftButton);

    const QStringList lines = scanLines(r.statusLines());
    QCOMPARE(lines.mid(lines.indexOf(FoundOn5), 2), (QStringList{FoundOn5, Doubtful}));
    QVERIFY(r.main().isVisible());
    // The load followed: a model of 0 is raised to 1, marked yellow and unlocked.
    QCOMPARE(ctl<QLineEdit>(r.main(), "txtModel")->text(), QStringLiteral("1"));
    QCOMPARE(ctl<HighlightShape>(r.main(), "shpHiLiteModel")->FillColor(), HighlightColors::Yellow);
    QVERIFY(r.main().model().modelChannelUnlocked());
}

void FinderScanTest::allPortsInOrder()
{
    FinderRig r(unpacedWithRealTicks());
    QVERIFY(r.startUnits({1, 2, 5}));
    SimSync& unit = r.unit(5);
    frmFinder& fi = r.openFinder();
    bool staleAnnouncementSeen = true;
    Script script;
    script
        .when(r.probing(1),
              [&] {
                  // Heard by nobody: COM5 is not open while COM1 is probed.
                  unit.pressReset();
                  QVERIFY(unit.waitUntilSent(2000));
                  r.pressCancel();
              })
        .when(r.probing(2), [&] { r.pressCancel(); })
        .when(r.probing(5), [] {})
        .after(800, [&] {
            staleAnnouncementSeen = !r.probing(5)();
            unit.pressReset();
        });
    QTest::mouseClick(fi.cmdStart, Qt::LeftButton);

    QVERIFY(script.finished());
    QVERIFY(!staleAnnouncementSeen);
    QStringList tried;
    for (const QString& l : scanLines(r.statusLines()))
        if (l.startsWith(QLatin1String("Testing ")) || l.startsWith(QLatin1String("  --- ")))
            tried << l;
    QCOMPARE(tried, (QStringList{"Testing COM1", "Testing COM2", "Testing COM5", FoundOn5}));
    QVERIFY(r.unit(1).frames(Direction::ToUnit).isEmpty());
    QVERIFY(r.unit(2).frames(Direction::ToUnit).isEmpty());
}

void FinderScanTest::noUsablePortsTriesNothing()
{
    FinderRig r;
    QVERIFY(r.startUnits({3}));
    frmFinder& fi = r.openFinder();
    r.f.app->ports.setTestMapping({{3, "/nonexistent/ttyGone"}});
    const int before = r.statusLines().size();
    QTest::mouseClick(fi.cmdStart, Qt::LeftButton);

    QCOMPARE(r.statusLines().mid(before), (QStringList{"Looking for Serial Ports", "PROBLEM!!!",
                                                       "No Serial Ports are avaliable!!",
                                                       "  Close other programs that might be using",
                                                       "  serial ports and try again"}));
    QCOMPARE(fi.cmbPort->count(), 0);
    QVERIFY(r.unit(3).frames(Direction::ToUnit).isEmpty());
    QVERIFY(!r.f.app->finder().isBusy());
}

void FinderScanTest::twoQuickClicksRunOneScan()
{
    FinderRig r;
    QVERIFY(r.startUnits({5}));
    frmFinder& fi = r.openFinder();
    bool portStayedOpen = false;
    Script script;
    script.when(r.probing(5), [&] {
        QTest::mouseClick(fi.cmdStart, Qt::LeftButton);
        fi.menuRefreshList->trigger(); // would close the port under the probe
        portStayedOpen = r.f.app->serial().PortOpen() && r.probing(5)();
        r.unit(5).pressReset();
    });
    QTest::mouseClick(fi.cmdConnect, Qt::LeftButton);

    QVERIFY(portStayedOpen);
    const QStringList all = r.statusLines();
    QCOMPARE(all.count(QStringLiteral("Looking for a Syncronizer")), 1);
    QCOMPARE(all.count(QStringLiteral("Looking for Serial Ports")), 1);
    QCOMPARE(all.count(FoundOn5), 1);
}

CORVANE_TEST_CLASS(FinderScanTest)

// RESET pressed before the probe listens is never heard: while it listens, the progress
// window says so under its step line, with the seconds left.
void FinderScanTest::probeSaysWhenToPressReset()
{
    FinderRig r(LineTiming{}); // the probe at its real ticks
    QVERIFY(r.startUnits({5}));
    frmFinder& fi = r.openFinder();
    auto* hint = ctl<QLabel>(r.progress(), "lblProgressHint");
    QStringList seen;
    auto look = [&] { seen << (hint->isVisible() ? hint->text() : QStringLiteral("(hidden)")); };
    Script script;
    script.when(r.probing(5), look).after(1200, [&] {
        look();
        r.pressCancel();
    });
    QTest::mouseClick(fi.cmdConnect, Qt::LeftButton);
    look();
    QCOMPARE(seen,
             (QStringList{"30 seconds left: press RESET on the synchronizer now",
                          "29 seconds left: press RESET on the synchronizer now", "(hidden)"}));
    QCOMPARE(ctl<QLabel>(r.progress(), "lblProgress")->text(),
             QStringLiteral("Probing............."));
}

#include "FinderScanTest.moc"
