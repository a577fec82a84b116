#pragma once
// What the command layer works with: the one serial control, the one timer, the command
// layer's own results and port access. The application object owns them; tests make
// their own.

#include "comm/CommTimer.h"
#include "comm/CommandState.h"
#include "comm/MSComm.h"
#include "comm/PortAccess.h"

struct CommContext
{
    MSComm& MSComm1;
    CommTimer& tmrCommTimer;
    CommandState& cmd;
    PortAccess& ports;
};
