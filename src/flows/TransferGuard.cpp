#include "flows/TransferGuard.h"

#include "flows/EditorView.h"
#include "flows/FlowHost.h"

TransferGuard::TransferGuard(FlowHost& host)
    : host_(host), outermost_(!host.globals().TransferRunning)
{
    if (!outermost_)
        return;
    host_.globals().TransferRunning = true;
    host_.editor().setTransferCommandsEnabled(false);
}

TransferGuard::~TransferGuard()
{
    if (!outermost_)
        return;
    host_.globals().TransferRunning = false;
    host_.editor().setTransferCommandsEnabled(true);
}
