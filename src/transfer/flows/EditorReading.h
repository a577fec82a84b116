#pragma once
// What a save writes and the compare expects, read from the editor's controls as they
// stand: box texts unchanged (a settings file may have put anything there), spinner
// values, selected options and switches.

#include "transfer/EditorSnapshot.h"

class frmMain;

EditorSnapshot readEditor(const frmMain& main);
