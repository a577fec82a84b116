#include "model/CellDecode.h"

namespace CellDecode {

int number(uint8_t d0, uint8_t d1)
{
    int tens = digit(d0);
    int units = digit(d1);
    if (d1 == ' ') {
        // A single digit written in the first place: "5 " is 5.
        units = tens;
        tens = 0;
    }
    if (tens < 0 || units < 0)
        return -1;
    return tens * 10 + units;
}

int digit(uint8_t byte)
{
    if (byte >= '0' && byte <= '9')
        return byte - '0';
    if (byte == ' ')
        return 0;
    return -1;
}

uint8_t filterInitChar(uint8_t byte)
{
    const bool allowed = byte == 7 || byte == 13 || (byte >= 32 && byte <= 254 && byte != 127);
    return allowed ? byte : 0;
}

} // namespace CellDecode
