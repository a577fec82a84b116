#pragma once
// The synchronizer commands: load everything, and save everything with a compare. Each
// takes the port lease for its whole run (a command that cannot take it does not start),
// needs the port open, shows the progress window around its transfers and reports a
// failure in the problem window.

class FlowHost;

namespace TransferCommands {

void LoadFromSynchronizer(FlowHost& host); // "LOAD from Synchronizer"
void SaveToSynchronizer(FlowHost& host);   // "SAVE to Synchronizer"

// The load after the finder found a unit: the same transfer and texts as "LOAD from
// Synchronizer", for a caller that already holds the lease and has the port open.
void LoadWhileHeld(FlowHost& host);

} // namespace TransferCommands
