#pragma once
// The editor's settings-file commands.

class FlowHost;

namespace FileCommands {

// "LOAD from File": asks for a file, reads it and previews it; the editor changes only
// when the preview is accepted.
void LoadFromFile(FlowHost& host);
// " SAVE to   File": builds the twenty lines from the editor, asks for a file name and
// replaces that file as a whole.
void SaveToFile(FlowHost& host);
// The preview's OK: applies the kept lines to the editor.
void ApplyPreviewedFile(FlowHost& host);

} // namespace FileCommands
