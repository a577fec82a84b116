#pragma once
// Which cell of a synchronizer holds which parameter.

#include <cstdint>

namespace CellAddress {
constexpr uint8_t StartPoint = 0x30; // four cells, 0x30 to 0x33
constexpr uint8_t EndPoint = 0x34;   // four cells, 0x34 to 0x37
constexpr uint8_t StartTitle = 0x38;
constexpr uint8_t EndTitle = 0x39;
constexpr uint8_t StartChapter = 0x3A;
constexpr uint8_t EndChapter = 0x3B;
constexpr uint8_t Mode = 0x3C;
constexpr uint8_t Option = 0x3D;
constexpr uint8_t Channel = 0x3E;
constexpr uint8_t Model = 0x3F;
// Eight cells no field uses: a load does not read them and a save does not write them.
constexpr uint8_t FirstUnsaved = 0x40;
constexpr uint8_t LastUnsaved = 0x47;
constexpr uint8_t Comment = 0x48; // eight cells, 0x48 to 0x4F
constexpr uint8_t InitStr = 0x50; // thirty-two cells, 0x50 to 0x6F

constexpr int PointCells = 4;
constexpr int CommentCells = 8;
constexpr int InitStrCells = 32;

// The whole range a unit answers to: "0" to "o".
constexpr uint8_t First = 0x30;
constexpr uint8_t Last = 0x6F;
} // namespace CellAddress
