#pragma once
// The editor's "SAVE to Synchronizer" keeps the unit's 64 cells as a cell image in the
// backup folder before its first write, so every save can be undone by a restore. After a
// load on the same open line with nothing written since, only the eight cells the load
// leaves out are read; otherwise the whole unit, as a load reads it. A save that would be
// refused, or cannot start, runs as it always did, with no backup.

#include "flows/TransferCommands.h"
#include "model/CellBytes.h"

#include <QString>
#include <optional>

class FlowHost;

namespace BackupBeforeSave {

// The folder the editor keeps its backups in: CORVANE_BACKUP_DIR when set, else "backups"
// in the application's own data folder.
QString editorFolder();

// A load the editor made: the port and which opening of it, and every cell it read.
struct LastLoad
{
    int16_t port = 0;
    unsigned opening = 0;
    CellSet cells;
};

// The save, after its backup. `folder` empty: no backup is kept at all. `lastLoad`: the
// editor's last load, when nothing has used the line since. A backup that cannot be made
// is told in a question: Yes saves without one, No writes nothing (NotStarted).
Task<TransferCommands::SaveOutcome> Save(FlowHost& host, QString folder,
                                         std::optional<LastLoad> lastLoad);

} // namespace BackupBeforeSave
