#include "transfer/CellEncode.h"

namespace CellEncode {

namespace {
uint8_t digitChar(int d)
{
    return static_cast<uint8_t>('0' + d);
}
} // namespace

CellBytes twoDigit(int n)
{
    return {digitChar(n / 10), digitChar(n % 10)};
}

std::array<CellBytes, 4> point(int32_t n)
{
    std::array<int, 7> digits{}; // digits[6] is the millions
    int32_t rest = n;
    int32_t power = 1000000;
    for (int i = 6; i >= 0; --i) {
        digits[i] = rest / power;
        rest -= digits[i] * power;
        power /= 10;
    }
    return {CellBytes{digitChar(digits[6]), digitChar(digits[5])},
            CellBytes{digitChar(digits[4]), digitChar(digits[3])},
            CellBytes{digitChar(digits[2]), digitChar(digits[1])},
            CellBytes{digitChar(digits[0]), '0'}};
}

int32_t timePointValue(int minutes, int seconds)
{
    return minutes * 100 + seconds;
}

CellBytes modeCell(PointMode start, PointMode end)
{
    const int code = 4 * static_cast<int>(end) + static_cast<int>(start);
    return {static_cast<uint8_t>(0x30 + code), '0'};
}

CellBytes optionCell(uint16_t optionBits)
{
    return {static_cast<uint8_t>('0' + Limits::Baud9600Code),
            static_cast<uint8_t>(0x30 + optionBits)};
}

} // namespace CellEncode
