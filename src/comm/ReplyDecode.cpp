// The reply bytes as numbers, through the cell decoders every reader of a unit shares.

#include "comm/modCorvaneComm.h"
#include "model/CellDecode.h"

namespace modCorvaneComm {

int16_t DecodeReplyNumber(const CommandState& state)
{
    return static_cast<int16_t>(CellDecode::number(state.ReplyBytes[0], state.ReplyBytes[1]));
}

int16_t DecodeReplyDigit(const CommandState& state, uint8_t index)
{
    return static_cast<int16_t>(index > 1 ? -1 : CellDecode::digit(state.ReplyBytes[index]));
}

uint8_t FilterInitChar(uint8_t value)
{
    return CellDecode::filterInitChar(value);
}

} // namespace modCorvaneComm
