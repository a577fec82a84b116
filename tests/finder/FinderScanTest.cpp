// Probing and scanning through the real windows, against simulated units on
// pseudo-terminals mapped to COM numbers.

#include "FinderRig.h"
#include "app/HighlightShape.h"
#include "app/frmProblem.h"
#include "app/modFinder.h"
#include "support/TestRunner.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>

using simsync::Direction;
using simsync::Fault;

Q_DECLARE_METATYPE(Fault)

namespace {
const QString FoundOn5 = QStringLiteral("  --- Found synchronizer on COM5");
const QString Doubtful = QStringLiteral("  --- model and/or channel number may be incorrect");
const QString NotFound = QStringLiteral(" !! NO Synchronizer was Found !!");
const QString Finished = QStringLiteral(" === Finished Testing ===");

QStringList readRequests(SimSync& unit)
{
    QStringList reads;
    for (const QString& f : unit.frames(Direction::ToUnit))
        if (f.startsWith(QLatin1Char('R')))
            reads << f;
    return reads;
}

// The lines from the start of the last scan on.
QStringList scanLines(const QStringList& all)
{
    const int from = all.lastIndexOf(QStringLiteral("Looking for a Syncronizer"));
    return from < 0 ? QStringList() : all.mid(from);
}
} // namespace

class FinderScanTest : public QObject
{
    Q_OBJECT
private slots:
    void probeResults_data();
    void probeResults();
    void announcementPieces_data();
    void announcementPieces();
    void doubtfulModelIsFoundAndLoaded();
    void allPortsInOrder();
    void noUsablePortsTriesNothing();
    void emptyListTriesNothing();
    void portThatCannotBeOpened();
    void secondStartWhileBusyIsIgnored();
    void loadFailureAfterFind();
    void workWithoutStopsTheScan();
};

void FinderScanTest::probeResults_data()
{
    QTest::addColumn<QByteArray>("model");
    QTest::addColumn<QByteArray>("channel");
    QTest::addColumn<QList<Fault>>("faults");
    QTest::addColumn<int>("result");
    QTest::addColumn<QStringList>("reads");
    const QList<Fault> none;
    const Fault s = Fault::Silence;
    QTest::newRow("good") << QByteArray("07") << QByteArray("03") << none << 1
                          << QStringList{"R63", "R62"};
    QTest::newRow("limits") << QByteArray("99") << QByteArray(" 1") << none << 1
                            << QStringList{"R63", "R62"};
    QTest::newRow("model 00") << QByteArray("00") << QByteArray("03") << none << -1
                              << QStringList{"R63"};
    QTest::newRow("channel not a number")
        << QByteArray("07") << QByteArray("ab") << none << -1 << QStringList{"R63", "R62"};
    QTest::newRow("model silent") << QByteArray("07") << QByteArray("03") << QList<Fault>{s, s, s}
                                  << -2 << QStringList{"R63", "R63", "R63"};
    QTest::newRow("channel garbled")
        << QByteArray("07") << QByteArray("03")
        << QList<Fault>{Fault::None, Fault::Garbage, Fault::Garbage, Fault::Garbage} << -2
        << QStringList{"R63", "R62", "R62", "R62"};
    QTest::newRow("model retried, then good")
        << QByteArray("07") << QByteArray("03") << QList<Fault>{Fault::Short3} << 1
        << QStringList{"R63", "R63", "R62"};
}

void FinderScanTest::probeResults()
{
    QFETCH(QByteArray, model);
    QFETCH(QByteArray, channel);
    QFETCH(QList<Fault>, faults);
    QFETCH(int, result);
    QFETCH(QStringList, reads);
    FinderRig r;
    QVERIFY(r.startUnits({5}));
    SimSync& unit = r.unit(5);
    unit.setCell(63, uint8_t(model[0]), uint8_t(model[1]));
    unit.setCell(62, uint8_t(channel[0]), uint8_t(channel[1]));
    unit.queueFaults(faults);
    CommContext c = r.f.app->comm();
    QVERIFY(modCorvaneComm::OpenSyncPort(c, 5));

    Script script;
    script.when(r.probing(5), [&] { unit.pressReset(); });
    const int16_t got = modCorvaneComm::ProbeForSynchronizer(*r.f.app, 5);

    QCOMPARE(int(got), result);
    QCOMPARE(readRequests(unit), reads);
    // The attention frames come first, before any read.
    QCOMPARE(unit.frames(Direction::ToUnit).mid(0, 2), (QStringList{"ATT", "ATT"}));
    QVERIFY(!r.progress().isVisible());
    QVERIFY(!r.g().ProbeRunning);
    QVERIFY(!r.main().tmrCommTimer->Enabled());
    QVERIFY(r.main().MSComm1->PortOpen()); // the probe leaves the port to its caller
}

