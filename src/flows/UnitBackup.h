#pragma once
// A unit's 64 cells kept as a cell image before anything writes to it, and an image written
// back as a save writes its cells, then read back and compared. Nothing here prints: each
// step returns what happened, and its caller tells it.

#include "comm/Await.h"
#include "model/CellBytes.h"
#include "model/CellImage.h"
#include "transfer/CellMap.h"

#include <QString>
#include <QVector>
#include <optional>

class FlowHost;

namespace UnitBackup {

using CellImage::Cells;
using Cell = std::array<uint8_t, 2>;

Cell& cellAt(Cells& cells, uint8_t address);
const Cell& cellAt(const Cells& cells, uint8_t address);
// The number a cell holds (the model or the channel), if it holds one.
std::optional<int> numberIn(const Cells& cells, uint8_t address);
QString hex2(int b);
QString bytesOf(const Cell& c); // "3A 07"

// The attention sequence (unless `attend` is false), then the cells of `order` read into
// `cells` with the command layer's retries: "" when all came in, else which cell (or the
// attention) failed and why.
Task<QString> readCells(FlowHost& host, QVector<uint8_t> order, Cells& cells, bool attend = true);

// All 64 cells, after the pause and the attention sequence a load begins with, under the
// lease "backup" and a progress window: "" when every cell came in, else why not.
Task<QString> readWholeUnit(FlowHost& host, Cells* cells);

// The unit's 64 cells from a load just made on the open line, which read all but the eight
// cells no save writes: those eight are read now, in the same pass (no pause, no
// attention). Nothing when the load left out any other cell: then the whole unit must be
// read.
Task<std::optional<QString>> readRestAfterLoad(FlowHost& host, CellSet loaded, Cells* cells);

// A path in `folder` no file had yet: the time, the port, the unit's model and channel
// ("20261208-143012-COM3-model-22-channel-1.cells", "-2" before ".cells" on a clash). The
// name is claimed by creating the file (empty) when `claim` is set; `claimed` tells
// whether it was.
QString backupPath(const QString& folder, int port, const Cells& cells, bool* claimed = nullptr);

// The folder made when missing: "" when a backup can be written there, else why not.
QString folderProblem(const QString& folder);

// The image written whole to `path`: true, or false with why in `reason`. A name claimed for it and
// left empty is given up again, so a failed backup never looks like the newest one.
bool writeImage(const QString& path, const Cells& cells, bool claimed, QString* reason);

// The image at `path`: "" or why it cannot be used; `notOpened` tells whether the file
// could not even be opened (else it is not an image).
QString readImage(const QString& path, Cells* cells, bool* notOpened = nullptr);

// How a restore's writes went: SetAll's status (0 when every cell went out) and how far.
struct Written
{
    int status = 0;
    QString failure;
    int writesSent = 0;
    int writesPlanned = 0;
};

// The cells a save writes (model and channel too when `unlocked`), in its order, each
// holding the image's bytes, under a progress window captioned `caption`. The caller holds
// the lease.
Task<Written> writeCells(FlowHost& host, Cells image, bool unlocked, QString caption);

// A cell that read back differently from what was written.
struct Difference
{
    uint8_t address = 0;
    Cell wrote{};
    Cell read{};
};

struct Compared
{
    QString failed; // "" when every cell came back
    QVector<Difference> differences;
    Cells readBack{};
};

// The written cells read back as a save's compare reads them, compared byte for byte.
Task<Compared> readBackAndCompare(FlowHost& host, Cells image, bool unlocked, QString caption);

} // namespace UnitBackup
