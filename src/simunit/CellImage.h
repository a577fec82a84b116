#pragma once
// The cell image, under the simulated unit's names.

#include "model/CellImage.h"
#include "simunit/UnitTypes.h"

namespace simsync {

inline QByteArray formatCellImage(const Cells& cells)
{
    return CellImage::format(cells);
}

inline bool parseCellImage(const QByteArray& text, Cells* cells, QString* error)
{
    return CellImage::parse(text, cells, error);
}

} // namespace simsync
