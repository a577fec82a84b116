#pragma once
// The tool's commands. Each returns its exit status (see ExitCode); results go to
// standard output, messages and progress to standard error.

#include "cli/CliHost.h"
#include "cli/CliRequest.h"

namespace CliCommands {

int ports(CliHost& host);
int find(CliHost& host, const CliRequest& r);
// find without a port: every usable port at once, each unit told as soon as it is heard.
int findEverywhere(CliHost& host, const CliRequest& r);
// The unit behind one port, or behind every usable port at once, asked without RESET.
int scan(CliHost& host, const CliRequest& r);
int read(CliHost& host, const CliRequest& r);
int write(CliHost& host, const CliRequest& r);
int verify(CliHost& host, const CliRequest& r);
int backup(CliHost& host, const CliRequest& r);
int restore(CliHost& host, const CliRequest& r);

// The command the request names, with the wire log written when asked for.
int run(CliHost& host, const CliRequest& r);

// The whole tool: `arguments` (the program's name first) read, the ports of
// CORVANE_PORT_MAP mapped, the command run. Tests may pass scaled times.
int runCommandLine(const QStringList& arguments, const LineTiming& timing = LineTiming{});

} // namespace CliCommands
