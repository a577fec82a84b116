// Turning the two data bytes of a reply into numbers, and the init-string byte filter.

#include "comm/modCorvaneComm.h"

namespace modCorvaneComm {

namespace {
constexpr int Invalid = -1;

int digitValue(uint8_t b)
{
    return b >= '0' && b <= '9' ? b - '0' : Invalid;
}
} // namespace

int16_t DecodeReplyNumber(const Globals& g)
{
    const uint8_t first = g.ReplyBytes[0];
    const uint8_t second = g.ReplyBytes[1];

    int tens = first == ' ' ? 0 : digitValue(first);
    int units = Invalid;
    if (second == ' ') {
        // A single digit: it was the tens byte that held it.
        if (tens != Invalid) {
            units = tens;
            tens = 0;
        }
    } else {
        units = digitValue(second);
    }
    if (tens == Invalid || units == Invalid)
        return Invalid;
    return static_cast<int16_t>(tens * 10 + units);
}

int16_t DecodeReplyDigit(const Globals& g, uint8_t index)
{
    if (index > 1)
        return Invalid;
    const uint8_t b = g.ReplyBytes[index];
    return static_cast<int16_t>(b == ' ' ? 0 : digitValue(b));
}

uint8_t FilterInitChar(uint8_t value)
{
    const bool allowed = value == 7 || value == 13 || (value >= 32 && value <= 254 && value != 127);
    return allowed ? value : 0;
}

} // namespace modCorvaneComm
