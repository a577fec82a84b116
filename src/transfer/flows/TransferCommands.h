#pragma once
// The editor's synchronizer commands: load everything, and save everything with a compare.
// Both need the port open, show the progress window around their transfers and report a
// failure in the problem window. While one runs, the other commands are held off; a
// second start that slips through is ignored.

class frmMain;

namespace TransferCommands {
void LoadFromSynchronizer(frmMain& main); // "LOAD from Synchronizer"
void SaveToSynchronizer(frmMain& main);   // "SAVE to Synchronizer"
} // namespace TransferCommands
