#pragma once
// A plain-text image of a unit's 64 cells, so a unit's memory can be passed around (the
// simulated unit's window, backups of real units):
//
//   # address d0 d1, in hex; the rest of a line after '#' is ignored
//   30 30 30   # '0' "00"
//
// Every cell from 30 to 6F appears exactly once, in any order.

#include <QByteArray>
#include <QString>
#include <array>
#include <cstdint>

namespace CellImage {

constexpr int FirstCell = 48;
constexpr int LastCell = 111;
constexpr int CellCount = 64;

// A unit's cells, from 30 (hex) on.
using Cells = std::array<std::array<uint8_t, 2>, CellCount>;

QByteArray format(const Cells& cells);

// The cells of `text`, or false with `error` naming the line and what is wrong with it.
bool parse(const QByteArray& text, Cells* cells, QString* error);

} // namespace CellImage
