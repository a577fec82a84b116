#pragma once
// Putting the default parameter set into the editor, and clearing the load marks.

struct Globals;
class EditorView;

namespace modCorvaneComm {
void SetDefaults(Globals& g, EditorView& editor);
void ClearHighlights(Globals& g, EditorView& editor);
} // namespace modCorvaneComm
