#pragma once
// Turning parameter values into the bytes a save writes to a unit's cells. Callers check
// ranges first (SaveChecks): these functions assume values the unit can hold.

#include "model/CellBytes.h"
#include "model/SyncParameters.h"

#include <array>
#include <cstdint>

namespace CellEncode {

// 0 to 99 as two decimal characters: 7 is "07", 42 is "42".
CellBytes twoDigit(int n);

// A point value of up to seven digits over four cells: digits 6-5, 4-3, 2-1, then digit 0
// followed by "0". 1079999 is "10", "79", "99", "90".
std::array<CellBytes, 4> point(int32_t n);

// A time as the unit keeps it in a point: minutes * 100 + seconds.
int32_t timePointValue(int minutes, int seconds);

// The character 0x30 + 4 * end mode + start mode, then "0".
CellBytes modeCell(PointMode start, PointMode end);

// Baud code 7 (9600) always, then the character 0x30 + OptionBits.
CellBytes optionCell(uint16_t optionBits);

} // namespace CellEncode
