#include "transfer/flows/ModelChannelLock.h"

#include "app/CorvaneApp.h"
#include "app/frmMain.h"

void relockIfMarked(frmMain& main)
{
    Globals& g = main.app.g;
    if (!g.ModelChannelMarked)
        return;
    g.ModelChannelUnlocked = false;
    main.ShowModelChannelUnlocked(false);
    g.ModelChannelMarked = false;
}

void unlockIfMarked(frmMain& main, bool modelOrChannelMarked)
{
    Globals& g = main.app.g;
    if (modelOrChannelMarked)
        g.ModelChannelMarked = true;
    if (g.ModelChannelMarked && !g.ModelChannelUnlocked) {
        g.ModelChannelUnlocked = true;
        main.ShowModelChannelUnlocked(true);
    } else {
        g.ModelChannelMarked = false;
    }
}
