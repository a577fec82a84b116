#include "app/DebugFillBytes.h"

#include <cmath>

uint8_t DebugFillBytes::draw()
{
    // 32 random bits as a fraction in [0, 1); the same on every platform.
    const double unit = static_cast<double>(generator_()) / 4294967296.0;
    return static_cast<uint8_t>(std::lround(unit * 255.0));
}

std::array<uint8_t, 2> DebugFillBytes::nextPair()
{
    auto isFrameMarker = [](uint8_t b) { return b == 10 || b == 13; };
    for (;;) {
        uint8_t first = draw();
        while (isFrameMarker(first))
            first = draw();
        const uint8_t second = draw();
        if (!isFrameMarker(second))
            return {first, second};
    }
}
