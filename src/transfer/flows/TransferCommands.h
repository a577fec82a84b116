#pragma once
// The editor's synchronizer commands: load everything, and save everything with a compare.

class frmMain;

namespace TransferCommands {
void LoadFromSynchronizer(frmMain& main); // "LOAD from Synchronizer"
void SaveToSynchronizer(frmMain& main);   // "SAVE to Synchronizer"
} // namespace TransferCommands
