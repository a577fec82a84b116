#pragma once
// The editor's settings-file commands, each returning how it ended.

#include "comm/Await.h"

#include <QString>

class FlowHost;

namespace FileCommands {

enum class FileOutcome
{
    Cancelled,  // no file was chosen
    Previewed,  // LOAD: read and shown in the preview
    Saved,      // SAVE: the file holds the twenty lines
    Unreadable, // LOAD: the file could not be read; nothing changed
    NotSaved    // SAVE: the file could not be written; the old one stays
};

struct FileResult
{
    FileOutcome outcome = FileOutcome::Cancelled;
    QString path;
    QString failure; // why, for Unreadable and NotSaved (also shown in a box)
};

// "LOAD from File": asks for a file, reads it and previews it; the editor changes only
// when the preview is accepted.
Task<FileResult> LoadFromFile(FlowHost& host);
// " SAVE to   File": builds the twenty lines from the editor, asks for a file name and
// replaces that file as a whole.
Task<FileResult> SaveToFile(FlowHost& host);
// The preview's OK: applies the kept lines to the editor.
void ApplyPreviewedFile(FlowHost& host);

} // namespace FileCommands
