#pragma once
// What a settings file saves, read from the editor's controls as they stand.

#include "settingsfile/SettingsLines.h"

class frmMain;

namespace modFileAccess {
// Texts of the number boxes as shown (a frame number still being typed included), the
// first selected option of each mode group, the switches, and the init strings and
// comment as the editor stores them.
EditorFields EditorFieldsFrom(const frmMain& main);
} // namespace modFileAccess
