#pragma once
// A load's second half: the cells read from a unit turned into a parameter set the editor
// can hold, with every unreadable value replaced by a default (marked red) and every value
// out of range corrected (marked yellow).

#include "model/CellBytes.h"
#include "model/CellDecode.h"
#include "model/ReadMarks.h"
#include "model/SyncParameters.h"

#include <QString>
#include <array>

// What the cells say before any check; numbers are -1 where the cells are not a number.
struct CellReading
{
    int Model = -1;
    int Channel = -1;
    PointMode StartMode = PointMode::Title;
    PointMode EndMode = PointMode::Title;
    CellDecode::PointReading StartPoint; // read both as a frame number and as a time
    CellDecode::PointReading EndPoint;
    int StartTitle = -1;
    int EndTitle = -1;
    int StartChapter = -1;
    int EndChapter = -1;
    uint16_t OptionBits = 0; // the Synchronize and Squelch bits only
    QString Comment;
    std::array<QString, 4> InitStr;
};

struct LoadResult
{
    // Every field within its range; BaudCode is always 9600's code. The comment may hold
    // 16 characters and an init string 25: the editor's own text limits shorten them.
    SyncParameters values;
    ReadMarks marks;
};

CellReading readCells(const CellSet& cells);

// Checks every value in the order Model, Channel, StartTitle, EndTitle, StartChapter,
// EndChapter, StartFrame, EndFrame, StartTime, EndTime. "End after start" is checked in
// the reading the modes use: the frame numbers only when neither mode is a time, the times
// only when both are. A point in one mode and the other in the other holds a frame number
// and a time, which cannot be put in order.
LoadResult validateReading(const CellReading& reading);

inline LoadResult decodeAndValidate(const CellSet& cells)
{
    return validateReading(readCells(cells));
}
