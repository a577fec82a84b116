// Probes that hear nothing run their full 60 ticks of half a second before the next
// port is tried.

#include "finder/FinderRig.h"
#include "support/TestRunner.h"

#include <QLabel>
#include <QProgressBar>

class FullProbeTest : public QObject
{
    Q_OBJECT
private slots:
    void silentPortsWaitThirtySecondsEach();
};

void FullProbeTest::silentPortsWaitThirtySecondsEach()
{
    FinderRig r;
    QVERIFY(r.startUnits({1, 2, 5}));
    frmFinder& fi = r.openFinder();

    // When each line reaches the status box, and where the bar stood then.
    QElapsedTimer clock;
    QMap<QString, std::pair<qint64, int>> seen;
    QObject::connect(&r.portAccess(), &PortAccess::statusLine, [&](const QString& line) {
        seen.insert(line,
                    {clock.elapsed(), ctl<QProgressBar>(r.progress(), "ProgressBar1")->value()});
    });
    Script script;
    script.when(r.probing(5), [&] { r.unit(5).pressReset(); });
    clock.start();
    QTest::mouseClick(fi.cmdStart, Qt::LeftButton);

    QVERIFY(seen.contains("Testing COM1") && seen.contains("Testing COM2") &&
            seen.contains("Testing COM5"));
    const qint64 first = seen["Testing COM2"].first - seen["Testing COM1"].first;
    const qint64 second = seen["Testing COM5"].first - seen["Testing COM2"].first;
    for (qint64 gap : {first, second})
        QVERIFY2(gap >= 29900 && gap <= 31500, qPrintable(QString::number(gap)));
    // The bar ran to its end before the next port was tried.
    QCOMPARE(seen["Testing COM2"].second, 60);
    QCOMPARE(seen["Testing COM5"].second, 60);
    const QString found = QStringLiteral("  --- Found synchronizer on COM5");
    QVERIFY(seen.contains(found));
    QVERIFY(seen[found].first - seen["Testing COM5"].first < 3000);
    QVERIFY(r.main().isVisible() && ctl<QLabel>(r.main(), "imgSync")->isVisible());
}

CORVANE_TEST_CLASS(FullProbeTest)
#include "FullProbeTest.moc"
