// Transfers that cannot start or finish: no open port, the line vanishing part-way, and an
// unexpected failure inside a transfer. Each shows one text, leaves the editor's fields as
// they were, gives the commands back and sends nothing more.

#include "TransferRig.h"
#include "support/TestRunner.h"

#include <stdexcept>

using namespace TransferTest;

class FailureTest : public QObject
{
    Q_OBJECT
private slots:
    void transferFails_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<QString>("fault"); // the port closed, the line lost, a throw
        QTest::addColumn<int>("at");        // frames until the loss, or the cell that throws
        QTest::addColumn<QString>("box");   // a problem window, or a message box for a throw
        QTest::addColumn<int>("frames");    // that the unit received
        const QString comm = "! There were communications errors on the serial port or the "
                             "synchronizer is not responding.\n Please try again";
        const auto row = [](const char* name, const char* command, const char* fault, int at,
                            const QString& box, int frames) {
            QTest::newRow(name) << QString(command) << QString(fault) << at << box << frames;
        };
        row("port closed", "load", "closed", 0,
            "Cannot Load! Serial port is not available\nUse Synchronizer > Find Synchronizer", 0);
        // A line that went away adds its own reason (a unit that only falls silent keeps the
        // text alone: tests/demo).
        const QString gone = "\nDevice disappeared from the system (%path was unplugged or closed)";
        row("mid-load", "load", "lost", 2 + 20, "Cannot Load" + comm + gone, 2 + 20);
        row("mid-save", "save", "lost", 2 + 10, "Cannot Save" + comm + gone, 2 + 10);
        row("mid-compare", "save", "lost", 2 + 54 + 2 + 10, "Cannot Compare" + comm + gone, 68);
        row("throw in load", "load", "throw", 14, "program error GetAllFromCorvane", 2 + 14);
        row("throw in save", "save", "throw", 0, "program error SetAllToCorvane", 2);
        row("throw in compare", "save", "throw", 54, "program error CompareAllFromCorvane", 58);
    }
    void transferFails()
    {
        QFETCH(QString, command);
        QFETCH(QString, fault);
        QFETCH(int, at);
        QFETCH(QString, box);
        QFETCH(int, frames);
        Rig rig(fault != "closed");
        QVERIFY(rig.ok);
        box.replace("%path", rig.sim.path());
        frmMain& m = rig.main();
        if (fault == "lost")
            rig.sim.closeAfterFrames(at);
        // Unpaced, a save could write its last cell before the unit drops the line: each
        // cell waits until the unit has taken every frame before it.
        int cell = 0;
        rig.fx.app->cellHook = [&](uint8_t) {
            if (fault == "throw" && cell++ == at)
                throw std::runtime_error("injected");
            rig.sim.waitForFramesReceived(rig.logged(WireLogEntry::Sent).size(), 2000);
        };
        ProgressWatch progress(rig.fx.app->progressWindow());
        // Marks as a load left them. A failed load keeps all of the editor; a save only the
        // fields, as it clears the marks before its first byte.
        ctl<HighlightShape>(m, "shpHiLiteEndTitle")->setFillColor(HighlightColors::Red);
        ctl<HighlightShape>(m, "shpHiLiteEndTitle")->show();
        m.model().marks()[MarkKey::EndTitle].Unreadable = true;
        setControls(m, {"txtComment=before"});
        const QRegularExpression kept(command == "load" ? "" : "^(?!shp|marks)");
        const QStringList before = editorText(m).filter(kept);

        QVERIFY(rig.clickToEnd(command == "load" ? "cmdLoadFrom" : "cmdSaveTo"));
        rig.fx.app->cellHook = nullptr;

        QCOMPARE(editorText(m).filter(kept), before);
        QCOMPARE(fault == "throw" ? rig.messages() : rig.problems, QStringList{box});
        QCOMPARE(rig.fx.modal.requests.size(), size_t(1));
        QVERIFY(!rig.fx.modal.requests.front().exclamation);
        QCOMPARE(cell, fault == "throw" ? at + 1 : 0); // nothing tried again
        // The command has ended: what the host sent is all there is, and the unit takes
        // the last of it in its own time.
        QCOMPARE(rig.logged(WireLogEntry::Sent).size(), frames);
        QVERIFY(rig.sim.waitForFramesReceived(frames, 2000));
        QCOMPARE(rig.sim.framesReceived(), frames);
        QCOMPARE(progress.showings.isEmpty(), fault == "closed");
        QCOMPARE(rig.fx.app->serial().PortOpen(), fault == "throw");
        QVERIFY(ctl<QPushButton>(m, "cmdLoadFrom")->isEnabled() &&
                ctl<QPushButton>(m, "cmdDefaults")->isEnabled() &&
                rig.fx.app->progressWindow().isHidden());
        QVERIFY(!m.model().transferRunning() && m.model().linkedFieldsActive());
        // The wire log tells the text shown; for a loss also its reason, the frame that met
        // it (a read or write that failed, or one that never left) and the command it ended.
        const QStringList events = rig.logged(WireLogEntry::Event);
        QVERIFY2(events.contains((fault == "throw" ? "message shown: " : "problem shown: ") +
                                 QString(box).replace("\n", " / ")),
                 qPrintable(events.join('\n')));
        if (fault != "lost")
            return;
        const QString lost = ": Device disappeared from the system";
        const QString ended = box.section('!', 0, 0).section(' ', 1).toLower();
        const QString frame =
            ended == "save" ? "(W [0-9A-F]{2} failed|not sent)" : "R [0-9A-F]{2} failed";
        QVERIFY2(events.filter(QRegularExpression("^COM5 lost" + lost)).size() == 1 &&
                     events.filter(QRegularExpression('^' + frame + lost)).size() == 1,
                 qPrintable(events.join('\n')));
        QCOMPARE(
            rig.logged(WireLogEntry::Command)
                .filter(QRegularExpression('^' + ended + " ended: communication failed" + lost))
                .size(),
            1);
    }
};

CORVANE_TEST_CLASS(FailureTest)
#include "FailureTest.moc"
