// One command on the line at a time: while a port command runs, every other one is
// disabled in every window, refuses to start even when its handler is called, and the
// unit's wire log shows the first command's frames alone, in their order.

#include "FinderRig.h"
#include "app/frmDebug.h"
#include "transfer/CellMap.h"

#include <QAction>

namespace {

QStringList reads(const QVector<uint8_t>& order)
{
    QStringList out;
    for (uint8_t a : order)
        out << QStringLiteral("R%1").arg(a);
    return out;
}

// The frames a command sends to a unit that answers everything, as the wire log names them.
QStringList framesOf(const QString& command)
{
    if (command == "Dump") {
        QStringList out;
        for (int a = 48; a <= 111; ++a)
            out << QStringLiteral("R%1").arg(a);
        return out;
    }
    if (command == "LOAD")
        return QStringList{"ATT", "ATT"} + reads(loadReadOrder());
    if (command == "SAVE") {
        QStringList out{"ATT", "ATT"};
        for (uint8_t a : saveWriteOrder(false))
            out << QStringLiteral("W%1").arg(a);
        return out + QStringList{"ATT", "ATT"} + reads(compareReadOrder(false));
    }
    return {}; // the scan only listens
}

// Writes are named with their data ("W48 AB"); RandFill's data are random.
QStringList withoutData(QStringList frames)
{
    for (QString& f : frames)
        if (f.startsWith('W'))
            f = f.section(' ', 0, 0);
    return frames;
}

} // namespace

class PortLeaseTest : public QObject
{
    Q_OBJECT
private slots:
    void secondCommandNeverStarts_data();
    void secondCommandNeverStarts();
    void findHandsOverWithoutTheDebugWindow();
};

void PortLeaseTest::secondCommandNeverStarts_data()
{
    QTest::addColumn<QString>("first");
    QTest::addColumn<QString>("second");
    QTest::newRow("Dump then LOAD") << "Dump"
                                    << "LOAD";
    QTest::newRow("Dump then RandFill") << "Dump"
                                        << "RandFill";
    QTest::newRow("RandFill then SAVE") << "RandFill"
                                        << "SAVE";
    QTest::newRow("LOAD then Dump") << "LOAD"
                                    << "Dump";
    QTest::newRow("LOAD then RandFill") << "LOAD"
                                        << "RandFill";
    QTest::newRow("LOAD then SAVE") << "LOAD"
                                    << "SAVE";
    QTest::newRow("SAVE then Dump") << "SAVE"
                                    << "Dump";
    QTest::newRow("SAVE then LOAD") << "SAVE"
                                    << "LOAD";
    QTest::newRow("scan then Dump") << "scan"
                                    << "Dump";
    QTest::newRow("scan then RandFill") << "scan"
                                        << "RandFill";
}

