#pragma once
// What the command layer works with: the one serial control, the one timer and the
// process-wide state. The editor window owns the first two; tests make their own.

#include "comm/CommTimer.h"
#include "comm/MSComm.h"
#include "model/Globals.h"

struct CommContext
{
    MSComm& MSComm1;
    CommTimer& tmrCommTimer;
    Globals& g;
};
