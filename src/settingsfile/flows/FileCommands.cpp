#include "settingsfile/flows/FileCommands.h"

// The file flows arrive with the settings-file window.
namespace FileCommands {
void LoadFromFile(frmMain&) {}
void SaveToFile(frmMain&) {}
} // namespace FileCommands
