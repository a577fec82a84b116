// One command on the line at a time: while the line is held, every command that would use
// it is disabled in every window and refuses to start even when its handler is called; a
// command that ends gives the line back.

#include "FinderRig.h"
#include "app/frmDebug.h"
#include "support/Story.h"

#include <QAction>
#include <QRegularExpression>

class PortLeaseTest : public QObject
{
    Q_OBJECT
private slots:
    void heldLineStartsNothing_data();
    void heldLineStartsNothing();
    void findHandsOverWithoutTheDebugWindow();
};

void PortLeaseTest::heldLineStartsNothing_data()
{
    QTest::addColumn<QString>("holder");
    // Taken as every command takes it, or by Try Specific, whose probe then listens.
    QTest::newRow("taken") << "another command";
    QTest::newRow("a probe listening") << "scan of one port";
}

void PortLeaseTest::heldLineStartsNothing()
{
    QFETCH(QString, holder);
    FinderRig r(unpacedWithRealTicks());
    QVERIFY(r.startUnits({5}));
    SimSync& unit = r.unit(5);
    frmMain& m = r.main();
    m.cmdDefaults_Click(); // a set the unit can hold, for the save
    frmFinder& fi = r.openFinder();
    frmDebug& d = r.f.app->debug();
    d.show();
    // The finder listens on its selected port, so Dump has a line.
    QCOMPARE(r.f.app->serial().CommPort(), int16_t(5));
    QVERIFY(r.f.app->serial().PortOpen());
    unit.clearWireLog();
    const qint64 sentBefore = r.f.app->wireLog().totalAdded();

    const QList<QWidget*> buttons{ctl<QPushButton>(m, "cmdLoadFrom"),
                                  ctl<QPushButton>(m, "cmdSaveTo"),
                                  d.cmdDump,
                                  d.cmdRandFill,
                                  fi.cmdConnect,
                                  fi.cmdStart};
    const QList<QAction*> entries{ctl<QAction>(m, "menuLoadFrom"),
                                  ctl<QAction>(m, "menuSaveTo"),
                                  ctl<QAction>(m, "menuConnect"),
                                  fi.menuConnect,
                                  fi.menuAutoFind,
                                  fi.menuRefreshList};
    const auto enabled = [&] {
        QStringList out;
        for (QWidget* w : buttons)
            if (w->isEnabled())
                out << w->objectName();
        for (QAction* a : entries)
            if (a->isEnabled())
                out << a->objectName();
        return out;
    };
    const QStringList all = enabled();
    QCOMPARE(all.size(), buttons.size() + entries.size());

    const bool probe = holder == "scan of one port";
    if (probe) {
        QTest::mouseClick(fi.cmdConnect, Qt::LeftButton);
        QVERIFY(until(r.probing(5), 5000));
    } else {
        QVERIFY(r.f.app->lease().take(holder));
    }
    QCOMPARE(enabled(), QStringList());
    for (QWidget* w : buttons)
        QTest::mouseClick(w, Qt::LeftButton);
    for (QAction* a : entries)
        a->trigger();
    // What a click that slipped through would run: the handlers themselves. Refused, each
    // ends at once.
    awaited(m.cmdLoadFrom_Click());
    awaited(m.cmdSaveTo_Click());
    awaited(d.cmdDump_Click());
    awaited(d.cmdRandFill_Click());
    awaited(fi.cmdConnect_Click());
    awaited(fi.cmdStart_Click());
    fi.menuRefreshList_Click(); // would close the port
    // Each ended refused: the host sent nothing that the unit could still be receiving.
    QCOMPARE(r.f.app->wireLog().linesSince(sentBefore).filter(QRegularExpression("  > ")),
             QStringList());
    QCOMPARE(unit.framesReceived(), 0);
    QVERIFY(r.f.app->serial().PortOpen() && r.f.app->serial().CommPort() == 5);
    QCOMPARE(r.f.app->lease().holder(), holder);
    QCOMPARE(r.f.app->finder().probe().running(), probe);

    if (probe)
        r.pressCancel();
    else
        r.f.app->lease().giveBack();
    QVERIFY(r.untilIdle());
    QCOMPARE(enabled(), all);
    // A command that ends gives the line back, and every window says so.
    QVERIFY(r.clickToEnd(d.cmdDump));
    QCOMPARE(unit.framesReceived(), 64);
    QVERIFY(r.f.app->lease().isFree());
    QCOMPARE(enabled(), all);
}

void PortLeaseTest::findHandsOverWithoutTheDebugWindow()
{
    FinderRig r(unpacedWithRealTicks());
    QVERIFY(r.startUnits({5}));
    SimSync& unit = r.unit(5);
    frmFinder& fi = r.openFinder();
    frmDebug& d = r.f.app->debug();
    d.show();
    unit.clearWireLog();

    bool debugHiddenDuringLoad = false;
    QString holderDuringLoad;
    Script script;
    script.when(r.probing(5), [&] { unit.pressReset(); });
    r.f.app->cellHook = [&](uint8_t address) {
        if (address != 0x30)
            return;
        // The load after the find still holds the scan's lease.
        debugHiddenDuringLoad = !d.isVisible();
        holderDuringLoad = r.f.app->lease().holder();
        d.cmdDump_Click();
    };
    QVERIFY(r.clickToEnd(fi.cmdConnect));
    r.f.app->cellHook = nullptr;

    QVERIFY(script.finished());
    QVERIFY(debugHiddenDuringLoad);
    QCOMPARE(holderDuringLoad, QStringLiteral("scan of one port"));
    const QStringList expected = QStringList{"ATT", "ATT", "R63", "R62"} + Story::loadFrames();
    QCOMPARE(unit.frames(simsync::Direction::ToUnit), expected);
    QVERIFY(r.main().isVisible() && r.f.app->lease().isFree());
}

CORVANE_TEST_CLASS(PortLeaseTest)
#include "PortLeaseTest.moc"
