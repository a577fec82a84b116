#pragma once
// What the command layer works with: the one serial control, the one timer, the command
// layer's own results, port access and the line's times. The application object owns them; tests
// make their own.

#include "comm/CommTimer.h"
#include "comm/CommandState.h"
#include "comm/MSComm.h"
#include "comm/PortAccess.h"
#include "model/LineTiming.h"

#include <cstdint>
#include <functional>

class FinderSteps;
class ResetWatch;

struct CommContext
{
    MSComm& MSComm1;
    CommTimer& tmrCommTimer;
    CommandState& cmd;
    PortAccess& ports;
    LineTiming timing{}; // the real times unless a test passes scaled ones
    // What was heard on the selected port before a probe started (null: nothing listens).
    ResetWatch* resetWatch = nullptr;
    // Where the listing and the find tell their steps (null: nobody watches).
    FinderSteps* steps = nullptr;
    // Told each time a cell's read is tried again (its address, the attempt from 2 on), for
    // a tool that follows a command live; empty: nobody follows.
    std::function<void(uint8_t address, int attempt)> retried;
};
