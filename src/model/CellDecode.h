#pragma once
// Turning the two data bytes a unit keeps in one cell into numbers and text bytes. Pure
// functions of the bytes, shared by the command layer and the whole-device transfers.

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

} // namespace CellDecode
