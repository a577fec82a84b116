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

PointReading point(const std::array<CellBytes, 4>& cells)
{
    const int a = number(cells[0]);   // digits 6 and 5
    const int b = number(cells[1]);   // digits 4 and 3
    const int c = number(cells[2]);   // digits 2 and 1
    const int d = digit(cells[3].d0); // digit 0; the second byte carries nothing
    if (a < 0 || b < 0 || c < 0 || d < 0)
        return {};
    PointReading r;
    r.frame = a * 100000 + b * 1000 + c * 10 + d;
    r.minutes = b * 10 + c / 10;
    r.seconds = (c % 10) * 10 + d;
    return r;
}

int startModeCode(CellBytes modeCell)
{
    return modeCell.d0 & 3;
}
int endModeCode(CellBytes modeCell)
{
    return (modeCell.d0 & 12) / 4;
}

} // namespace CellDecode
