#pragma once
// A command on several units at once. Each unit runs as a corvane-cli of its own (a
// process: one unit's fault, hang or crash cannot touch another, and each has its own
// line, event loop and wire log), started together; their messages come through with the
// unit's name in front, and a summary table closes the run.

#include "cli/CliRequest.h"

namespace RackRun {
// The exit status is the worst of the units'; bad input (a rack line, a port without a
// device, a missing file) stops the run before any unit is started.
int run(const CliRequest& r);
} // namespace RackRun
