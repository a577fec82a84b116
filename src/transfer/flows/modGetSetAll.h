#pragma once
// Whole-device transfers between the editor window and the synchronizer on the open port.

#include <cstdint>

class frmMain;

namespace modGetSetAll {
// Reads every parameter cell, validates, fills the editor, marks and reports.
// -1 when the unit could not be reached (nothing in the editor changed), otherwise the
// number of problems marked.
int16_t GetAllFromCorvane(frmMain& main);
// Writes every parameter cell from the editor. 0, or -1 when a frame did not go out.
int16_t SetAllToCorvane(frmMain& main);
// Reads the written cells back. -1 for a communication failure, else the differences.
int16_t CompareAllFromCorvane(frmMain& main);
} // namespace modGetSetAll
