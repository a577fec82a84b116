#pragma once
// What a simulated synchronizer is made of: its 64 cells, the faults it can put in its
// replies, and the record of every frame on its line.

#include "model/CellImage.h"
#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <array>
#include <cstdint>

namespace simsync {

enum class Fault
{
    None,            // a correct reply
    Silence,         // no reply at all
    Short3,          // data0 data1 LF (the CR never comes)
    Long5,           // a correct reply followed by one more byte, sent as one frame
    WrongTerminator, // data0 data1 CR LF
    Garbage          // four bytes that are no reply
};

enum class Direction
{
    ToUnit,
    FromUnit
};

struct WireEntry
{
    double ms = 0; // since start(): when the last byte was on the line
    Direction dir = Direction::ToUnit;
    QByteArray bytes;
};

constexpr int FirstCell = CellImage::FirstCell;
constexpr int LastCell = CellImage::LastCell;
constexpr int CellCount = CellImage::CellCount;

using Cells = CellImage::Cells;

// The default parameter set as a unit holds it: model 22, channel 1, both modes Chapter,
// start point 1, end point 1000, titles 1 and 2, chapters 1 and 2, options Synchronize and
// Squelch at 9600 baud, empty comment, init string "0KL0DS".
Cells defaultCells();

// "ATT", "R63", "W48 00", "REPLY 22", "ANNOUNCE", or hex bytes for anything else.
QString describeFrame(const QByteArray& frame, Direction dir);

} // namespace simsync
