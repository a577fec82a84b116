#pragma once
// What the command line needs to know about its terminal. One file per system implements
// it (TerminalPosix.cpp for Linux and the other Unix systems).

namespace Terminal {
// True when standard error is a terminal, where a progress line can be redrawn in place.
bool stderrIsTerminal();
// The terminal's width in characters (80 when it does not say).
int stderrColumns();
} // namespace Terminal
