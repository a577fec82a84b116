#pragma once
// The check after a save: which of the cells read back differ from what the editor shows.

#include "model/CellBytes.h"
#include "model/EditorSnapshot.h"

#include <QString>
#include <QVector>

// One difference: the first cell it was read from, the field that cell holds, what the
// editor showed and what came back (the raw cell bytes when they did not decode).
struct CellDifference
{
    uint8_t address = 0;
    QString field;
    QString expected;
    QString read;
};

// One difference per mismatching number cell, per mode cell, per option switch, per
// comment or init-string cell, and per point: one for an unreadable point, else one for
// a different frame number, or in a time mode one each for minutes and seconds. A cell
// that does not decode always counts. Model and channel are compared only while
// unlocked. The modes are those the save stored, not the snapshot's.
QVector<CellDifference> findDifferences(const EditorSnapshot& expected, PointMode startMode,
                                        PointMode endMode, const CellSet& readBack);

inline int countDifferences(const EditorSnapshot& expected, PointMode startMode, PointMode endMode,
                            const CellSet& readBack)
{
    return static_cast<int>(findDifferences(expected, startMode, endMode, readBack).size());
}

// The same differences one per field, for a person: the cells of the comment and of the
// init strings become one difference each, with the texts quoted ("Rack 3" against "");
// the init strings are joined by " | ".
QVector<CellDifference> differencesByField(const QVector<CellDifference>& found,
                                           const EditorSnapshot& expected, const CellSet& readBack);

// "cell 3F (Model): expected "22", read "23"", for the wire log.
QString describeDifference(const CellDifference& d);
