// The rack window's buttons: each asks what it needs (a file, the selection), then runs
// its action on the rack and shows the window busy until it has ended.

#include "app/Modal.h"
#include "app/frmRack.h"

#include <QLabel>
#include <QLineEdit>
#include <QTableWidget>

namespace {
const QString RackFilter = QStringLiteral("Rack Files (*.rack;*.txt);;All Files (*.*)");
const QString SettingsFilter = QStringLiteral("Text Files (*.txt);;All Files (*.*)");
const QString ImageFilter = QStringLiteral("Cell Images (*.cells);;All Files (*.*)");
} // namespace

bool frmRack::startLines()
{
    QString refusal;
    if (beforeLines && !beforeLines(&refusal)) {
        lblRackStatus->setText(refusal);
        return false;
    }
    return true;
}

QList<int> frmRack::rowsToActOn()
{
    const QList<int> rows = selectedRows();
    if (rows.isEmpty()) {
        lblRackStatus->setText(QStringLiteral("Select the units first."));
        return {};
    }
    return startLines() ? rows : QList<int>();
}

Task<> frmRack::acting(Task<>& action)
{
    showBusy();
    co_await action;
    showBusy();
}

Task<> frmRack::cmdScan_Click()
{
    if (!startLines())
        co_return;
    lblRackStatus->setText(QStringLiteral("Asking every port at once..."));
    Task<> scanning = rack_.scan();
    showBusy();
    co_await scanning;
    showBusy();
}

Task<> frmRack::cmdListen_Click()
{
    if (!startLines())
        co_return;
    lblRackStatus->setText(QStringLiteral("Opening every port..."));
    Task<> listening = rack_.listen(listenSeconds);
    showBusy();
    co_await listening;
    showBusy();
}

void frmRack::cmdStop_Click()
{
    rack_.stop();
}

void frmRack::cmdAddUnit_Click()
{
    const QString why = rack_.add(txtAddUnit->text());
    lblRackStatus->setText(why);
    if (why.isEmpty())
        txtAddUnit->clear();
}

Task<> frmRack::cmdOpenRack_Click()
{
    const QString path =
        co_await modal_.openFileName(this, QStringLiteral("Open Rack"), RackFilter, {});
    if (!path.isEmpty())
        openRackFile(path);
}

void frmRack::openRackFile(const QString& path)
{
    const QString mistakes = rack_.openRack(path);
    lblRackStatus->setText(
        mistakes.isEmpty() ? QStringLiteral("%1 units from %2").arg(rack_.rows().size()).arg(path)
                           : path + QStringLiteral(": nothing was added\n") + mistakes);
}

Task<> frmRack::cmdSaveRack_Click()
{
    const QString path =
        co_await modal_.saveFileName(this, QStringLiteral("Save Rack"), RackFilter, {});
    if (path.isEmpty())
        co_return;
    saveRackFile(path);
}

void frmRack::saveRackFile(const QString& path)
{
    QString why;
    lblRackStatus->setText(rack_.saveRack(path, &why)
                               ? QStringLiteral("Saved to %1").arg(path)
                               : QStringLiteral("Cannot save to %1: %2").arg(path, why));
}

Task<> frmRack::cmdWriteFile_Click()
{
    if (selectedRows().isEmpty()) {
        lblRackStatus->setText(QStringLiteral("Select the units first."));
        co_return;
    }
    const QString file =
        co_await modal_.openFileName(this, QStringLiteral("Write File"), SettingsFilter, {});
    if (file.isEmpty())
        co_return;
    const QList<int> rows = rowsToActOn();
    if (rows.isEmpty())
        co_return;
    Task<> running = rack_.write(rows, file);
    co_await acting(running);
}

Task<> frmRack::cmdWriteOwn_Click()
{
    const QList<int> rows = rowsToActOn();
    if (rows.isEmpty())
        co_return;
    const QString own; // each row's own
    Task<> running = rack_.write(rows, own);
    co_await acting(running);
}

Task<> frmRack::cmdVerify_Click()
{
    if (selectedRows().isEmpty()) {
        lblRackStatus->setText(QStringLiteral("Select the units first."));
        co_return;
    }
    const QString file =
        co_await modal_.openFileName(this, QStringLiteral("Verify"), SettingsFilter, {});
    if (file.isEmpty())
        co_return;
    const QList<int> rows = rowsToActOn();
    if (rows.isEmpty())
        co_return;
    Task<> running = rack_.verify(rows, file);
    co_await acting(running);
}

Task<> frmRack::cmdBackup_Click()
{
    const QList<int> rows = rowsToActOn();
    if (rows.isEmpty())
        co_return;
    Task<> running = rack_.backup(rows);
    co_await acting(running);
}

Task<> frmRack::cmdRestore_Click()
{
    const QList<int> rows = rowsToActOn();
    if (rows.isEmpty())
        co_return;
    const QString own; // each row's own
    Task<> running = rack_.restore(rows, own);
    co_await acting(running);
}

Task<> frmRack::cmdRestoreImage_Click()
{
    if (selectedRows().isEmpty()) {
        lblRackStatus->setText(QStringLiteral("Select the units first."));
        co_return;
    }
    const QString image =
        co_await modal_.openFileName(this, QStringLiteral("Restore Image"), ImageFilter, {});
    if (image.isEmpty())
        co_return;
    const QList<int> rows = rowsToActOn();
    if (rows.isEmpty())
        co_return;
    Task<> running = rack_.restore(rows, image);
    co_await acting(running);
}

Task<> frmRack::cmdOpenInEditor_Click()
{
    const QList<int> rows = selectedRows();
    if (rows.size() != 1) {
        lblRackStatus->setText(QStringLiteral("Select one unit to open in the editor."));
        co_return;
    }
    if (!openInEditor || !startLines())
        co_return;
    co_await openInEditor(rack_.rows()[rows.first()]);
}

void frmRack::cmdSelectFailed_Click()
{
    const QList<int> failed = rack_.failedRows();
    selectRows(failed);
    lblRackStatus->setText(failed.isEmpty()
                               ? QStringLiteral("No unit failed.")
                               : QStringLiteral("%1 failed units selected.").arg(failed.size()));
}