void FinderScanTest::announcementPieces_data()
{
    QTest::addColumn<int>("pieces");
    QTest::addColumn<QByteArray>("noise");
    QTest::addColumn<bool>("found");
    QTest::newRow("whole") << 1 << QByteArray() << true;
    QTest::newRow("three pieces") << 3 << QByteArray() << true;
    QTest::newRow("other byte, then whole") << 1 << QByteArray("Z") << true;
    QTest::newRow("line noise, then whole") << 1 << QByteArray("\x00\xff+++AT\r", 9) << true;
    QTest::newRow("A, then whole") << 1 << QByteArray("A") << false;
    QTest::newRow("A, then three pieces") << 3 << QByteArray("A") << false;
}

void FinderScanTest::announcementPieces()
{
    QFETCH(int, pieces);
    QFETCH(QByteArray, noise);
    QFETCH(bool, found);
    FinderRig r;
    QVERIFY(r.startUnits({5}, false));
    SimSync& unit = r.unit(5);
    frmFinder& fi = r.openFinder();

    int barWhileListening = -1;
    Script script;
    script.when(r.probing(5), [&] { unit.pressReset(pieces, 150, noise); }).after(1300, [&] {
        // Still listening when nothing was recognised: the bar follows the ticks.
        if (r.probing(5)()) {
            barWhileListening = r.progress().ProgressBar1->value();
            r.pressCancel();
        }
    });
    QTest::mouseClick(fi.cmdConnect, Qt::LeftButton);

    const QStringList lines = scanLines(r.statusLines());
    QVERIFY(script.finished() || found);
    if (pieces > 1) {
        // The pieces went out apart, not as one announcement.
        QList<double> sent;
        for (const simsync::WireEntry& e : unit.wireLog())
            if (e.dir == Direction::FromUnit)
                sent << e.ms;
        const int first = noise.isEmpty() ? 0 : 1;
        QVERIFY(sent.size() >= first + pieces);
        for (int i = first + 1; i < first + pieces; ++i)
            QVERIFY(sent[i] - sent[i - 1] >= 100);
    }
    if (found) {
        QVERIFY(lines.contains(FoundOn5));
        QVERIFY(!lines.contains(Doubtful));
        QVERIFY(!fi.isVisible());
        QVERIFY(r.main().isVisible());
        QVERIFY(r.main().imgSync->isVisible() && !r.main().imgNoSync->isVisible());
        QCOMPARE(r.g().SyncPort, int16_t(5));
    } else {
        QCOMPARE(lines, (QStringList{"Looking for a Syncronizer",
                                     " !!! DON'T FORGET TO HIT RESET on your synchronizer !!! --",
                                     "", "Testing COM5", "", NotFound, "", Finished, ""}));
        QVERIFY(barWhileListening >= 1 && barWhileListening <= 3);
        QCOMPARE(r.progress().ProgressBar1->maximum(), modCorvaneComm::ProbeTicks);
        QVERIFY(fi.isVisible());
        QVERIFY(!r.main().imgNoSync->isHidden()); // the editor itself is hidden
        QCOMPARE(r.g().SyncPort, int16_t(0));
        // The last port tried stays open.
        QVERIFY(r.main().MSComm1->PortOpen());
        QVERIFY(readRequests(unit).isEmpty());
    }
    QVERIFY(!r.g().Busy);
}

