#pragma once
// A load's marks in plain words, with the raw bytes of the cells behind each, for the wire
// log: "Start Title marked red (unreadable): cell 38 bytes 3F 31, set to 1".

#include "model/CellBytes.h"
#include "model/ReadMarks.h"
#include "model/SyncParameters.h"

#include <QStringList>

// The field a mark key stands for ("Start Title").
QString markKeyName(MarkKey key);

// One line per marked key, in key order; `values` is what the load put in the editor.
// The marks a load counts, in plain words ("End Frame: unreadable, set to 1000", "Start
// Title: out of range, set to 99"): every unreadable field, and the corrected fields the
// modes use.
QStringList plainMarkLines(const ReadMarks& marks, const SyncParameters& values);

// The same marks as parts, for scripts: the field, "unreadable" or "out of range", and
// the value the field was set to.
struct PlainMark
{
    QString field;
    QString mark;
    QString value;
};
QList<PlainMark> plainMarks(const ReadMarks& marks, const SyncParameters& values);

QStringList describeMarks(const ReadMarks& marks, const CellSet& cells,
                          const SyncParameters& values);
