// The reply bytes as numbers, through the cell decoders every reader of a unit shares.

#include "comm/modCorvaneComm.h"
#include "model/CellDecode.h"

namespace modCorvaneComm {

int16_t DecodeReplyNumber(const std::array<uint8_t, 2>& bytes)
{
    return static_cast<int16_t>(CellDecode::number(bytes[0], bytes[1]));
}

int16_t DecodeReplyDigit(const std::array<uint8_t, 2>& bytes, uint8_t index)
{
    return static_cast<int16_t>(index > 1 ? -1 : CellDecode::digit(bytes[index]));
}

uint8_t FilterInitChar(uint8_t value)
{
    return CellDecode::filterInitChar(value);
}

} // namespace modCorvaneComm
