// The finder window itself: what it shows when it loads, its menus, the way to and from
// the editor, the hidden key sequence and ending the application.

#include "FinderRig.h"
#include "app/HiddenKeys.h"
#include "app/Spinner.h"
#include "app/frmDebug.h"
#include "support/TestRunner.h"

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <QRadioButton>
#include <QScrollBar>

namespace {
const QString Ready = QStringLiteral("Synchronizer Finder -- Ready");
const QString Separator(33, QLatin1Char('='));

// Types Ctrl+letter for a control character, else the character itself.
void typeKeys(QWidget* w, const QList<int>& keys)
{
    for (int k : keys) {
        if (k < 32)
            QTest::keyClick(w, Qt::Key(Qt::Key_A + k - 1), Qt::ControlModifier);
        else
            QTest::keyClick(w, char(k));
    }
}
} // namespace

class FinderWindowTest : public QObject
{
    Q_OBJECT
private slots:
    void applicationStartsWithTheEditor();
    void loadListsPortsAndIsReady();
    void controlsAndMenus();
    void backFromTheEditorClosesThePort();
    void workWithoutSynchronizer_data();
    void workWithoutSynchronizer();
    void keySequence_data();
    void keySequence();
    void keySequenceArmedInTheEditor();
    void debugWindowClosedByItsBox();
    void exitAndCloseBoxEndTheApplication();
    void refreshListsAgain();
};

void FinderWindowTest::applicationStartsWithTheEditor()
{
    FinderRig r;
    QVERIFY(r.main().isVisible());
    QVERIFY(!r.f.app->hasFinder());
    QVERIFY(r.g().finderStatusBacklog.isEmpty()); // nothing listed before the finder opens
}

void FinderWindowTest::loadListsPortsAndIsReady()
{
    FinderRig r;
    QVERIFY(r.startUnits({2, 5}, false, {{3, "/nonexistent/ttyQ"}}));
    // Unlocked in the editor before the finder first loads.
    r.g().ModelChannelUnlocked = true;
    r.main().ShowModelChannelUnlocked(true);

    frmFinder& fi = r.openFinder();
    QVERIFY(fi.isVisible());
    QVERIFY(!r.main().isVisible());
    QCOMPARE(fi.windowTitle(), QStringLiteral("Corvane 2.0.8(beta) - Find Synchronizer"));
    QCOMPARE(r.statusLines(),
             (QStringList{"", "", "Looking for Serial Ports", "  Com2 is possible",
                          "  Com5 is possible", "", Ready, "", "", Separator, ""}));
    QCOMPARE(fi.cmbPort->count(), 2);
    QCOMPARE(fi.cmbPort->currentIndex(), 0);
    QCOMPARE(fi.cmbPort->itemText(1), QStringLiteral("COM5"));
    QCOMPARE(fi.cmbPort->itemData(1).toInt(), 5);
    QVERIFY(fi.cmbPort->itemData(1, Qt::ToolTipRole).toString().contains(r.unit(5).path()));
    QVERIFY(r.g().PortPresent[2] && r.g().PortPresent[5] && !r.g().PortPresent[3]);
    QVERIFY(!r.main().MSComm1->PortOpen());
    // The load locks model and channel, and the hidden editor follows.
    QVERIFY(!r.g().ModelChannelUnlocked);
    QVERIFY(!r.main().txtModel->isEnabled());
    QVERIFY(!r.g().Busy && !r.g().DebugArmed);
    QVERIFY(r.g().finderStatusBacklog.isEmpty());
}

