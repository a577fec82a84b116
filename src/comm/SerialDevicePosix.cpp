#include "comm/PortTrouble.h"
#include "comm/SerialDevicePlatform.h"

#include <cerrno>
#include <poll.h>
#include <sys/ioctl.h>
#include <termios.h>

namespace SerialDevicePlatform {

int driverOutQueue(qintptr handle)
{
    int queued = 0;
    if (::ioctl(static_cast<int>(handle), TIOCOUTQ, &queued) == -1)
        return 0;
    return queued;
}

bool lacksModemLines(qintptr handle)
{
    int lines = 0;
    return ::ioctl(static_cast<int>(handle), TIOCMGET, &lines) == -1 &&
           (errno == ENOTTY || errno == EINVAL);
}

bool hungUp(qintptr handle)
{
    pollfd p{static_cast<int>(handle), POLLIN, 0};
    return ::poll(&p, 1, 0) == 1 && (p.revents & (POLLHUP | POLLERR | POLLNVAL));
}

QString permissionHint(const QString& path)
{
    if (!lacksPermission(path))
        return {};
#ifdef Q_OS_LINUX
    return QStringLiteral(" - you need access to %1 (on Linux: membership of the dialout group,"
                          " then log in again)")
        .arg(path);
#else
    return QStringLiteral(" - you need access to %1").arg(path);
#endif
}

} // namespace SerialDevicePlatform
