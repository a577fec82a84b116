#pragma once
// Putting a loaded, validated parameter set into the editor, and showing its marks.

#include "model/SyncParameters.h"
#include "transfer/MarkPlan.h"

class EditorModel;

class EditorView;

// Fills every control so that the editor's own handlers run, with the linked-field
// adjustment off while the values go in: a loaded start may stand after its end in a field
// the modes do not use. The modes are selected afterwards without the frame checks, which
// would otherwise push a frame number that a time mode shares its cells with.
void fillEditor(EditorView& editor, const SyncParameters& values);

// Shows the planned highlight shapes in their colours and moves the model/channel lock.
// Throws std::logic_error for a shape the window does not have.
void showLoadMarks(EditorModel& editor, const MarkPlan& plan);
