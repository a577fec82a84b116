#pragma once
// A command on several units at once, in this process: each unit has a host of its own
// (its line, timer, lease, editor and wire log), all run side by side, their messages
// come with the unit's name in front, and a summary table closes the run.

#include "cli/CliRequest.h"
#include "comm/Await.h"
#include "model/LineTiming.h"

namespace RackRun {
// The exit status is the worst of the units'; bad input (a rack line, a port without a
// device, an address that is not one, a missing file, one unit named twice) stops the run
// before any unit hears a frame.
Task<int> run(CliRequest r, LineTiming timing);
} // namespace RackRun
