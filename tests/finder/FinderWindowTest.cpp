// The finder window and its debug window: the hidden key sequence, ending the
// application, Dump with the port closed and RandFill.

#include "FinderRig.h"
#include "app/HiddenKeys.h"
#include "app/Spinner.h"
#include "app/frmDebug.h"

#include <QComboBox>
#include <QLineEdit>
#include <QScrollBar>

class FinderWindowTest : public QObject
{
    Q_OBJECT
private slots:
    void keySequence_data();
    void keySequence();
    void exitAndCloseBoxEndTheApplication();
    void dumpWithPortClosed();
    void randFillThenLoad();
    void statusShowsItsNewestLineWrapped();
};

void FinderWindowTest::keySequence_data()
{
    QTest::addColumn<QList<int>>("keys");
    QTest::addColumn<bool>("unlocked");
    const int a = HiddenKeys::First, b = HiddenKeys::Second;
    // Which presses complete the sequence: the editor's table; here what the finder does.
    QTest::newRow("once shows") << QList<int>{a, b} << true;
    QTest::newRow("twice hides") << QList<int>{a, b, a, b} << false;
}

void FinderWindowTest::keySequence()
{
    QFETCH(QList<int>, keys);
    QFETCH(bool, unlocked);
    FinderRig r;
    frmFinder& fi = r.openFinder();
    fi.cmbPort->setFocus();
    for (int k : keys) {
        if (k < 32)
            QTest::keyClick(fi.cmbPort, Qt::Key(Qt::Key_A + k - 1), Qt::ControlModifier);
        else
            QTest::keyClick(fi.cmbPort, char(k));
    }
    QCOMPARE(r.main().model().modelChannelUnlocked(), unlocked);
    QCOMPARE(r.f.app->hasDebug() && r.f.app->debug().isVisible(), unlocked);
    // The editor comes back showing the lock as the finder left it.
    QTest::mouseClick(fi.cmdWithout, Qt::LeftButton);
    QCOMPARE(ctl<QLineEdit>(r.main(), "txtModel")->isEnabled(), unlocked);
    QCOMPARE(ctl<Spinner>(r.main(), "scrModel")->isVisible(), unlocked);
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

void FinderWindowTest::dumpWithPortClosed()
{
    FinderRig r;
    frmDebug& d = r.f.app->debug();
    d.show();
    QTest::mouseClick(d.cmdDump, Qt::LeftButton);

    const QStringList lines = d.txtMsg->toPlainText().split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    QCOMPARE(lines.size(), 64);
    for (int i = 0; i < 64; ++i) // every address tried, each failing with the port's text
        QVERIFY2(lines[i].startsWith(QString::number(48 + i, 16).toUpper() + "  ") &&
                     lines[i].size() > 4,
                 qPrintable(lines[i]));
    QVERIFY(r.f.modal.requests.empty());
}

void FinderWindowTest::randFillThenLoad()
{
    FinderRig r;
    QVERIFY(r.startUnits({5}));
    CommContext c = r.f.app->comm();
    QVERIFY(modCorvaneComm::OpenSyncPort(c, 5));
    SimSync& unit = r.unit(5);
    // A fresh application starts its fill bytes from the fixed seed.
    frmDebug& d = r.f.app->debug();
    d.show();
    QTest::mouseClick(d.cmdRandFill, Qt::LeftButton);

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
    QTest::mouseClick(ctl<QPushButton>(r.main(), "cmdLoadFrom"), Qt::LeftButton);
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
        modCorvaneComm::AppendFinderStatus(r.portAccess(), QStringLiteral("line %1").arg(i));
    frmFinder& fi = r.openFinder();
    QScrollBar* down = fi.txtFindStatus->verticalScrollBar();
    QTRY_VERIFY(down->maximum() > 0);
    QCOMPARE(down->value(), down->maximum());
    QScrollBar* across = fi.txtFindStatus->horizontalScrollBar();
    modCorvaneComm::AppendFinderStatus(
        r.portAccess(),
        QStringLiteral("Unable to Open COM3 (Permission denied: /dev/ttyS2 belongs to the "
                       "group dialout; sudo usermod -aG dialout $USER, then log in again)"));
    QCOMPARE(down->value(), down->maximum());
    QCOMPARE(across->maximum(), 0);
    QVERIFY(fi.txtFindStatus->cursorRect().bottom() <= fi.txtFindStatus->viewport()->height());
}

#include "FinderWindowTest.moc"
