#pragma once
// The random data bytes the debug window's RandFill writes. The generator starts from a
// fixed seed, never from the clock: every run of the application writes the same bytes
// from its first RandFill on. The application object keeps the one of its run.

#include <array>
#include <cstdint>
#include <random>

class DebugFillBytes
{
public:
    // A random number in [0, 1) times 255, rounded: 0 to 255.
    uint8_t draw();
    // The two data bytes of one cell. Neither is LF or CR, the frame markers of the
    // line: a pair that holds one is drawn anew as a whole.
    std::array<uint8_t, 2> nextPair();

private:
    std::mt19937 generator_; // default seed
};
