// The finder window and its debug window: the hidden key sequence, ending the
// application (also while a command waits on the line), Dump with the port closed and
// RandFill.

#include "FinderRig.h"
#include "app/HiddenKeys.h"
#include "app/Spinner.h"
#include "app/frmDebug.h"
#include "support/WindowStory.h"

#include <QComboBox>
#include <QLineEdit>
#include <QScrollBar>

class FinderWindowTest : public QObject
{
    Q_OBJECT
private slots:
    void keySequenceOpensTheDebugWindow();
    void exitAndCloseBoxEndTheApplication();
    void exitWhileWaiting_data();
    void exitWhileWaiting();
    void dumpWithPortClosed();
    void randFillThenLoad();
    void statusShowsItsNewestLineWrapped();
    void portMapNumbersThePorts();
};

// CORVANE_PORT_MAP as start-up takes it: two units on COM3 and COM7 and a device that is
// not there on COM9; the finder lists the two with their devices and says why COM9 is
// missing, and nothing else of the machine (nor the story's own COM5). The unit found on
// COM3 is named in the editor's status bar, with the numbers each later load reads and a
// save with model and channel unlocked writes; the editor's caption stays. A --port for
// COM7 stands in front of the map's device.
void FinderWindowTest::portMapNumbersThePorts()
{
    WindowStory s(false);
    QVERIFY2(s.tell({"keep title",
                     "lblUnit=Not connected to a synchronizer",
                     "unit2 3F=31 3E=04",
                     "unit3 3F=55",
                     "portmap 3=%path2,7=%path3,9=%dir/ttyUSB9",
                     "portmap=ok",
                     "open finder",
                     "ports=COM3 %path2|COM7 %path3",
                     "finder~|  %dir/ttyUSB9: no such device (CORVANE_PORT_MAP names it for COM9)|",
                     "unit2 presses RESET",
                     "await finder~RESET heard on COM3",
                     "press cmdConnect",
                     "lblUnit=COM3 (%path2): model 31, channel 4",
                     "title==kept:title",
                     "unit2 3F=32",
                     "click cmdLoadFrom",
                     "lblUnit=COM3 (%path2): model 32, channel 4",
                     "unlock",
                     "set scrModel=12|scrChannel=3",
                     "click cmdSaveTo",
                     "lblUnit=COM3 (%path2): model 12, channel 3",
                     "cell:3F@2=12",
                     "unit2 silent",
                     "forget boxes",
                     "click cmdLoadFrom",
                     "lblUnit=COM3 (%path2): model and channel not read",
                     "title==kept:title",
                     "portmap 3=%path2,7=%path3 --port 7=tcp://127.0.0.1:9",
                     "portmap=ok"}),
             qPrintable(s.failure));
    QCOMPARE(s.fx.app->ports.devicePath(7), QStringLiteral("tcp://127.0.0.1:9"));
    QCOMPARE(s.fx.app->ports.devicePath(3), s.unit(2).path());
    // The accessible name a screen reader speaks for the status bar's line.
    QCOMPARE(ctl<QLabel>(s.main(), "lblUnit")->accessibleName(), QStringLiteral("Port and unit"));
    QVERIFY(s.tell({"portmap 3=%path2,x", "portmap=corvane: CORVANE_PORT_MAP: \"x\" is not "
                                          "N=DEVICE with N from 1 to 16"}));
    QCOMPARE(s.fx.app->ports.devicePath(3), s.unit(2).path()); // the map before stays
}

// Which presses complete the sequence: the editor's table. Typed in the finder, it shows
// the debug window, and the editor comes back showing the lock it left.
void FinderWindowTest::keySequenceOpensTheDebugWindow()
{
    FinderRig r;
    frmFinder& fi = r.openFinder();
    fi.cmbPort->setFocus();
    for (int k : {HiddenKeys::First, HiddenKeys::Second})
        QTest::keyClick(fi.cmbPort, Qt::Key(Qt::Key_A + k - 1), Qt::ControlModifier);
    QVERIFY(r.main().model().modelChannelUnlocked());
    QVERIFY(r.f.app->hasDebug() && r.f.app->debug().isVisible());
    QTest::mouseClick(fi.cmdWithout, Qt::LeftButton);
    QVERIFY(ctl<QLineEdit>(r.main(), "txtModel")->isEnabled());
    QVERIFY(ctl<Spinner>(r.main(), "scrModel")->isVisible());
}

