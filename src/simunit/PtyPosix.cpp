// The simulated unit's line on Linux and the other Unix systems: a pseudo-terminal whose
// far end the host opens as its serial device.

#include "simunit/UnitEngine.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <termios.h>
#include <unistd.h>

namespace simsync {

bool Pty::open(QString* error)
{
    auto fail = [this, error](const char* what) {
        if (error)
            *error = QStringLiteral("%1: %2").arg(QLatin1String(what),
                                                  QString::fromLocal8Bit(std::strerror(errno)));
        close();
        return false;
    };
    master = ::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (master < 0)
        return fail("posix_openpt");
    if (::grantpt(master) != 0 || ::unlockpt(master) != 0)
        return fail("unlockpt");
    char name[128];
    if (::ptsname_r(master, name, sizeof name) != 0)
        return fail("ptsname");
    path = QString::fromLocal8Bit(name);
    // Holding the slave open means the master never sees a hang-up while the host has the
    // port closed; raw mode now, because until the host opens it the line discipline would
    // echo the unit's own bytes back at it.
    slaveHold = ::open(name, O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (slaveHold < 0)
        return fail("open slave");
    termios tio{};
    ::tcgetattr(slaveHold, &tio);
    ::cfmakeraw(&tio);
    ::tcsetattr(slaveHold, TCSANOW, &tio);
    return true;
}

void Pty::close()
{
    for (int* fd : {&master, &slaveHold}) {
        if (*fd >= 0)
            ::close(*fd);
        *fd = -1;
    }
}

} // namespace simsync