void FinderScanTest::doubtfulModelIsFoundAndLoaded()
{
    FinderRig r;
    QVERIFY(r.startUnits({5}, false));
    SimSync& unit = r.unit(5);
    unit.setCell(63, '0', '0');
    frmFinder& fi = r.openFinder();

    QString loadCaption, loadLabel;
    bool finderHiddenDuringLoad = false;
    Script script;
    script.when(r.probing(5), [&] { unit.pressReset(); })
        .when(
            [&] {
                return r.progress().isVisible() &&
                       r.progress().windowTitle() == QStringLiteral("Load from Synchronizer");
            },
            [&] {
                loadCaption = r.progress().windowTitle();
                loadLabel = r.progress().lblProgress->text();
                finderHiddenDuringLoad = !fi.isVisible() && r.main().isVisible();
            });
    QTest::mouseClick(fi.cmdConnect, Qt::LeftButton);

    const QStringList lines = scanLines(r.statusLines());
    const int at = lines.indexOf(FoundOn5);
    QVERIFY(at > 0);
    QCOMPARE(lines.mid(at - 1), (QStringList{"", FoundOn5, Doubtful, "", Finished, ""}));
    // It goes on to load: every cell is read after the probe's model read.
    QVERIFY(readRequests(unit).size() > 50);
    QCOMPARE(loadCaption, QStringLiteral("Load from Synchronizer"));
    QCOMPARE(loadLabel, QStringLiteral("Loading............."));
    QVERIFY(finderHiddenDuringLoad);
    QVERIFY(!r.progress().isVisible());
    QVERIFY(r.main().imgSync->isVisible());
    // A model of 0 is raised to 1 and marked yellow; the load unlocks it for correcting.
    QCOMPARE(r.main().txtModel->text(), QStringLiteral("1"));
    QVERIFY(r.main().shpHiLiteModel->isVisible());
    QCOMPARE(r.main().shpHiLiteModel->FillColor(), HighlightColors::Yellow);
    QVERIFY(r.g().ModelChannelUnlocked && r.main().txtModel->isEnabled());
    QVERIFY(r.main().MSComm1->PortOpen());
}

void FinderScanTest::allPortsInOrder()
{
    FinderRig r;
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
            unit.pressReset(2, 60);
        });
    QTest::mouseClick(fi.cmdStart, Qt::LeftButton);

    QVERIFY(script.finished());
    QVERIFY(!staleAnnouncementSeen);
    const QStringList all = r.statusLines();
    QStringList testing;
    for (const QString& l : scanLines(all))
        if (l.startsWith(QLatin1String("Testing ")) || l.startsWith(QLatin1String("  --- ")))
            testing << l;
    QCOMPARE(testing, (QStringList{"Testing COM1", "Testing COM2", "Testing COM5", FoundOn5}));
    // Try All lists the ports again first.
    QCOMPARE(all.count(QStringLiteral("Looking for Serial Ports")), 2);
    QCOMPARE(r.g().SyncPort, int16_t(5));
    QVERIFY(r.main().isVisible() && !fi.isVisible());
    // The silent units never saw a frame of ours.
    QVERIFY(r.unit(1).frames(Direction::ToUnit).isEmpty());
    QVERIFY(r.unit(2).frames(Direction::ToUnit).isEmpty());
}

void FinderScanTest::noUsablePortsTriesNothing()
{
    FinderRig r;
    QVERIFY(r.startUnits({3}, false));
    frmFinder& fi = r.openFinder();
    r.mapping.set({{3, "/nonexistent/ttyGone"}});
    const int before = r.statusLines().size();

    QTest::mouseClick(fi.cmdStart, Qt::LeftButton);

    QCOMPARE(r.statusLines().mid(before),
             (QStringList{"", "", "Looking for Serial Ports", "PROBLEM!!!",
                          "No Serial Ports are avaliable!!",
                          "  Close other programs that might be using",
                          "  serial ports and try again"}));
    QCOMPARE(fi.cmbPort->count(), 0);
    QVERIFY(!r.progress().isVisible());
    QVERIFY(r.unit(3).frames(Direction::ToUnit).isEmpty());
    QVERIFY(!r.g().Busy);
    QVERIFY(fi.isVisible());
}

void FinderScanTest::emptyListTriesNothing()
{
    FinderRig r;
    frmFinder& fi = r.openFinder();
    QCOMPARE(fi.cmbPort->count(), 0);
    const QStringList before = r.statusLines();
    QTest::mouseClick(fi.cmdConnect, Qt::LeftButton);
    QCOMPARE(r.statusLines(), before);
    QVERIFY(!r.g().Busy);
    QVERIFY(r.f.modal.requests.empty());
}

