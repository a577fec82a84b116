#pragma once
// Reading a frame number box the way the editor does: the number at the start of the
// text, blanks ignored, rounded to a whole number with halves going to the even
// neighbour; a text without a leading number is 0. Numbers beyond the 32-bit range
// are held at its ends, so the range checks that follow clamp them like any other.

#include <QString>
#include <cstdint>

namespace FrameNumber {
int32_t leadingNumber(const QString& text);
} // namespace FrameNumber