void FinderWindowTest::controlsAndMenus()
{
    FinderRig r;
    frmFinder& fi = r.openFinder();
    const QList<std::pair<QString, QString>> texts = {
        {"lblFinderTop", "Press RESET on the synchronizer"},
        {"Label1", "Then press one of the buttons below"},
        {"cmdConnect", "Try Specific Serial Port"},
        {"cmdStart", "Try All serial ports"},
        {"cmdWithout", "Work Without Synchronizer"},
        {"cmdExit", "Exit"},
        {"lblFinderProgress", "Status"}};
    for (const auto& [name, text] : texts) {
        QWidget* w = fi.findChild<QWidget*>(name);
        QVERIFY2(w && w->isVisible(), qPrintable(name));
        const QString actual = qobject_cast<QLabel*>(w) ? qobject_cast<QLabel*>(w)->text()
                                                        : qobject_cast<QPushButton*>(w)->text();
        QCOMPARE(actual, text);
    }
    QVERIFY(fi.txtFindStatus->verticalScrollBar()->isVisible());

    QStringList seen;
    for (QAction* top : fi.menuBar()->actions()) {
        seen << top->menu()->objectName() + "=" + top->text();
        for (QAction* a : top->menu()->actions())
            seen << a->objectName() + "=" + (a->isSeparator() ? "-" : a->text());
    }
    QCOMPARE(seen, (QStringList{"menuFile=File", "menuExit=Exit", "menuSynchro=Find Synchronizer",
                                "menuConnect=Try Specific Serial Port",
                                "menuAutoFind=Try All Serial Ports",
                                "menuWithout=Work Without Synchronizer", "separator1=-",
                                "menuRefreshList=Refresh Serial Port List", "menuHelp=Help",
                                "menuAbout=About"}));
}

void FinderWindowTest::backFromTheEditorClosesThePort()
{
    FinderRig r;
    QVERIFY(r.startUnits({4}, false));
    frmFinder& fi = r.openFinder();
    QTest::mouseClick(fi.cmdWithout, Qt::LeftButton);
    CommContext c = r.f.app->comm();
    QVERIFY(modCorvaneComm::OpenSyncPort(c, 4));
    const int before = r.statusLines().size();

    r.main().menuConnect->trigger();

    QVERIFY(!r.main().MSComm1->PortOpen());
    QVERIFY(fi.isVisible() && !r.main().isVisible());
    // Only the separator: the list is not made again.
    QCOMPARE(r.statusLines().mid(before), (QStringList{"", Separator, ""}));
}

void FinderWindowTest::workWithoutSynchronizer_data()
{
    QTest::addColumn<bool>("foundBefore");
    QTest::addColumn<bool>("viaMenu");
    QTest::newRow("never connected, button") << false << false;
    QTest::newRow("connected earlier, menu") << true << true;
}

void FinderWindowTest::workWithoutSynchronizer()
{
    QFETCH(bool, foundBefore);
    QFETCH(bool, viaMenu);
    FinderRig r;
    frmFinder& fi = r.openFinder();
    r.main().ShowConnected(foundBefore);
    r.main().txtComment->setText("kept?");
    r.main().scrStartTitle->setValueNotify(40);

    if (viaMenu)
        fi.menuWithout->trigger();
    else
        QTest::mouseClick(fi.cmdWithout, Qt::LeftButton);

    QVERIFY(!fi.isVisible());
    QVERIFY(r.main().isVisible());
    // The defaults are in the editor; the indicator is as it was.
    QCOMPARE(r.main().txtComment->text(), QString());
    QCOMPARE(r.main().scrStartTitle->value(), 1);
    QCOMPARE(r.main().txtModel->text(), QStringLiteral("22"));
    QVERIFY(r.main().optStartChapter->isChecked());
    QCOMPARE(r.main().imgSync->isVisible(), foundBefore);
    QCOMPARE(r.main().imgNoSync->isVisible(), !foundBefore);
}

void FinderWindowTest::keySequence_data()
{
    QTest::addColumn<QList<int>>("keys");
    QTest::addColumn<bool>("unlocked");
    QTest::addColumn<bool>("toggled");
    const int a = HiddenKeys::First, b = HiddenKeys::Second;
    QTest::newRow("once shows") << QList<int>{a, b} << true << true;
    QTest::newRow("twice hides") << QList<int>{a, b, a, b} << false << true;
    QTest::newRow("three times shows") << QList<int>{a, b, a, b, a, b} << true << true;
    QTest::newRow("other key between") << QList<int>{a, 'x', b} << false << false;
    QTest::newRow("first key twice") << QList<int>{a, a, b} << false << false;
    QTest::newRow("second key alone") << QList<int>{b} << false << false;
}

