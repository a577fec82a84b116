#pragma once
// The tool's commands. Each returns its exit status (see ExitCode); results go to
// standard output, messages and progress to standard error.

#include "cli/CliHost.h"
#include "cli/CliRequest.h"

namespace CliCommands {

// Each command is a coroutine: it waits on its unit's line without holding the thread,
// so several units' commands run side by side in one process.
Task<int> ports(CliHost& host);
Task<int> find(CliHost& host, CliRequest r);
// find without a port: every usable port at once, each unit told as soon as it is heard.
Task<int> findEverywhere(CliHost& host, CliRequest r);
// The unit behind one port, or behind every usable port at once, asked without RESET.
Task<int> scan(CliHost& host, CliRequest r);
Task<int> read(CliHost& host, CliRequest r);
Task<int> write(CliHost& host, CliRequest r);
Task<int> verify(CliHost& host, CliRequest r);
Task<int> backup(CliHost& host, CliRequest r);
Task<int> restore(CliHost& host, CliRequest r);

// The command the request names for one unit: run, the line closed, the wire log written
// when asked for, and the report completed.
Task<int> runUnit(CliHost& host, CliRequest r);
// The same, followed by what a single unit tells at the end (the stop, the JSON).
Task<int> run(CliHost& host, CliRequest r);

// What a stopped unit is told: how far the stop let its command get, and how to undo it.
void tellStopped(const CliHost& host);

// The whole tool: `arguments` (the program's name first) read, the ports of
// CORVANE_PORT_MAP mapped, the command run. Tests may pass scaled times.
Task<int> runCommandLine(QStringList arguments, LineTiming timing = LineTiming{});

} // namespace CliCommands
