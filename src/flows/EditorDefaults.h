#pragma once
// Putting the default parameter set into the editor, and clearing the load marks.

class EditorModel;

namespace modCorvaneComm {
void SetDefaults(EditorModel& editor);
// Hides every highlight and forgets the load's flags.
void ClearHighlights(EditorModel& editor);
} // namespace modCorvaneComm
