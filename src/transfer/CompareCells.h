#pragma once
// The check after a save: how many of the cells read back differ from what the editor
// shows.

#include "model/CellBytes.h"
#include "model/EditorSnapshot.h"

// Counts one difference per mismatching number cell, per mode cell, per option switch,
// per comment or init-string cell, and per point: one for an unreadable point, else one
// for a different frame number, or in a time mode one each for minutes and seconds. A
// cell that does not decode always counts. Model and channel are compared only while
// unlocked. The modes are those the save stored, not the snapshot's.
int countDifferences(const EditorSnapshot& expected, PointMode startMode, PointMode endMode,
                     const CellSet& readBack);