void FinderScanTest::portThatCannotBeOpened()
{
    FinderRig r;
    QVERIFY(r.startUnits({3}, false));
    frmFinder& fi = r.openFinder();
    // Listed, then gone before it is tried.
    r.mapping.set({{3, "/nonexistent/ttyGone"}});

    QTest::mouseClick(fi.cmdConnect, Qt::LeftButton);

    const QStringList lines = scanLines(r.statusLines());
    QCOMPARE(lines.value(2), QString());
    QCOMPARE(lines.value(3), QStringLiteral("Testing COM3"));
    QVERIFY2(lines.value(4).startsWith(QLatin1String("Unable to Open COM3 (")) &&
                 lines.value(4).endsWith(QLatin1Char(')')) && lines.value(4).size() > 22,
             qPrintable(lines.value(4)));
    QCOMPARE(lines.mid(5), (QStringList{"", NotFound, "", Finished, ""}));
    QVERIFY(!r.progress().isVisible());
    QVERIFY(!r.main().MSComm1->PortOpen());
}

void FinderScanTest::secondStartWhileBusyIsIgnored()
{
    FinderRig r;
    QVERIFY(r.startUnits({5}, false));
    SimSync& unit = r.unit(5);
    frmFinder& fi = r.openFinder();

    bool portStayedOpen = false;
    Script script;
    script.when(r.probing(5), [&] {
        // A second click, the menu entries and a list refresh while the probe listens.
        QTest::mouseClick(fi.cmdConnect, Qt::LeftButton);
        QTest::mouseClick(fi.cmdStart, Qt::LeftButton);
        fi.menuAutoFind->trigger();
        fi.menuRefreshList->trigger();
        portStayedOpen = r.main().MSComm1->PortOpen() && r.probing(5)();
        unit.pressReset();
    });
    QTest::mouseClick(fi.cmdConnect, Qt::LeftButton);

    QVERIFY(script.finished());
    QVERIFY(portStayedOpen);
    const QStringList all = r.statusLines();
    QCOMPARE(all.count(QStringLiteral("Looking for a Syncronizer")), 1);
    QCOMPARE(all.count(QStringLiteral("Looking for Serial Ports")), 1);
    QCOMPARE(all.count(FoundOn5), 1);
    QVERIFY(!r.g().Busy);
}

void FinderScanTest::loadFailureAfterFind()
{
    FinderRig r;
    QVERIFY(r.startUnits({5}));
    SimSync& unit = r.unit(5);
    // The probe's two reads are answered, then the unit falls silent.
    unit.queueFaults({Fault::None, Fault::None});
    unit.setStandingFault(Fault::Silence);
    frmFinder& fi = r.openFinder();
    QString problem;
    r.f.modal.onDialog = [&](const Modal::Request& req) {
        if (auto* p = qobject_cast<frmProblem*>(req.dialog))
            problem = p->txtProblem->toPlainText();
    };
    Script script;
    script.when(r.probing(5), [&] { unit.pressReset(); });
    QTest::mouseClick(fi.cmdConnect, Qt::LeftButton);

    QCOMPARE(problem, QStringLiteral("Cannot Load! There were communications errors on the serial "
                                     "port or the synchronizer is not responding.\n Please try "
                                     "again"));
    // The editor stays with its defaults and shows the connection.
    QVERIFY(r.main().isVisible() && !fi.isVisible());
    QVERIFY(r.main().imgSync->isVisible());
    QCOMPARE(r.main().txtModel->text(), QStringLiteral("22"));
    QVERIFY(!r.progress().isVisible());
    QVERIFY(!r.g().Busy);
}

void FinderScanTest::workWithoutStopsTheScan()
{
    FinderRig r;
    QVERIFY(r.startUnits({1, 2}));
    frmFinder& fi = r.openFinder();
    QElapsedTimer clock;
    clock.start();
    Script script;
    script.when(r.probing(1), [&] { QTest::mouseClick(fi.cmdWithout, Qt::LeftButton); });
    QTest::mouseClick(fi.cmdStart, Qt::LeftButton);

    QVERIFY(clock.elapsed() < 10000); // not a full probe of 30 seconds
    const QStringList lines = scanLines(r.statusLines());
    QVERIFY(lines.contains(QStringLiteral("Testing COM1")));
    QVERIFY(!lines.contains(QStringLiteral("Testing COM2")));
    QVERIFY(lines.contains(NotFound));
    QVERIFY(!r.progress().isVisible());
    QVERIFY(r.main().isVisible() && !fi.isVisible());
    QVERIFY(r.main().imgNoSync->isVisible());
    QVERIFY(!r.g().Busy && !r.g().ProbeRunning);
}

CORVANE_TEST_CLASS(FinderScanTest)
#include "FinderScanTest.moc"
