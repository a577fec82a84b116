#pragma once
// The model/channel lock as the transfers move it. A load that finds the model or channel
// wrong unlocks them so the user can correct them (ModelChannelMarked); the next load, or
// a compare that read everything back, locks them again. A lock the user opened with the
// key sequence stays open.

class EditorModel;

// Locks model and channel again when a load had unlocked them; clears ModelChannelMarked.
void relockIfMarked(EditorModel& editor);
// After a load has marked fields: unlocks model and channel when either is marked and
// they are locked; otherwise ModelChannelMarked ends False.
void unlockIfMarked(EditorModel& editor, bool modelOrChannelMarked);
