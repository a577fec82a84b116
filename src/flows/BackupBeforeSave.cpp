#include "flows/BackupBeforeSave.h"

#include "comm/MSComm.h"
#include "flows/EditorView.h"
#include "flows/FlowHost.h"
#include "flows/UnitBackup.h"
#include "transfer/SavePlan.h"

#include <QStandardPaths>

namespace BackupBeforeSave {

namespace {

// The unit's cells read and kept in `folder`: the path, or "" with why not in `failure`.
Task<QString> keepBackup(FlowHost& host, QString folder, std::optional<LastLoad> lastLoad,
                         QString* failure)
{
    const MSComm& line = host.comm().MSComm1;
    UnitBackup::Cells cells{};
    std::optional<QString> failed;
    if (lastLoad && lastLoad->port == line.CommPort() && lastLoad->opening == line.openings())
        failed = co_await UnitBackup::readRestAfterLoad(host, lastLoad->cells, &cells);
    if (!failed)
        failed = co_await UnitBackup::readWholeUnit(host, &cells);
    if (!failed->isEmpty()) {
        *failure = *failed;
        co_return QString();
    }
    if (const QString why = UnitBackup::folderProblem(folder); !why.isEmpty()) {
        *failure = QStringLiteral("%1: %2").arg(folder, why);
        co_return QString();
    }
    bool claimed = false;
    const QString path = UnitBackup::backupPath(folder, line.CommPort(), cells, &claimed);
    QString reason;
    if (!UnitBackup::writeImage(path, cells, claimed, &reason)) {
        *failure = QStringLiteral("%1 could not be written: %2").arg(path, reason);
        co_return QString();
    }
    co_return path;
}

} // namespace

QString editorFolder()
{
    const QString given = qEnvironmentVariable("CORVANE_BACKUP_DIR");
    if (!given.isEmpty())
        return given;
    return QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation) +
           QStringLiteral("/backups");
}

Task<TransferCommands::SaveOutcome> Save(FlowHost& host, QString folder,
                                         std::optional<LastLoad> lastLoad)
{
    // The save's own checks come first: a save that would not go ahead says why, as it
    // always did, and nothing is read for it.
    const bool goesAhead = !folder.isEmpty() && host.lease().isFree() &&
                           host.comm().MSComm1.PortOpen() &&
                           buildSavePlan(host.editor().model().snapshot()).ok();
    if (goesAhead) {
        QString failure;
        const QString path = co_await keepBackup(host, folder, std::move(lastLoad), &failure);
        const MSComm& line = host.comm().MSComm1;
        if (!path.isEmpty()) {
            host.wireLog().command(QStringLiteral("backup kept: ") + path);
        } else {
            host.wireLog().command(QStringLiteral("no backup kept: ") + failure);
            const bool without = co_await host.askYesNo(
                QStringLiteral("No backup of COM%1 could be kept (%2). Save to the "
                               "synchronizer without one?")
                    .arg(line.CommPort())
                    .arg(failure));
            if (!without) {
                host.wireLog().command(QStringLiteral("save not made: no backup"));
                co_return TransferCommands::SaveOutcome{};
            }
        }
    }
    co_return co_await TransferCommands::SaveToSynchronizer(host);
}

} // namespace BackupBeforeSave
