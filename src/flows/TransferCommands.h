#pragma once
// The synchronizer commands: load everything, and save everything with a compare. Each
// takes the port lease for its whole run (a command that cannot take it does not start),
// needs the port open, shows the progress window around its transfers and reports a
// failure in the problem window.

#include "flows/modGetSetAll.h"

class FlowHost;

namespace TransferCommands {

// How a command ended, for callers that act on it (the windows have shown it already).
enum class Outcome
{
    Done,        // a load with no marks, a save whose compare found no difference
    Marked,      // a load that marked fields
    Differences, // a save whose compare found differences
    NotStarted,  // the lease was held or the port not open
    Refused,     // a value the unit cannot hold: nothing was sent
    LineFailed,  // a communication failure
    ProgramError // an unexpected failure, shown in its box
};

// A load's ending, and what it read and found once every cell had come in.
struct LoadOutcome
{
    Outcome outcome = Outcome::NotStarted;
    std::optional<modGetSetAll::LoadFindings> findings;
    QString failure; // LineFailed: the failed exchange's text
};

// A save's ending, how far its writes got, and what its compare read back and found
// different.
struct SaveOutcome
{
    Outcome outcome = Outcome::NotStarted;
    QVector<CellDifference> differences;
    CellSet readBack;
    int writesSent = 0;
    int writesPlanned = 0; // the cells the save set out to write
    QString failure;       // LineFailed: the failed exchange's text
};

Task<LoadOutcome> LoadFromSynchronizer(FlowHost& host); // "LOAD from Synchronizer"
Task<SaveOutcome> SaveToSynchronizer(FlowHost& host);   // "SAVE to Synchronizer"

// The load after the finder found a unit: the same transfer and texts as "LOAD from
// Synchronizer", for a caller that already holds the lease and has the port open.
Task<LoadOutcome> LoadWhileHeld(FlowHost& host);

} // namespace TransferCommands
