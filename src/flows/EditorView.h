#pragma once
// The editor as the flows (load, save, compare, settings files, defaults) see it: the
// editor model, which holds every field and runs every handler, and the few things only a
// window has. A host without a window leaves those as they are.

#include "editor/EditorModel.h"

#include <QString>

class EditorView
{
public:
    virtual ~EditorView() = default;

    virtual EditorModel& model() = 0;

    // A frame box being typed in has its text committed now, on the values it was typed
    // against (the window: the focus leaves it).
    virtual void settleFrameEdit() {}
    virtual void showConnected(bool) {}
    virtual void setCaption(const QString&) {}
    // The file commands and Defaults, held off while a transfer runs.
    virtual void setTransferCommandsEnabled(bool) {}
};
