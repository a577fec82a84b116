// Transfers that cannot finish: the line vanishing part-way, and an unexpected failure
// inside a transfer. Each shows one text, leaves the editor's fields as they were and
// gives the commands back.

#include "EditorState.h"
#include "TransferRig.h"
#include "support/TestRunner.h"
#include "transfer/flows/modGetSetAll.h"

#include <QPushButton>
#include <stdexcept>

using namespace TransferTest;

namespace {
const QString CommText = "There were communications errors on the serial port or the "
                         "synchronizer is not responding.\r\n Please try again";

// The editor as a load left it: a value and a mark the failed transfer must not touch.
void markSomething(Rig& rig)
{
    frmMain& m = rig.main();
    m.txtComment->setText("before");
    m.shpHiLiteEndTitle->setFillColor(HighlightColors::Red);
    m.shpHiLiteEndTitle->show();
    rig.g().marks[MarkKey::EndTitle].Unreadable = true;
}

void click(frmMain& m, const QString& command)
{
    QTest::mouseClick(command == "load" ? m.cmdLoadFrom : m.cmdSaveTo, Qt::LeftButton);
}

// Fields only: a save clears the marks before its first byte.
QStringList fieldsOf(frmMain& m)
{
    QStringList out;
    for (const QString& line : wholeEditor(m))
        if (!line.startsWith("shpHiLite") && !line.startsWith("mark"))
            out << line;
    return out;
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
    QTest::addColumn<int>("framesBeforeLoss");
    QTest::addColumn<QString>("problem");
    QTest::addColumn<int>("writes");

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
    Rig rig;
    QVERIFY(rig.open());
    frmMain& m = rig.main();
    markSomething(rig);
    const QStringList whole = wholeEditor(m);
    const QStringList fields = fieldsOf(m);
    rig.sim.closeAfterFrames(framesBeforeLoss);

    click(m, command);

    QCOMPARE(rig.problems, QStringList{asShown(problem)});
    QVERIFY(rig.messages().isEmpty());
    QCOMPARE(rig.framesStartingWith("W").size(), writes);
    if (command == "load")
        QCOMPARE(wholeEditor(m), whole);
    else
        QCOMPARE(fieldsOf(m), fields);
    QVERIFY(!m.MSComm1->PortOpen());
    QVERIFY(rig.fx.app->progress().isHidden());
    QVERIFY(m.cmdLoadFrom->isEnabled() && m.cmdDefaults->isEnabled());
    QVERIFY(!rig.g().TransferRunning);
}

void FailureTest::programErrorShownOnceAndEnds_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<int>("failingCell"); // the how-many-th cell of the command, from 0
    QTest::addColumn<QString>("box");
    QTest::addColumn<int>("framesSent");

    // A load fails before its 15th request (0x3B); a save before its first write; the
    // compare before its first read.
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
    QVERIFY(rig.open());
    frmMain& m = rig.main();
    markSomething(rig);
    const QStringList whole = wholeEditor(m);
    const QStringList fields = fieldsOf(m);
    int cell = 0;
    modGetSetAll::setCellHook([&](uint8_t) {
        if (cell++ == failingCell)
            throw std::runtime_error("injected");
    });

    click(m, command);
    modGetSetAll::setCellHook({});

    QCOMPARE(rig.messages(), QStringList{box});
    QVERIFY(!rig.fx.modal.requests.front().exclamation);
    QVERIFY(rig.problems.isEmpty());
    QCOMPARE(cell, failingCell + 1); // nothing tried again
    // The unit takes the last frames in its own time; give it the time, then no more come.
    QVERIFY(rig.sim.waitForFramesReceived(framesSent, 2000));
    QTest::qWait(200);
    QCOMPARE(rig.sim.framesReceived(), framesSent);
    if (command == "load")
        QCOMPARE(wholeEditor(m), whole);
    else
        QCOMPARE(fieldsOf(m), fields);
    QVERIFY(rig.g().LinkedFieldsActive);
    QVERIFY(rig.fx.app->progress().isHidden());
    QVERIFY(m.cmdLoadFrom->isEnabled() && !rig.g().TransferRunning);
    QVERIFY(m.MSComm1->PortOpen());
}

CORVANE_TEST_CLASS(FailureTest)
#include "FailureTest.moc"
