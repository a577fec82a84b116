#pragma once
// The unit as it is, kept as a cell image before a command writes to it: a file named
// after the time, the port and the unit's model and channel, in the backup folder.

#include "cli/CliHost.h"
#include "cli/CliRequest.h"
#include "model/CellImage.h"

namespace CellBackup {

// The backup folder, made when missing, checked before the line is opened: 0, or 3 with
// why. Nothing to check when the request asks for no backup.
int prepareFolder(const UnitVoice& voice, const CliRequest& r);

// Reads all 64 cells on the open line and writes them to a new file in the backup folder,
// whose path is told: 0, 2 when a cell could not be read, 3 when the file could not be
// written. On any failure the command must stop before its first write. `unitCells`, when
// given, receives the cells read.
Task<int> takeBeforeWriting(CliHost& host, CliRequest r, CellImage::Cells* unitCells = nullptr);

} // namespace CellBackup
