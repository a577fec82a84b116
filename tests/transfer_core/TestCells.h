#pragma once
// Hand-built unit memory for the tests: cells written as text, the way they sit in a unit.

#include "model/SyncParameters.h"
#include "transfer/CellBytes.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace TestCells {

inline CellBytes bytes(const QByteArray& two)
{
    return {uint8_t(two.at(0)), uint8_t(two.at(1))};
}

inline char modeLetter(PointMode m)
{
    return "TCMF"[int(m)];
}
inline PointMode modeFromLetter(QChar c)
{
    return PointMode(QStringLiteral("TCMF").indexOf(c));
}

// Applies tokens to a cell set:
//   "3F=22"       cell 0x3F holds "22"
//   "modes=C/M"   mode cell for start Chapter, end Time (T Title, C Chapter, M Time, F Frame)
//   "start=0005000", "end=00010A0"   a point as seven characters over four cells
inline void apply(CellSet& cells, const QStringList& tokens)
{
    for (const QString& t : tokens) {
        const QString key = t.section(u'=', 0, 0);
        const QByteArray value = t.section(u'=', 1).toLatin1();
        if (key == QLatin1String("modes")) {
            const int code =
                4 * int(modeFromLetter(value.at(2))) + int(modeFromLetter(value.at(0)));
            cells.set(0x3C, {uint8_t(0x30 + code), '0'});
        } else if (key == QLatin1String("start") || key == QLatin1String("end")) {
            const uint8_t first = key == QLatin1String("start") ? 0x30 : 0x34;
            for (int i = 0; i < 3; ++i)
                cells.set(first + i, bytes(value.mid(2 * i, 2)));
            cells.set(first + 3, {uint8_t(value.at(6)), '0'});
        } else {
            cells.set(uint8_t(key.toInt(nullptr, 16)), bytes(value));
        }
    }
}

// A unit holding the default set: model 22 channel 1, Chapter to Chapter, start frame 1,
// end frame 1000, titles 1 and 2, chapters 1 and 2, both switches on, "0KL0DS", no comment.
inline CellSet defaultUnit()
{
    CellSet cells;
    apply(cells, {"3F=22", "3E=01", "modes=C/C", "start=0000001", "end=0001000", "38=01", "39=02",
                  "3A=01", "3B=02", "3D=7<"});
    const QByteArray init = QByteArray("0KL0DS\r").leftJustified(64, '\a');
    for (int i = 0; i < 32; ++i)
        cells.set(0x50 + i, bytes(init.mid(2 * i, 2)));
    for (int i = 0; i < 8; ++i)
        cells.set(0x48 + i, {7, 7});
    return cells;
}

inline void putText(CellSet& cells, uint8_t first, int count, const QByteArray& text)
{
    const QByteArray padded = text.leftJustified(2 * count, '\a', true);
    for (int i = 0; i < count; ++i)
        cells.set(first + i, bytes(padded.mid(2 * i, 2)));
}

} // namespace TestCells
