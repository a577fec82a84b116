#pragma once
// The settings-file dialogs: captions, filters, and the chosen file's name in the
// editor's caption.

#include <QString>

class FlowHost;

namespace modFileAccess {

QString SettingsFileFilter();         // "All Files (*.*);;Text Files (*.txt)"
QString SettingsFileSelectedFilter(); // "Text Files (*.txt)"
QString OpenDialogTitle();
QString SaveDialogTitle();

// The chosen path, or "" when cancelled. A chosen file names the editor window.
QString AskFileToOpen(FlowHost& host);
QString AskFileForSave(FlowHost& host);

} // namespace modFileAccess
