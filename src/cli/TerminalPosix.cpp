#include "cli/Terminal.h"

#include <unistd.h>

bool Terminal::stderrIsTerminal()
{
    return isatty(STDERR_FILENO) == 1;
}
