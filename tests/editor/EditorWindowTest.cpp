// The editor window as a whole: its start-up state, captions, the hidden key sequence,
// menus, the small dialogs and ending the application.

#include "app/HiddenKeys.h"
#include "app/HighlightShape.h"
#include "app/Spinner.h"
#include "app/frmHelp.h"
#include "app/frmProblem.h"
#include "app/frmProgress.h"
#include "support/AppFixture.h"
#include "support/TestRunner.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

class EditorWindowTest : public QObject
{
    Q_OBJECT
private slots:
    void startsWithDesignContents();
    void captions_data();
    void captions();
    void menusInOrder();
    void hiddenKeySequence_data();
    void hiddenKeySequence();
    void keySequenceReachesTheControl();
    void lockHoldsDuringTransfer();
    void menuEntryKeepsTheFocus();
    void exitAndCloseEndTheApplication();
    void aboutWindow();
    void problemWindow();
    void progressCancel();
};

void EditorWindowTest::startsWithDesignContents()
{
    AppFixture f;
    frmMain& m = f.main();
    QCOMPARE(m.windowTitle(), QStringLiteral("Corvane 2.0.8(beta) - Synchronizer Parameters"));
    QCOMPARE(m.centralWidget()->size(), QSize(425, 552));
    QCOMPARE(m.txtModel->text(), QStringLiteral("0"));
    QCOMPARE(m.txtChannel->text(), QStringLiteral("0"));
    QVERIFY(m.optStartTitle->isChecked() && m.optEndTitle->isChecked());
    QCOMPARE(m.txtStartFrame->text(), QStringLiteral("1000"));
    QCOMPARE(m.txtEndFrame->text(), QStringLiteral("5000"));
    QCOMPARE(m.cmbBaud->currentIndex(), -1);
    QVERIFY(!m.cmbBaud->isVisible() && !m.lblBaud->isVisible());
    QCOMPARE(m.cmbBaud->count(), 4);
    QCOMPARE(m.cmbBaud->itemText(3), QStringLiteral("9600"));
    QCOMPARE(m.cmbBaud->itemData(3).toInt(), 7);
    // Locked model and channel; not connected.
    QVERIFY(!m.txtModel->isEnabled() && !m.txtChannel->isEnabled());
    QVERIFY(!m.scrModel->isVisible() && !m.scrChannel->isVisible());
    QVERIFY(m.imgNoSync->isVisible() && !m.imgSync->isVisible());
    QCOMPARE(m.imgNoSync->toolTip(), QStringLiteral("Synchronizer Not Connected"));
    QCOMPARE(m.imgSync->toolTip(), QStringLiteral("Synchronizer Connected"));
    QCOMPARE(m.imgNoSync->size(), QSize(50, 44));
    QCOMPARE(m.imgSync->pixmap().size(), QSize(50, 44));
    for (HighlightShape* s : m.highlightShapes())
        QVERIFY(!s->isVisible());
    QVERIFY(f.g().LinkedFieldsActive);
    QVERIFY(!f.g().ModelChannelUnlocked && !f.g().DebugArmed);
    // Every mark lies behind its field: the field is drawn over it.
    QVERIFY(m.shpHiLiteModel->geometry().contains(m.txtModel->geometry()));
    QVERIFY(m.shpHiLiteInitStr->geometry().contains(m.fraInitStrings->geometry()));
}

void EditorWindowTest::captions_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("bold");
    QTest::newRow("save to unit") << "cmdSaveTo"
                                  << "SAVE to Synchronizer" << true;
    QTest::newRow("load from unit") << "cmdLoadFrom"
                                    << "LOAD from Synchronizer" << true;
    QTest::newRow("save to file") << "cmdFileSave"
                                  << " SAVE to   File" << false;
    QTest::newRow("load from file") << "cmdFileLoad"
                                    << "LOAD from File" << false;
    QTest::newRow("defaults") << "cmdDefaults"
                              << "Defaults" << false;
    QTest::newRow("exit") << "cmdExit"
                          << "Exit" << true;
    QTest::newRow("synchronize") << "chkSynchronize"
                                 << "Synchronize" << false;
    QTest::newRow("squelch") << "chkSquelch"
                             << "Squelch" << false;
    QTest::newRow("start mode") << "rdbStart"
                                << "Start Mode" << false;
    QTest::newRow("end mode") << "rbdEnd"
                              << "End Mode" << false;
    QTest::newRow("init strings") << "fraInitStrings"
                                  << "Init Strings (58 chars. total)" << false;
    QTest::newRow("comment") << "lblComment"
                             << "Comment (15 chars.)" << false;
    QTest::newRow("start heading") << "Label1a"
                                   << "Start" << true;
    QTest::newRow("end heading") << "Label1"
                                 << "End" << true;
    QTest::newRow("start time option") << "optStartTimecode"
                                       << "Time" << false;
    QTest::newRow("end frame option") << "optEndFrame"
                                      << "Frame Number" << false;
    QTest::newRow("minute") << "lblStartMinutes"
                            << "Minute" << false;
    QTest::newRow("second") << "lblEndSeconds"
                            << "Second" << false;
    QTest::newRow("init label 4") << "lblInitStr4"
                                  << "4" << false;
}

