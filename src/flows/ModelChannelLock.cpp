#include "flows/ModelChannelLock.h"

#include "editor/EditorModel.h"

void relockIfMarked(EditorModel& e)
{
    if (!e.modelChannelMarked())
        return;
    e.setModelChannelUnlocked(false);
    e.setModelChannelMarked(false);
}

void unlockIfMarked(EditorModel& e, bool modelOrChannelMarked)
{
    if (modelOrChannelMarked)
        e.setModelChannelMarked(true);
    if (e.modelChannelMarked() && !e.modelChannelUnlocked())
        e.setModelChannelUnlocked(true);
    else
        e.setModelChannelMarked(false);
}
