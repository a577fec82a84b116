#pragma once
// Putting the default parameter set into the editor, and clearing the load marks.

class frmMain;

namespace modCorvaneComm {
void SetDefaults(frmMain& main);
void ClearHighlights(frmMain& main);
} // namespace modCorvaneComm
