#pragma once
// A plain-text image of a unit's 64 cells, so a unit's memory can be passed around:
//
//   # address d0 d1, in hex; the rest of a line after '#' is ignored
//   30 30 30   # '0' "00"
//
// Every cell from 30 to 6F appears exactly once, in any order.

#include "simunit/UnitTypes.h"

#include <QByteArray>
#include <QString>

namespace simsync {

QByteArray formatCellImage(const Cells& cells);

// The cells of `text`, or false with `error` naming the line and what is wrong with it.
bool parseCellImage(const QByteArray& text, Cells* cells, QString* error);

} // namespace simsync
