// Transfers that cannot start or finish: no open port, the line vanishing part-way, and an
// unexpected failure inside a transfer. Each shows one text, leaves the editor's fields as
// they were and gives the commands back.

#include "TransferRig.h"
#include "flows/modGetSetAll.h"
#include "support/TestRunner.h"

#include <QPushButton>
#include <stdexcept>

using namespace TransferTest;

namespace {
const QString CommText = "There were communications errors on the serial port or the "
                         "synchronizer is not responding.\r\n Please try again";

// Marks the editor as a load left it and returns what the failed transfer must keep: all
// of it for a load, the fields only for a save (which clears marks before its first byte).
QStringList markAndRecord(Rig& rig, const QString& command)
{
    frmMain& m = rig.main();
    ctl<QLineEdit>(m, "txtComment")->setText("before");
    ctl<HighlightShape>(m, "shpHiLiteEndTitle")->setFillColor(HighlightColors::Red);
    ctl<HighlightShape>(m, "shpHiLiteEndTitle")->show();
    rig.main().model().marks()[MarkKey::EndTitle].Unreadable = true;
    QStringList out = wholeEditor(m);
    if (command == "save")
        out = out.filter(QRegularExpression("^(?!shpHiLite|mark)"));
    QTest::mouseClick(command == "load" ? ctl<QPushButton>(m, "cmdLoadFrom")
                                        : ctl<QPushButton>(m, "cmdSaveTo"),
                      Qt::LeftButton);
    return out;
}

QStringList keptOf(Rig& rig, const QString& command)
{
    const QStringList now = wholeEditor(rig.main());
    return command == "load" ? now : now.filter(QRegularExpression("^(?!shpHiLite|mark)"));
}
} // namespace

class FailureTest : public QObject
{
    Q_OBJECT
private slots:
    void lineVanishes_data();
    void lineVanishes();
    void programErrorShownOnceAndEnds_data();
    void programErrorShownOnceAndEnds();
};

void FailureTest::lineVanishes_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<int>("framesBeforeLoss"); // -1: the port was never opened
    QTest::addColumn<QString>("problem");
    QTest::addColumn<int>("writes");
    QTest::newRow("port closed") << "load" << -1
                                 << "Cannot Load! Serial port is not available\r\n"
                                    "Use Synchronizer > Find Synchronizer"
                                 << 0;
    QTest::newRow("mid-load") << "load" << 2 + 20 << "Cannot Load! " + CommText << 0;
    QTest::newRow("mid-save") << "save" << 2 + 10 << "Cannot Save! " + CommText << 10;
    QTest::newRow("mid-compare") << "save" << 2 + 54 + 2 + 10 << "Cannot Compare! " + CommText
                                 << 54;
}

void FailureTest::lineVanishes()
{
    QFETCH(QString, command);
    QFETCH(int, framesBeforeLoss);
    QFETCH(QString, problem);
    QFETCH(int, writes);
    Rig rig(framesBeforeLoss >= 0);
    QVERIFY(rig.ok);
    if (framesBeforeLoss >= 0)
        rig.sim.closeAfterFrames(framesBeforeLoss);
    ProgressWatch progress(rig.fx.app->progressWindow());

    const QStringList kept = markAndRecord(rig, command);

    QCOMPARE(rig.problems, QStringList{asShown(problem)});
    QVERIFY(rig.messages().isEmpty());
    QCOMPARE(rig.framesStartingWith("W").size(), writes);
    QCOMPARE(progress.showings.isEmpty(), framesBeforeLoss < 0);
    QCOMPARE(keptOf(rig, command), kept);
    QVERIFY(!rig.fx.app->serial().PortOpen());
    QVERIFY(rig.fx.app->progressWindow().isHidden());
    QVERIFY(ctl<QPushButton>(rig.main(), "cmdLoadFrom")->isEnabled() &&
            ctl<QPushButton>(rig.main(), "cmdDefaults")->isEnabled());
    QVERIFY(!rig.main().model().transferRunning());
}

void FailureTest::programErrorShownOnceAndEnds_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<int>("failingCell"); // the how-many-th cell of the command, from 0
    QTest::addColumn<QString>("box");
    QTest::addColumn<int>("framesSent");
    QTest::newRow("load") << "load" << 14 << "program error GetAllFromCorvane" << 2 + 14;
    QTest::newRow("save") << "save" << 0 << "program error SetAllToCorvane" << 2;
    QTest::newRow("compare") << "save" << 54 << "program error CompareAllFromCorvane" << 2 + 54 + 2;
}

void FailureTest::programErrorShownOnceAndEnds()
{
    QFETCH(QString, command);
    QFETCH(int, failingCell);
    QFETCH(QString, box);
    QFETCH(int, framesSent);
    Rig rig;
    QVERIFY(rig.ok);
    int cell = 0;
    rig.fx.app->cellHook = ([&](uint8_t) {
        if (cell++ == failingCell)
            throw std::runtime_error("injected");
    });

    const QStringList kept = markAndRecord(rig, command);
    rig.fx.app->cellHook = nullptr;

    QCOMPARE(rig.messages(), QStringList{box});
    QVERIFY(!rig.fx.modal.requests.front().exclamation && rig.problems.isEmpty());
    QCOMPARE(cell, failingCell + 1); // nothing tried again
    // The unit takes the last frames in its own time; give it the time, then no more come.
    QVERIFY(rig.sim.waitForFramesReceived(framesSent, 2000));
    QTest::qWait(200);
    QCOMPARE(rig.sim.framesReceived(), framesSent);
    QCOMPARE(keptOf(rig, command), kept);
    QVERIFY(rig.main().model().linkedFieldsActive() && !rig.main().model().transferRunning());
    QVERIFY(rig.fx.app->progressWindow().isHidden() &&
            ctl<QPushButton>(rig.main(), "cmdLoadFrom")->isEnabled());
    QVERIFY(rig.fx.app->serial().PortOpen());
}

CORVANE_TEST_CLASS(FailureTest)
#include "FailureTest.moc"
