#pragma once
// Whole-device transfers between the editor and the synchronizer on the open port.
// Each is a coroutine that reads step by step like the algorithm it carries out.
// Callers hold the port lease and show and hide the progress window around them; each
// sets its bar's maximum and value, and holds the editor's file commands off while it
// runs (see TransferGuard).

#include "comm/Await.h"
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
    QString failure; // after CommunicationFailed: the failed exchange's text
};

// How far a save's writes got.
struct SetRun
{
    int16_t status = 0; // as SetAllToCorvane returns it
    int writesSent = 0; // write frames that went to the line
    QString failure;    // after CommunicationFailed: the failed exchange's text
};

// What a compare read back and found.
struct CompareRun
{
    int16_t status = 0; // as CompareAllFromCorvane returns it
    QVector<CellDifference> differences;
    CellSet readBack;
    QString failure; // after CommunicationFailed: the failed exchange's text
};

// Statuses below zero.
constexpr int16_t CommunicationFailed = -1; // the caller shows the communication text
constexpr int16_t AlreadyReported = -2;     // a box or the problem window has said why already

// Reads every parameter cell, validates, fills the editor, marks and reports in a box.
// CommunicationFailed (nothing in the editor changed), AlreadyReported after a program
// error box, otherwise the number of problems marked.
Task<int16_t> GetAllFromCorvane(FlowHost& host);
// The same, with what it read and found.
Task<LoadRun> LoadAll(FlowHost& host);

// Writes every cell of a checked plan (see buildSavePlan): 0, or CommunicationFailed when
// a frame did not go out. A plan with problems sends nothing: the problem window names
// them, and the result is AlreadyReported, as after a program error.
Task<int16_t> SetAllToCorvane(FlowHost& host, SavePlan plan);
// The same, with how far the writes got.
Task<SetRun> SetAll(FlowHost& host, SavePlan plan);

// Reads the written cells back: the number of differences from what the editor shows,
// CommunicationFailed, or AlreadyReported after a program error box.
Task<int16_t> CompareAllFromCorvane(FlowHost& host);
Task<CompareRun> CompareAll(FlowHost& host);

} // namespace modGetSetAll
