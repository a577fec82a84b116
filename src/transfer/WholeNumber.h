#pragma once
// Reading a number out of a text box for a save.

#include <QString>
#include <cstdint>
#include <optional>

// A whole decimal number: optional blanks, an optional "+" or "-", the digits 0 to 9, and
// optional blanks; nothing else (no decimal point, no thousands separator, no exponent).
// Numbers too large for 64 bits come back as the largest 64-bit value of their sign, which
// lies outside every range the unit knows. Anything else is not a number.
std::optional<int64_t> parseWholeNumber(const QString& text);