void FinderWindowTest::keySequence()
{
    QFETCH(QList<int>, keys);
    QFETCH(bool, unlocked);
    QFETCH(bool, toggled);
    FinderRig r;
    frmFinder& fi = r.openFinder();
    r.g().ModelChannelMarked = true;
    fi.cmbPort->setFocus();
    typeKeys(fi.cmbPort, keys);

    QCOMPARE(r.g().ModelChannelUnlocked, unlocked);
    QCOMPARE(r.f.app->hasDebug() && r.f.app->debug().isVisible(), unlocked);
    if (r.f.app->hasDebug())
        QCOMPARE(r.f.app->debug().windowTitle(), QStringLiteral("Corvane 2.0 Debug"));
    QVERIFY(!r.g().DebugArmed);
    // Like the editor's sequence, a toggle forgets that a load unlocked them.
    QCOMPARE(r.g().ModelChannelMarked, !toggled);

    // The editor comes back showing the lock as the finder left it.
    QTest::mouseClick(fi.cmdWithout, Qt::LeftButton);
    QCOMPARE(r.main().txtModel->isEnabled(), unlocked);
    QCOMPARE(r.main().txtChannel->isEnabled(), unlocked);
    QCOMPARE(r.main().scrModel->isVisible(), unlocked);
    QCOMPARE(r.main().scrChannel->isVisible(), unlocked);
}

void FinderWindowTest::keySequenceArmedInTheEditor()
{
    // The first key typed in the editor and the second in the finder make one sequence.
    FinderRig r;
    frmFinder& fi = r.openFinder();
    QTest::mouseClick(fi.cmdWithout, Qt::LeftButton);
    FinderRig::activate(r.main());
    r.main().txtComment->setFocus();
    typeKeys(r.main().txtComment, {HiddenKeys::First});
    QVERIFY(r.g().DebugArmed);
    r.main().menuConnect->trigger();
    QVERIFY(fi.isVisible());
    FinderRig::activate(fi);
    fi.cmbPort->setFocus();
    typeKeys(fi.cmbPort, {HiddenKeys::Second});
    QVERIFY(r.g().ModelChannelUnlocked);
    QVERIFY(r.f.app->hasDebug() && r.f.app->debug().isVisible());
}

void FinderWindowTest::debugWindowClosedByItsBox()
{
    FinderRig r;
    frmFinder& fi = r.openFinder();
    fi.cmbPort->setFocus();
    typeKeys(fi.cmbPort, {HiddenKeys::First, HiddenKeys::Second});
    QPointer<frmDebug> first = &r.f.app->debug();
    first->close();
    FinderRig::activate(fi);
    QVERIFY(!r.f.app->hasDebug());
    QTRY_VERIFY(first.isNull()); // destroyed
    // Locking again does not bring a window up just to hide it.
    typeKeys(fi.cmbPort, {HiddenKeys::First, HiddenKeys::Second});
    QVERIFY(!r.g().ModelChannelUnlocked);
    QVERIFY(!r.f.app->hasDebug());
    // The next show creates it afresh.
    typeKeys(fi.cmbPort, {HiddenKeys::First, HiddenKeys::Second});
    QVERIFY(r.f.app->hasDebug() && r.f.app->debug().isVisible());
    QVERIFY(r.f.app->debug().txtMsg->toPlainText().isEmpty());
}

void FinderWindowTest::exitAndCloseBoxEndTheApplication()
{
    FinderRig r;
    frmFinder& fi = r.openFinder();
    QTest::mouseClick(fi.cmdExit, Qt::LeftButton);
    QCOMPARE(r.f.endRequests, 1);
    fi.menuExit->trigger();
    QCOMPARE(r.f.endRequests, 2);
    // The editor is hidden: closing the finder must not leave a process without windows.
    fi.close();
    QCOMPARE(r.f.endRequests, 3);
    QVERIFY(r.f.modal.requests.empty());
}

void FinderWindowTest::refreshListsAgain()
{
    FinderRig r;
    QVERIFY(r.startUnits({1}, false));
    frmFinder& fi = r.openFinder();
    QCOMPARE(fi.cmbPort->count(), 1);
    QVERIFY(r.startUnits({7}, false)); // now only COM7 is mapped
    CommContext c = r.f.app->comm();
    QVERIFY(modCorvaneComm::OpenSyncPort(c, 7));
    const int before = r.statusLines().size();
    fi.menuRefreshList->trigger();
    QCOMPARE(r.statusLines().mid(before),
             (QStringList{"", "", "Looking for Serial Ports", "  Com7 is possible"}));
    QCOMPARE(fi.cmbPort->count(), 1);
    QCOMPARE(fi.cmbPort->currentText(), QStringLiteral("COM7"));
    QVERIFY(!r.main().MSComm1->PortOpen());
}

CORVANE_TEST_CLASS(FinderWindowTest)
#include "FinderWindowTest.moc"
