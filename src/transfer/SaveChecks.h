#pragma once
// Checks, before a save sends anything, that every value it would write is one the unit
// can hold and a load would take back unchanged. A box filled from a settings file may
// hold any text ("abc", "150", "-5"), and the cell encodings would turn it into bytes
// that are not digits.

#include "model/EditorSnapshot.h"

#include <QString>
#include <QVector>

struct SaveProblem
{
    QString field; // as the editor labels it: "Start Title", "Init String 2"
    QString holds; // what it holds: "\"150\"", "nothing", "600", "20 characters"
    QString range; // what it must be: "a whole number from 1 to 98"

    // "Start Title holds "150"; it must be a whole number from 1 to 98."
    QString sentence() const;
};

// Every value the save would write, in the order it would write them: model and channel
// (only while unlocked), the start and end points in the reading their modes use, titles
// and chapters, the comment and the init strings. The ranges include the tighter bound of
// a start value whose end uses the same field, and "end after start" where a load checks
// it (frame numbers when neither mode is a time, times when both are).
QVector<SaveProblem> checkSaveValues(const EditorSnapshot& editor);

// The text for the problem window: "Cannot Save! ", why, one line per problem, and that
// nothing was sent. Lines end in CR LF.
QString saveProblemText(const QVector<SaveProblem>& problems);