void FinderWindowTest::exitAndCloseBoxEndTheApplication()
{
    FinderRig r;
    frmFinder& fi = r.openFinder();
    QTest::mouseClick(fi.cmdExit, Qt::LeftButton);
    QCOMPARE(r.f.endRequests, 1);
    // The editor is hidden: closing the finder must not leave a process without windows.
    fi.close();
    QCOMPARE(r.f.endRequests, 2);
}

// Exit while a command waits on the line ends the application as main() does: the event loop
// quits, then the application object goes with its windows. The command never resumes: no
// frame reaches the unit afterwards, and nothing runs against what is gone.
void FinderWindowTest::exitWhileWaiting_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<QStringList>("framesAtExit"); // what the unit had received by then
    const QStringList attention{"ATT", "ATT"};
    QTest::newRow("load in its settling pause") << "pause" << QStringList();
    QTest::newRow("load awaiting a reply") << "reply" << attention + QStringList{"R63"};
    QTest::newRow("probe listening") << "probe" << QStringList();
    QTest::newRow("load after the find, awaiting a reply")
        << "found" << attention + QStringList{"R63", "R62"} + attention + QStringList{"R63"};
}

void FinderWindowTest::exitWhileWaiting()
{
    QFETCH(QString, command);
    QFETCH(QStringList, framesAtExit);
    LineTiming timing = unpacedWithRealTicks();
    timing.loadSettleMs = 500;
    timing.replyMs = 1000; // a reply awaited long enough to press Exit meanwhile
    FinderRig r(timing);
    QVERIFY(r.startUnits({5}));
    SimSync& unit = r.unit(5);
    const auto frames = [&unit] { return unit.frames(simsync::Direction::ToUnit); };
    QWidget* exit = ctl<QPushButton>(r.main(), "cmdExit");
    std::function<bool()> running = [&r] { return r.main().model().transferRunning(); };
    if (command == "pause" || command == "reply") {
        CommContext c = r.f.app->comm();
        QCOMPARE(awaited(modCorvaneComm::OpenSyncPort(c, 5)).number, 0);
        if (command == "reply")
            unit.setStandingFault(simsync::Fault::Silence);
        QTest::mouseClick(ctl<QPushButton>(r.main(), "cmdLoadFrom"), Qt::LeftButton);
    } else {
        frmFinder& fi = r.openFinder();
        QTest::mouseClick(fi.cmdConnect, Qt::LeftButton);
        running = r.probing(5);
        if (command == "probe") {
            exit = fi.cmdExit;
        } else {
            // The unit falls silent when the load after the find asks for its first cell.
            r.f.app->cellHook = [&unit](uint8_t) {
                unit.setStandingFault(simsync::Fault::Silence);
            };
            QVERIFY(until(running, 5000));
            unit.pressReset();
            running = [&r] { return r.main().model().transferRunning(); };
        }
    }
    QVERIFY(until([&] { return running() && frames() == framesAtExit; }, 5000));

    // Exit pressed from the application's event loop; the application's own end, not the
    // fixture's count.
    r.f.app->endHandler = nullptr;
    QStringList atExit;
    qint64 loggedAtExit = -1;
    {
        QObject context;
        QTimer::singleShot(0, &context, [&] {
            atExit = frames();
            loggedAtExit = r.f.app->wireLog().totalAdded();
            QTest::mouseClick(exit, Qt::LeftButton);
        });
        QTimer::singleShot(10000, &context, [] { QCoreApplication::exit(1); }); // Exit failed
        QCOMPARE(QApplication::exec(), 0);
    }
    QCOMPARE(atExit, framesAtExit);
    // Until the loop ended, the port's closing was all that happened on the line.
    const QStringList afterExit = r.f.app->wireLog().linesSince(loggedAtExit);
    QVERIFY2(afterExit.size() == 1 && afterExit[0].contains("- COM5 closed"),
             qPrintable(afterExit.join('\n')));
    r.f.modal.detach(); // it answers this application's boxes: it lets go first
    r.f.app.reset();
    // Past every pause and limit the command would have waited out; a RESET that no probe
    // hears.
    unit.pressReset();
    QTest::qWait(timing.replyMs + timing.loadSettleMs);
    QCOMPARE(frames(), framesAtExit);
}

