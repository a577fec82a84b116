#pragma once
// Everything a save will write, worked out from the editor before the first byte goes out.

#include "model/CellBytes.h"
#include "model/EditorSnapshot.h"
#include "transfer/SaveChecks.h"

#include <QString>
#include <QVector>

struct CellWrite
{
    uint8_t address = 0;
    CellBytes bytes;
    bool advancesBar = true; // model and channel do not move the progress bar
};

struct SavePlan
{
    // The cells in write order (56 unlocked, 54 locked); empty when there are problems.
    QVector<CellWrite> writes;

    // Values the unit cannot hold; when any is present nothing may be sent, and
    // problemText says which field holds what and what it must be.
    QVector<SaveProblem> problems;
    QString problemText;

    // What the save stores in the parameter record as it writes.
    PointMode StartMode = PointMode::Chapter;
    PointMode EndMode = PointMode::Chapter;
    uint16_t OptionBits = 0;
    bool Synchronize = false;
    bool Squelch = false;

    bool ok() const { return problems.isEmpty(); }
};

SavePlan buildSavePlan(const EditorSnapshot& editor);
