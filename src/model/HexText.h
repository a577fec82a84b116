#pragma once
// A byte as two upper-case hex digits ("3F"), as the unit's cells are shown everywhere.

#include <QString>
#include <cstdint>

inline QString hexByte(uint8_t b)
{
    return QStringLiteral("%1").arg(b, 2, 16, QLatin1Char('0')).toUpper();
}
