#pragma once
// The editor's settings-file commands.

class frmMain;

namespace FileCommands {
// "LOAD from File": asks for a file, reads it and previews it in frmFileInput; the
// editor changes only when the preview is accepted.
void LoadFromFile(frmMain& main);
// " SAVE to   File": builds the twenty lines from the editor, asks for a file name and
// replaces that file as a whole.
void SaveToFile(frmMain& main);
} // namespace FileCommands