void EditorWindowTest::captions()
{
    QFETCH(QString, name);
    QFETCH(QString, text);
    QFETCH(bool, bold);
    AppFixture f;
    QWidget* w = f.main().findChild<QWidget*>(name);
    QVERIFY2(w, qPrintable(name));
    QString actual;
    if (auto* b = qobject_cast<QAbstractButton*>(w))
        actual = b->text();
    else if (auto* l = qobject_cast<QLabel*>(w))
        actual = l->text();
    else if (auto* g = qobject_cast<QGroupBox*>(w))
        actual = g->title();
    QCOMPARE(actual, text);
    QCOMPARE(w->font().bold(), bold);
}

void EditorWindowTest::menusInOrder()
{
    AppFixture f;
    QStringList seen;
    for (QAction* top : f.main().menuBar()->actions()) {
        seen << top->menu()->objectName() + "=" + top->text();
        for (QAction* a : top->menu()->actions())
            seen << a->objectName() + "=" + (a->isSeparator() ? "-" : a->text());
    }
    QCOMPARE(seen,
             (QStringList{"menuFile=File", "menuFileLoad=Load from File",
                          "menuFileSave=Save to File", "Spacer2=-", "menuExit=Exit",
                          "menuSynchronizer=Synchronizer", "menuConnect=Find Synchronizer",
                          "spacer1=-", "menuLoadFrom=Load from Synchronizer",
                          "menuSaveTo=Save to Synchronizer", "menuHep=Help", "menuAbout=About"}));
}

void EditorWindowTest::hiddenKeySequence_data()
{
    QTest::addColumn<QList<int>>("keys");
    QTest::addColumn<bool>("unlocked");
    const int a = HiddenKeys::First, b = HiddenKeys::Second, x = 'x';
    QTest::newRow("first then second") << QList<int>{a, b} << true;
    QTest::newRow("twice locks again") << QList<int>{a, b, a, b} << false;
    QTest::newRow("other key between") << QList<int>{a, x, b} << false;
    QTest::newRow("first twice") << QList<int>{a, a, b} << false;
    QTest::newRow("second alone") << QList<int>{b} << false;
    QTest::newRow("second then first") << QList<int>{b, a} << false;
    QTest::newRow("after a disarmed try") << QList<int>{a, a, a, b} << true;
}

void EditorWindowTest::hiddenKeySequence()
{
    QFETCH(QList<int>, keys);
    QFETCH(bool, unlocked);
    AppFixture f;
    frmMain& m = f.main();
    f.g().ModelChannelMarked = true;
    m.txtComment->setFocus();
    for (int k : keys) {
        if (k < 32) // a control character, typed as Ctrl + letter
            QTest::keyClick(m.txtComment, Qt::Key(Qt::Key_A + k - 1), Qt::ControlModifier);
        else
            QTest::keyClick(m.txtComment, char(k));
    }
    QCOMPARE(f.g().ModelChannelUnlocked, unlocked);
    QCOMPARE(m.txtModel->isEnabled(), unlocked);
    QCOMPARE(m.txtChannel->isEnabled(), unlocked);
    QCOMPARE(m.scrModel->isVisible(), unlocked);
    QCOMPARE(m.scrChannel->isVisible(), unlocked);
    QVERIFY(!f.g().DebugArmed || keys.last() == HiddenKeys::First);
    if (keys.contains(HiddenKeys::Second) && unlocked)
        QVERIFY(!f.g().ModelChannelMarked);
}

void EditorWindowTest::keySequenceReachesTheControl()
{
    // The window looks at every key first but never swallows one.
    AppFixture f;
    frmMain& m = f.main();
    m.txtComment->setFocus();
    QTest::keyClick(m.txtComment, Qt::Key_G, Qt::ControlModifier);
    QTest::keyClicks(m.txtComment, "ab");
    QCOMPARE(m.txtComment->text(), QStringLiteral("ab"));
    QVERIFY(!f.g().DebugArmed);
}

