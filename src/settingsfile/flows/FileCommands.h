#pragma once
// The editor's settings-file commands.

class frmMain;

namespace FileCommands {
void LoadFromFile(frmMain& main); // "LOAD from File"
void SaveToFile(frmMain& main);   // " SAVE to   File"
} // namespace FileCommands
