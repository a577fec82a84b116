#include "flows/TransferGuard.h"

#include "flows/EditorView.h"
#include "flows/FlowHost.h"

TransferGuard::TransferGuard(FlowHost& host)
    : host_(host), outermost_(!host.editor().model().transferRunning())
{
    if (!outermost_)
        return;
    host_.editor().model().setTransferRunning(true);
    host_.editor().setTransferCommandsEnabled(false);
}

TransferGuard::~TransferGuard()
{
    if (!outermost_)
        return;
    host_.editor().model().setTransferRunning(false);
    host_.editor().setTransferCommandsEnabled(true);
}
