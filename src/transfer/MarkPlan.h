#pragma once
// Which highlight shapes a load shows, in which colour, and what it counts.

#include "model/ReadMarks.h"
#include "model/SyncParameters.h"

#include <QString>
#include <QVector>

enum class MarkColour
{
    Red,
    Yellow
};

struct ShapeMark
{
    QString shape; // objectName of the highlight shape, e.g. "shpHiLiteStartMinutes"
    MarkColour colour = MarkColour::Red;
};

struct MarkPlan
{
    QVector<ShapeMark> shapes;        // in key order; a time key brings its minutes and seconds
    int red = 0;                      // unreadable keys, shown or not
    int yellow = 0;                   // corrected keys in use (a red key is not counted again)
    bool modelChannelFlagged = false; // Model or Channel has a flag of either kind
    int problemCount() const { return red + yellow; }
};

// A key is in use when the editor shows its field under the given modes: Model, Channel
// and StartTitle always, the others only in their mode. A red key is counted even when
// not in use (its value was replaced all the same); a yellow one only when in use.
bool markKeyInUse(MarkKey key, PointMode startMode, PointMode endMode);
MarkPlan markPlan(const ReadMarks& marks, PointMode startMode, PointMode endMode);
