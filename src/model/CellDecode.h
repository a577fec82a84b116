#pragma once
// Turning the data bytes a unit keeps in its cells into numbers, text bytes, points and
// modes. Pure functions of the bytes, shared by the command layer and the transfers.

#include "model/CellBytes.h"

#include <array>
#include <cstdint>

namespace CellDecode {

// Two decimal characters, most significant first: 0 to 99, or -1 when they are not a
// number. A space stands for a missing digit: "05", " 5" and "5 " are all 5, two spaces 0.
int number(uint8_t d0, uint8_t d1);

// One decimal character: 0 to 9 (a space is 0), or -1.
int digit(uint8_t byte);

// The byte itself when a unit may keep it in an init string or the comment (BEL, CR and
// 32 to 254 except 127), else 0.
uint8_t filterInitChar(uint8_t byte);

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