void EditorWindowTest::lockHoldsDuringTransfer()
{
    // A save and its compare must agree on whether model and channel take part.
    AppFixture f;
    frmMain& m = f.main();
    f.g().TransferRunning = true;
    m.txtComment->setFocus();
    QTest::keyClick(m.txtComment, Qt::Key_G, Qt::ControlModifier);
    QTest::keyClick(m.txtComment, Qt::Key_T, Qt::ControlModifier);
    QVERIFY(!f.g().ModelChannelUnlocked);
    QVERIFY(!m.txtModel->isEnabled());
    f.g().TransferRunning = false;
    QTest::keyClick(m.txtComment, Qt::Key_G, Qt::ControlModifier);
    QTest::keyClick(m.txtComment, Qt::Key_T, Qt::ControlModifier);
    QVERIFY(f.g().ModelChannelUnlocked);
}

void EditorWindowTest::menuEntryKeepsTheFocus()
{
    AppFixture f;
    frmMain& m = f.main();
    m.optStartFrame->setChecked(true);
    m.txtStartFrame->setFocus();
    m.txtStartFrame->setText("12abc");
    // A menu entry runs the handler without moving the focus: the frame is not checked.
    m.menuSaveTo->trigger();
    QCOMPARE(QApplication::focusWidget(), m.txtStartFrame);
    QCOMPARE(m.txtStartFrame->text(), QStringLiteral("12abc"));
    // A click on a button moves the focus, and the check runs first.
    QTest::mouseClick(m.cmdDefaults, Qt::LeftButton);
    QCOMPARE(m.txtStartFrame->text(), QStringLiteral("1"));
}

void EditorWindowTest::exitAndCloseEndTheApplication()
{
    AppFixture f;
    QTest::mouseClick(f.main().cmdExit, Qt::LeftButton);
    QCOMPARE(f.endRequests, 1);
    f.main().menuExit->trigger();
    QCOMPARE(f.endRequests, 2);
    f.main().close();
    QCOMPARE(f.endRequests, 3);
    QVERIFY(f.modal.requests.empty()); // nothing is asked
}

void EditorWindowTest::aboutWindow()
{
    AppFixture f;
    QStringList seen;
    f.modal.onDialog = [&](const Modal::Request& r) {
        auto* h = qobject_cast<frmHelp*>(r.dialog);
        QVERIFY(h && h->isVisible() && h->isModal());
        seen << h->windowTitle() << h->lblHelp->text() << h->lblHelp2->text();
        QCOMPARE(h->Image1->pixmap().size(), QSize(374, 195));
        QTest::mouseClick(h->cmdOK, Qt::LeftButton);
        QVERIFY(!h->isVisible());
    };
    f.main().menuAbout->trigger();
    f.main().menuAbout->trigger();
    const QStringList once{"About Corvane", "Corvane vers. 2.0.8(beta)",
                           "For programming Orbelin Synchronizers"};
    QCOMPARE(seen, once + once);
    QVERIFY(!f.app->help().isVisible());
}

void EditorWindowTest::problemWindow()
{
    AppFixture f;
    QString shown;
    f.modal.onDialog = [&](const Modal::Request& r) {
        auto* p = qobject_cast<frmProblem*>(r.dialog);
        QVERIFY(p && p->isModal());
        QCOMPARE(p->windowTitle(), QStringLiteral("Problem"));
        shown = p->txtProblem->toPlainText();
        QVERIFY(p->txtProblem->isReadOnly());
        QTest::mouseClick(p->cmdOK, Qt::LeftButton);
    };
    f.app->showProblem(QStringLiteral("Cannot Load! Serial port is not available\r\nUse it"));
    QCOMPARE(shown, QStringLiteral("Cannot Load! Serial port is not available\nUse it"));
    QVERIFY(!f.app->problem().isVisible());
}

void EditorWindowTest::progressCancel()
{
    AppFixture f;
    frmProgress& p = f.app->progress();
    QCOMPARE(p.windowTitle(), QStringLiteral("Progress"));
    QVERIFY(!p.isModal());
    p.setWindowTitle("Testing COM3");
    p.lblProgress->setText("Probing.............");
    p.ProgressBar1->setMaximum(60);
    p.setBar(0);
    p.showNow();
    QVERIFY(p.isVisible());
    p.advance(70); // held within the maximum
    QCOMPARE(p.ProgressBar1->value(), 60);
    f.g().ProbeRunning = true;
    QTest::mouseClick(p.cmdCancel, Qt::LeftButton);
    QVERIFY(!p.isVisible());
    QVERIFY(!f.g().ProbeRunning);
    QCOMPARE(&f.app->progress(), &p); // only hidden, never destroyed
}

CORVANE_TEST_CLASS(EditorWindowTest)
#include "EditorWindowTest.moc"