void PortLeaseTest::secondCommandNeverStarts()
{
    QFETCH(QString, first);
    QFETCH(QString, second);
    FinderRig r;
    QVERIFY(r.startUnits({5}));
    SimSync& unit = r.unit(5);
    frmMain& m = r.main();
    m.cmdDefaults_Click(); // a set the unit can hold, for the saves
    frmFinder* fi = nullptr;
    if (first == "scan")
        fi = &r.openFinder(); // the finder lists the ports and leaves the port closed
    CommContext c = r.f.app->comm();
    if (first != "scan")
        QVERIFY(modCorvaneComm::OpenSyncPort(c, 5));
    frmDebug& d = r.f.app->debug();
    d.show();
    unit.clearWireLog();

    // The buttons and menu entries that start port commands, in every window.
    QList<QWidget*> buttons{ctl<QPushButton>(m, "cmdLoadFrom"), ctl<QPushButton>(m, "cmdSaveTo"),
                            d.cmdDump, d.cmdRandFill};
    QList<QAction*> entries{ctl<QAction>(m, "menuLoadFrom"), ctl<QAction>(m, "menuSaveTo"),
                            ctl<QAction>(m, "menuConnect")};
    if (fi) {
        buttons << fi->cmdConnect << fi->cmdStart;
        entries << fi->menuConnect << fi->menuAutoFind << fi->menuRefreshList;
    }
    const auto enabledCount = [&] {
        int n = 0;
        for (QWidget* w : buttons)
            n += w->isEnabled();
        for (QAction* a : entries)
            n += a->isEnabled();
        return n;
    };
    QCOMPARE(enabledCount(), buttons.size() + entries.size());

    const auto start = [&](const QString& command) {
        if (command == "Dump")
            QTest::mouseClick(d.cmdDump, Qt::LeftButton);
        else if (command == "RandFill")
            QTest::mouseClick(d.cmdRandFill, Qt::LeftButton);
        else if (command == "LOAD")
            QTest::mouseClick(ctl<QPushButton>(m, "cmdLoadFrom"), Qt::LeftButton);
        else if (command == "SAVE")
            QTest::mouseClick(ctl<QPushButton>(m, "cmdSaveTo"), Qt::LeftButton);
        else
            QTest::mouseClick(fi->cmdConnect, Qt::LeftButton);
    };
    // What a click that slipped through would run: the handler itself.
    const auto callHandler = [&](const QString& command) {
        if (command == "Dump")
            d.cmdDump_Click();
        else if (command == "RandFill")
            d.cmdRandFill_Click();
        else if (command == "LOAD")
            m.cmdLoadFrom_Click();
        else if (command == "SAVE")
            m.cmdSaveTo_Click();
    };

    int enabledMeanwhile = -1;
    QString holderMeanwhile;
    int framesBefore = -1, framesAfter = -1;
    Script script;
    script.when([&] { return first == "scan" ? r.probing(5)() : unit.framesReceived() >= 4; },
                [&] {
                    enabledMeanwhile = enabledCount();
                    holderMeanwhile = r.f.app->lease().holder();
                    framesBefore = unit.framesReceived();
                    start(second);
                    for (QAction* a : entries)
                        a->trigger();
                    callHandler(second);
                    framesAfter = unit.framesReceived();
                });
    if (first == "scan")
        script.after(300, [&] { r.pressCancel(); });
    start(first);

    QVERIFY(script.finished());
    QCOMPARE(enabledMeanwhile, 0);
    QVERIFY(!holderMeanwhile.isEmpty());
    // Nothing of the second command went out inside the first one's wait.
    QCOMPARE(framesAfter, framesBefore);
    const QStringList sent = unit.frames(simsync::Direction::ToUnit);
    if (first == "RandFill") {
        QStringList expected;
        for (int a = 48; a <= 110; ++a)
            expected << QStringLiteral("W%1").arg(a);
        QCOMPARE(withoutData(sent), expected);
    } else {
        QCOMPARE(withoutData(sent), withoutData(framesOf(first)));
    }
    // The line is free again, and every window says so.
    QVERIFY(r.f.app->lease().isFree());
    QCOMPARE(enabledCount(), buttons.size() + entries.size());
}

void PortLeaseTest::findHandsOverWithoutTheDebugWindow()
{
    FinderRig r;
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
    script.when([&] { return unit.framesReceived() >= 8; },
                [&] {
                    // The load after the find still holds the scan's lease.
                    debugHiddenDuringLoad = !d.isVisible();
                    holderDuringLoad = r.f.app->lease().holder();
                    d.cmdDump_Click();
                });
    QTest::mouseClick(fi.cmdConnect, Qt::LeftButton);

    QVERIFY(script.finished());
    QVERIFY(debugHiddenDuringLoad);
    QCOMPARE(holderDuringLoad, QStringLiteral("scan of one port"));
    QStringList expected = QStringList{"ATT", "ATT", "R63", "R62"} + framesOf("LOAD");
    QCOMPARE(unit.frames(simsync::Direction::ToUnit), expected);
    QVERIFY(r.main().isVisible() && r.f.app->lease().isFree());
}

CORVANE_TEST_CLASS(PortLeaseTest)
#include "PortLeaseTest.moc"
