#pragma once
// Whole-device transfers between the editor and the synchronizer on the open port.
// Callers hold the port lease and show and hide the progress window around them; each
// sets its bar's maximum and value, and holds the editor's file commands off while it
// runs (see TransferGuard).

#include "model/CellBytes.h"
#include "transfer/CompareCells.h"
#include "transfer/LoadValidation.h"
#include "transfer/MarkPlan.h"

#include <QString>
#include <QVector>
#include <cstdint>
#include <optional>

class FlowHost;
struct SavePlan;

namespace modGetSetAll {

// What a load read and made of it, once every cell had come in.
struct LoadFindings
{
    CellSet cells;
    LoadResult loaded;  // the decoded values and their marks
    MarkPlan plan;      // the highlights shown and what they count
    QString reportText; // the marks box's text; empty without marks
};

struct LoadRun
{
    int16_t status = 0; // as GetAllFromCorvane returns it
    std::optional<LoadFindings> findings;
};

// What a compare read back and found.
struct CompareRun
{
    int16_t status = 0; // as CompareAllFromCorvane returns it
    QVector<CellDifference> differences;
    CellSet readBack;
};

// Statuses below zero.
constexpr int16_t CommunicationFailed = -1; // the caller shows the communication text
constexpr int16_t AlreadyReported = -2;     // a box or the problem window has said why already

// Reads every parameter cell, validates, fills the editor, marks and reports in a box.
// CommunicationFailed (nothing in the editor changed), AlreadyReported after a program
// error box, otherwise the number of problems marked.
int16_t GetAllFromCorvane(FlowHost& host);
// The same, with what it read and found.
LoadRun LoadAll(FlowHost& host);

// Writes every cell of a checked plan (see buildSavePlan): 0, or CommunicationFailed when
// a frame did not go out. A plan with problems sends nothing: the problem window names
// them, and the result is AlreadyReported, as after a program error.
int16_t SetAllToCorvane(FlowHost& host, const SavePlan& plan);

// Reads the written cells back: the number of differences from what the editor shows,
// CommunicationFailed, or AlreadyReported after a program error box.
int16_t CompareAllFromCorvane(FlowHost& host);
CompareRun CompareAll(FlowHost& host);

} // namespace modGetSetAll
