#include "flows/ModelChannelLock.h"

#include "flows/EditorView.h"
#include "model/Globals.h"

void relockIfMarked(Globals& g, EditorView& editor)
{
    if (!g.ModelChannelMarked)
        return;
    g.ModelChannelUnlocked = false;
    editor.showModelChannelUnlocked(false);
    g.ModelChannelMarked = false;
}

void unlockIfMarked(Globals& g, EditorView& editor, bool modelOrChannelMarked)
{
    if (modelOrChannelMarked)
        g.ModelChannelMarked = true;
    if (g.ModelChannelMarked && !g.ModelChannelUnlocked) {
        g.ModelChannelUnlocked = true;
        editor.showModelChannelUnlocked(true);
    } else {
        g.ModelChannelMarked = false;
    }
}
