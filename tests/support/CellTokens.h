#pragma once
// Unit memory written as short tokens: the one way every test writes cells.
//   "3F=22"          cell 0x3F holds "22"
//   "modes=C/M"      start Chapter, end Time (T Title, C Chapter, M Time, F Frame)
//   "start=0001205"  a point as seven characters over its four cells ("end=..." likewise)
//   "comment=Hi"     the eight comment cells, BEL after the text
//   "init=AB\rCD\r"  the thirty-two init-string cells, BEL after the text

#include "model/CellBytes.h"
#include "model/SyncParameters.h"

#include <QStringList>

namespace CellTokens {

inline PointMode modeFromLetter(QChar c)
{
    return PointMode(QStringLiteral("TCMF").indexOf(c));
}

inline void putText(CellSet& cells, uint8_t first, int count, const QByteArray& text)
{
    const QByteArray padded = text.leftJustified(2 * count, '\a', true);
    for (int i = 0; i < count; ++i)
        cells.set(first + i, {uint8_t(padded[2 * i]), uint8_t(padded[2 * i + 1])});
}

inline void apply(CellSet& cells, const QStringList& tokens)
{
    for (const QString& t : tokens) {
        const QString key = t.section(u'=', 0, 0);
        const QByteArray value = t.section(u'=', 1).toLatin1();
        if (key == "modes")
            cells.set(0x3C, {uint8_t(0x30 + 4 * int(modeFromLetter(value.at(2))) +
                                     int(modeFromLetter(value.at(0)))),
                             '0'});
        else if (key == "start" || key == "end")
            putText(cells, key == "start" ? 0x30 : 0x34, 4, value + '0');
        else if (key == "comment")
            putText(cells, 0x48, 8, value);
        else if (key == "init")
            putText(cells, 0x50, 32, value);
        else
            cells.set(uint8_t(key.toInt(nullptr, 16)),
                      {uint8_t(value.at(0)), uint8_t(value.at(1))});
    }
}

// Writes the tokens' cells into anything with setCell(address, d0, d1): a simulated unit.
template <typename Unit> void put(Unit& unit, const QStringList& tokens)
{
    CellSet cells;
    apply(cells, tokens);
    for (int a = 0; a < 256; ++a)
        if (cells.has(uint8_t(a)))
            unit.setCell(a, cells.get(uint8_t(a)).d0, cells.get(uint8_t(a)).d1);
}

} // namespace CellTokens
