// The editor window as a whole: loading, the hidden key sequence, menus, buttons, ending.

#include "app/HiddenKeys.h"
#include "app/Modal.h"
#include "app/Spinner.h"
#include "app/frmMain.h"
#include "app/frmRestoreBackup.h"
#include "comm/MSComm.h"
#include "flows/EditorDefaults.h"
#include "flows/FileCommands.h"
#include "flows/FlowHost.h"
#include "flows/RestoreBackup.h"
#include "flows/TransferCommands.h"
#include "model/AppIdentity.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QFocusEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

void frmMain::Form_Load()
{
    setWindowTitle(AppIdentity::TitleWithFullVersion() +
                   QStringLiteral(" - Synchronizer Parameters"));
    debugArmed_ = false;
    model_.setModelChannelUnlocked(false);
    model_.setModelChannelMarked(false);
}

void frmMain::Form_KeyPress(int ch)
{
    // A save and its compare must agree on whether model and channel take part, so the
    // lock cannot change while a transfer runs.
    if (HiddenKeys::completes(debugArmed_, ch) && !model_.transferRunning()) {
        model_.setModelChannelUnlocked(!model_.modelChannelUnlocked());
        model_.setModelChannelMarked(false);
    }
}

void frmMain::showConnected(bool connected)
{
    imgNoSync->setVisible(!connected);
    imgSync->setVisible(connected);
}

void frmMain::setTransferCommandsEnabled(bool enabled)
{
    for (QPushButton* b : {cmdFileSave, cmdFileLoad, cmdDefaults})
        b->setEnabled(enabled);
    for (QAction* a : {menuFileLoad, menuFileSave})
        a->setEnabled(enabled);
}

void frmMain::setPortCommandsEnabled(bool enabled)
{
    for (QPushButton* b : {cmdSaveTo, cmdLoadFrom})
        b->setEnabled(enabled);
    // "Find Synchronizer" closes the port.
    for (QAction* a : {menuConnect, menuLoadFrom, menuSaveTo, menuRestoreBackup})
        a->setEnabled(enabled);
}

void frmMain::cmdExit_Click()
{
    emit exitRequested();
}
void frmMain::menuExit_Click()
{
    cmdExit_Click();
}
void frmMain::cmdDefaults_Click()
{
    modCorvaneComm::SetDefaults(model_);
}
void frmMain::menuAbout_Click()
{
    emit aboutRequested();
}

QString frmMain::unitText(int port, const QString& device, std::optional<UnitNumbers> numbers)
{
    if (port == 0)
        return QStringLiteral("Not connected to a synchronizer");
    const QString where = device.isEmpty() ? QStringLiteral("COM%1").arg(port)
                                           : QStringLiteral("COM%1 (%2)").arg(port).arg(device);
    if (!numbers)
        return where + QStringLiteral(": model and channel not read");
    return where +
           QStringLiteral(": model %1, channel %2").arg(numbers->model).arg(numbers->channel);
}

void frmMain::showUnit(std::optional<UnitNumbers> numbers)
{
    unit_ = numbers;
    const MSComm& line = host_.comm().MSComm1;
    const int port = line.PortOpen() ? line.CommPort() : 0;
    const QString text = unitText(port, port ? line.ports().devicePath(port) : QString(), unit_);
    lblUnit->setText(text);
    lblUnit->setAccessibleDescription(text);
}

Task<> frmMain::cmdLoadFrom_Click()
{
    const TransferCommands::LoadOutcome loaded =
        co_await TransferCommands::LoadFromSynchronizer(host_);
    showUnitAfterLoad(loaded);
}

void frmMain::showUnitAfterLoad(const TransferCommands::LoadOutcome& loaded)
{
    using TransferCommands::Outcome;
    if (loaded.outcome == Outcome::NotStarted)
        showUnit(unit_);
    else if (loaded.findings)
        showUnit(UnitNumbers{loaded.findings->loaded.values.Model,
                             loaded.findings->loaded.values.Channel});
    else
        showUnit(std::nullopt);
    const MSComm& line = host_.comm().MSComm1;
    if (loaded.findings && line.PortOpen())
        lastLoad_ =
            BackupBeforeSave::LastLoad{line.CommPort(), line.openings(), loaded.findings->cells};
}
Task<> frmMain::menuLoadFrom_Click()
{
    return cmdLoadFrom_Click();
}
Task<> frmMain::cmdSaveTo_Click()
{
    const bool writesNumbers = model_.modelChannelUnlocked();
    // Named first: GCC 12 frees a ?: temporary passed to a coroutine twice.
    QString folder;
    if (backupFolder)
        folder = backupFolder();
    const TransferCommands::SaveOutcome saved =
        co_await BackupBeforeSave::Save(host_, folder, lastLoad_);
    // Model and channel go to the unit only while unlocked; otherwise it keeps its own.
    if (writesNumbers && saved.writesPlanned > 0 && saved.writesSent == saved.writesPlanned)
        showUnit(UnitNumbers{model_.spinnerValue(SpinField::Model),
                             model_.spinnerValue(SpinField::Channel)});
    else
        showUnit(unit_);
}
Task<> frmMain::menuSaveTo_Click()
{
    return cmdSaveTo_Click();
}
Task<> frmMain::cmdFileLoad_Click()
{
    co_await FileCommands::LoadFromFile(host_);
}
Task<> frmMain::menuFileLoad_Click()
{
    return cmdFileLoad_Click();
}
Task<> frmMain::cmdFileSave_Click()
{
    co_await FileCommands::SaveToFile(host_);
}
Task<> frmMain::menuFileSave_Click()
{
    return cmdFileSave_Click();
}
Task<> frmMain::menuRestoreBackup_Click()
{
    QString folder;
    if (backupFolder)
        folder = backupFolder();
    const MSComm& line = host_.comm().MSComm1;
    RestoreBackup::Unit unit{line.PortOpen() ? line.CommPort() : 0, {}, {}};
    if (unit_) {
        unit.model = unit_->model;
        unit.channel = unit_->channel;
    }
    frmRestoreBackup dialog(folder, RestoreBackup::listBackups(folder, unit), this);
    co_await modal_.showDialog(&dialog);
    const QString path = dialog.result() == QDialog::Accepted ? dialog.chosenPath() : QString();
    if (path.isEmpty())
        co_return;
    // The unit holds the backup now: the editor shows it as a load reads it.
    if (co_await RestoreBackup::Restore(host_, path))
        co_await cmdLoadFrom_Click();
}

void frmMain::menuConnect_Click()
{
    // Closing the port under a running command would cut it off.
    if (!host_.lease().isFree())
        return;
    emit findRequested();
}

void frmMain::menuLineMonitor_Click()
{
    emit lineMonitorRequested();
}

bool frmMain::eventFilter(QObject* watched, QEvent* event)
{
    if (const int ch = HiddenKeys::keyFor(this, watched, event); ch >= 0) {
        Form_KeyPress(ch);
    } else if (event->type() == QEvent::FocusOut &&
               (watched == txtStartFrame || watched == txtEndFrame)) {
        // Opening a menu or switching to another window does not move the focus
        // within this window, so the frame check waits.
        const auto reason = static_cast<QFocusEvent*>(event)->reason();
        if (reason != Qt::PopupFocusReason && reason != Qt::ActiveWindowFocusReason) {
            if (watched == txtStartFrame)
                txtStartFrame_LostFocus();
            else
                txtEndFrame_LostFocus();
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

void frmMain::closeEvent(QCloseEvent* event)
{
    // Closing the editor ends the whole application, the hidden finder included.
    event->accept();
    emit exitRequested();
}
