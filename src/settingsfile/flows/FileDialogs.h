#pragma once
// modFileAccess: the open and save dialogs of the settings-file commands. Each returns
// the chosen path, or "" when the user cancelled; a chosen path also becomes the
// editor's caption.

#include <QString>

class frmMain;

namespace modFileAccess {

// "All Files (*.*)" first, "Text Files (*.txt)" second; the text files are preselected.
QString SettingsFileFilter();
QString SettingsFileSelectedFilter();

// "Corvane 2.0(beta) -- File to Open" / "Corvane 2.0(beta) -- File for Save"
QString OpenDialogTitle();
QString SaveDialogTitle();

QString AskFileToOpen(frmMain& main);
// No overwrite question and no default extension: the name is used as typed.
QString AskFileForSave(frmMain& main);

} // namespace modFileAccess
