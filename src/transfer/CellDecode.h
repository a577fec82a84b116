#pragma once
// Reading cells of a unit: numbers and text bytes (see model/CellDecode.h), the start and
// end points held in four cells, and the point modes.

#include "model/CellDecode.h"
#include "transfer/CellBytes.h"

#include <array>
#include <cstdint>

namespace CellDecode {

inline int number(CellBytes bytes)
{
    return number(bytes.d0, bytes.d1);
}

// The two readings of a start or end point held in four cells as seven decimal digits.
// All three are -1 when any cell is not a number.
struct PointReading
{
    int32_t frame = -1;
    int minutes = -1; // digits 4 to 2
    int seconds = -1; // digits 1 and 0
    bool readable() const { return frame >= 0; }
};
PointReading point(const std::array<CellBytes, 4>& cells);

// Start mode from bits 0-1 and end mode from bits 2-3 of the mode cell's first byte.
int startModeCode(CellBytes modeCell);
int endModeCode(CellBytes modeCell);

} // namespace CellDecode
