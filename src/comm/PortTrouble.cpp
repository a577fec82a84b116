#include "comm/PortTrouble.h"

#include "comm/LineAddress.h"

#include <cerrno>
#include <cstdint>
#include <cstring>

namespace {

QString holderText(const PortHolder& h)
{
    if (h.name.isEmpty())
        return QStringLiteral("process %1").arg(h.pid);
    return QStringLiteral("%1, process %2").arg(h.name).arg(h.pid);
}

QString permissionAdvice(const QString& group)
{
    // Membership of root is no remedy to hand out, and an unknown group gives nothing to join.
    if (group.isEmpty() || group == QLatin1String("root"))
        return QStringLiteral("ask the administrator for read and write access to it");
    return QStringLiteral("join the %1 group (sudo usermod -aG %1 $USER) and log in again")
        .arg(group);
}

} // namespace

QString describePortTrouble(const PortFacts& f)
{
    if (f.openErrno == ENOENT || f.openErrno == ENOTDIR)
        return {};
    // The serial layer reports someone else's lock as a permission error, so a holder
    // decides before the errno does.
    const std::optional<PortHolder> holder = f.openHolder ? f.openHolder : f.lockHolder;
    if (f.openErrno == EBUSY || (f.accessRefused && holder)) {
        const QString who = holder ? QStringLiteral(" (%1)").arg(holderText(*holder)) : QString();
        return QStringLiteral("  %1: in use by another program%2: close it and try again")
            .arg(f.path, who);
    }
    if (f.openErrno == EACCES || f.openErrno == EPERM) {
        const QString group = f.group.isEmpty() ? QStringLiteral("unknown") : f.group;
        return QStringLiteral("  %1: no permission (group %2): %3")
            .arg(f.path, group, permissionAdvice(f.group));
    }
    QString text = f.systemText;
    if (text.isEmpty())
        text = f.openErrno != 0 ? QString::fromLocal8Bit(std::strerror(f.openErrno))
                                : QStringLiteral("unknown error");
    return QStringLiteral("  %1: cannot be opened: %2").arg(f.path, text);
}
QString describeLineTrouble(const QString& address, const CommError& failure)
{
    if (LineAddress::looksLikeNetwork(address))
        return QStringLiteral("  %1: %2").arg(LineAddress::shownName(address), failure.description);
    return describePortTrouble(gatherPortFacts(address, failure));
}

qint64 pidInLockFile(const QByteArray& content)
{
    // A 4-byte file holding a NUL is a binary pid, even when its other bytes are digits
    // (pid 14646 is the bytes "69", NUL, NUL).
    if (content.size() == 4 && content.contains('\0')) {
        int32_t binary = 0;
        std::memcpy(&binary, content.constData(), sizeof binary);
        return binary > 0 ? binary : 0;
    }
    const qsizetype end = content.indexOf('\n');
    bool ascii = false;
    const qint64 pid = (end < 0 ? content : content.first(end)).trimmed().toLongLong(&ascii);
    if (ascii)
        return pid > 0 ? pid : 0;
    if (content.size() == 4) {
        int32_t binary = 0;
        std::memcpy(&binary, content.constData(), sizeof binary);
        return binary > 0 ? binary : 0;
    }
    return 0;
}

QString lockFileName(const QString& path)
{
    // The name below /dev, other slashes as underscores, as the serial layers spell it.
    QString name = path.startsWith(QLatin1String("/dev/")) ? path.mid(5) : path;
    name.replace(QLatin1Char('/'), QLatin1Char('_'));
    return QStringLiteral("LCK..") + name;
}
