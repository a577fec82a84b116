#pragma once
// The settings-file dialogs: captions, filters, and the chosen file's name in the
// editor's caption.

#include "comm/Await.h"

#include <QString>

class FlowHost;

namespace modFileAccess {

QString SettingsFileFilter();         // "All Files (*.*);;Text Files (*.txt)"
QString SettingsFileSelectedFilter(); // "Text Files (*.txt)"
QString OpenDialogTitle();
QString SaveDialogTitle();

// The chosen path, or "" when cancelled. A chosen file names the editor window.
Task<QString> AskFileToOpen(FlowHost& host);
Task<QString> AskFileForSave(FlowHost& host);

} // namespace modFileAccess