void FinderWindowTest::dumpWithPortClosed()
{
    FinderRig r;
    frmDebug& d = r.f.app->debug();
    d.show();
    QVERIFY(r.clickToEnd(d.cmdDump));

    // Every address tried, each failing with the closed port's text.
    QStringList expected;
    for (int address = 0x30; address <= 0x6F; ++address)
        expected << QString::number(address, 16).toUpper() +
                        "  Operation valid only when the port is open";
    QCOMPARE(d.txtMsg->toPlainText().split(QLatin1Char('\n'), Qt::SkipEmptyParts), expected);
    QVERIFY(r.f.modal.requests.empty());
}

void FinderWindowTest::randFillThenLoad()
{
    FinderRig r;
    QVERIFY(r.startUnits({5}));
    CommContext c = r.f.app->comm();
    QCOMPARE(awaited(modCorvaneComm::OpenSyncPort(c, 5)).number, 0);
    SimSync& unit = r.unit(5);
    // A fresh application starts its fill bytes from the fixed seed.
    frmDebug& d = r.f.app->debug();
    d.show();
    QVERIFY(r.clickToEnd(d.cmdRandFill));

    QVERIFY(unit.waitForFramesReceived(63, 5000));
    // Every cell but the last, in order, with the seed's bytes.
    const QStringList frames = unit.frames(simsync::Direction::ToUnit);
    for (int i = 0; i < 63; ++i)
        QVERIFY(frames[i].startsWith(QStringLiteral("W%1 ").arg(48 + i)));
    QCOMPARE(frames.mid(0, 3), (QStringList{"W48 \\xd0#", "W49 \\xe7\\xd5", "W50  \\xf7"}));
    QCOMPARE(frames.mid(14, 2), (QStringList{"W62 \\xccL", "W63 $\\x01"}));
    QCOMPARE(unit.cell(48), (std::array<uint8_t, 2>{0xd0, '#'}));
    QVERIFY(r.f.modal.requests.empty());

    // The load reads back the random model and channel: both unreadable, both keep their
    // defaults.
    QVERIFY(r.clickToEnd(ctl<QPushButton>(r.main(), "cmdLoadFrom")));
    QCOMPARE(ctl<QLineEdit>(r.main(), "txtModel")->text(), QString("22"));
    QCOMPARE(ctl<QLineEdit>(r.main(), "txtChannel")->text(), QString("1"));
}

CORVANE_TEST_CLASS(FinderWindowTest)
// The newest status line is in view when the finder first shows and after every line;
// a long line wraps at the box's edge instead of running off it.
void FinderWindowTest::statusShowsItsNewestLineWrapped()
{
    FinderRig r;
    for (int i = 0; i < 40; ++i)
        r.f.app->finderStatus.append(QStringLiteral("line %1").arg(i));
    frmFinder& fi = r.openFinder();
    QScrollBar* down = fi.txtFindStatus->verticalScrollBar();
    QTRY_VERIFY(down->maximum() > 0);
    QCOMPARE(down->value(), down->maximum());
    QScrollBar* across = fi.txtFindStatus->horizontalScrollBar();
    r.f.app->finderStatus.append(
        QStringLiteral("Unable to Open COM3 (Permission denied: /dev/ttyS2 belongs to the "
                       "group dialout; sudo usermod -aG dialout $USER, then log in again)"));
    QCOMPARE(down->value(), down->maximum());
    QCOMPARE(across->maximum(), 0);
    QVERIFY(fi.txtFindStatus->cursorRect().bottom() <= fi.txtFindStatus->viewport()->height());
}

#include "FinderWindowTest.moc"
