#include "transfer/flows/TransferGuard.h"

#include "app/CorvaneApp.h"
#include "app/frmMain.h"

TransferGuard::TransferGuard(frmMain& main) : main_(main), outermost_(!main.app.g.TransferRunning)
{
    if (!outermost_)
        return;
    main_.app.g.TransferRunning = true;
    main_.setCommandsEnabled(false);
}

TransferGuard::~TransferGuard()
{
    if (!outermost_)
        return;
    main_.app.g.TransferRunning = false;
    main_.setCommandsEnabled(true);
}
