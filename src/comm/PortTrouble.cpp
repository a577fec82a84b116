#include "comm/PortTrouble.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <cstdint>
#include <cstring>

#ifndef Q_OS_WIN
#include <dirent.h>
#include <fcntl.h>
#include <grp.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

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

#ifndef Q_OS_WIN

int openErrno(const QString& path)
{
    const QByteArray native = QFile::encodeName(path);
    const int fd = ::open(native.constData(), O_RDWR | O_NOCTTY | O_NONBLOCK);
    if (fd < 0)
        return errno;
    ::close(fd);
    return 0;
}

QString groupOf(const QString& path)
{
    struct stat st
    {
    };
    if (::stat(QFile::encodeName(path).constData(), &st) != 0)
        return {};
    const group* gr = ::getgrgid(st.st_gid);
    return gr ? QString::fromLocal8Bit(gr->gr_name) : QString();
}

bool isAlive(qint64 pid)
{
    // EPERM: the process exists but belongs to someone else.
    return pid > 0 && (::kill(static_cast<pid_t>(pid), 0) == 0 || errno == EPERM);
}

QString processName(const QString& procRoot, qint64 pid)
{
    QFile comm(QStringLiteral("%1/%2/comm").arg(procRoot).arg(pid));
    if (!comm.open(QIODevice::ReadOnly))
        return {};
    return QString::fromLocal8Bit(comm.readAll()).trimmed();
}

// The device under the name it was given and under its real name (a /dev/serial/by-id
// link): other programs may have used either.
QStringList namesOf(const QString& path)
{
    QStringList names{path};
    const QString real = QFileInfo(path).canonicalFilePath();
    if (!real.isEmpty() && real != path)
        names << real;
    return names;
}

std::optional<PortHolder> lockHolder(const QStringList& names, const PortFactPlaces& places)
{
    for (const QString& dir : places.lockDirs) {
        for (const QString& name : names) {
            QFile lock(QDir(dir).filePath(lockFileName(name)));
            if (!lock.open(QIODevice::ReadOnly))
                continue;
            const qint64 pid = pidInLockFile(lock.read(256));
            if (isAlive(pid))
                return PortHolder{pid, processName(places.procRoot, pid)};
        }
    }
    return std::nullopt;
}

QString linkTarget(const QString& link)
{
    char buf[4096];
    const ssize_t n = ::readlink(QFile::encodeName(link).constData(), buf, sizeof buf);
    return n > 0 ? QFile::decodeName(QByteArray(buf, static_cast<int>(n))) : QString();
}

// Entry names of a directory; none when it cannot be read. Plain readdir: the fd entries
// are links to sockets and pipes that a stat-based listing may drop.
QStringList entryNames(const QString& dir)
{
    QStringList names;
    DIR* d = ::opendir(QFile::encodeName(dir).constData());
    if (!d)
        return names;
    while (const dirent* e = ::readdir(d)) {
        if (e->d_name[0] != '.')
            names << QFile::decodeName(e->d_name);
    }
    ::closedir(d);
    return names;
}

std::optional<PortHolder> openHolder(const QStringList& names, const QString& procRoot)
{
    const qint64 self = QCoreApplication::applicationPid();
    for (const QString& entry : entryNames(procRoot)) {
        bool numeric = false;
        const qint64 pid = entry.toLongLong(&numeric);
        if (!numeric || pid == self)
            continue;
        // Other users' processes cannot be read unless we are root; they are left out.
        const QString fds = QStringLiteral("%1/%2/fd").arg(procRoot, entry);
        for (const QString& fd : entryNames(fds)) {
            if (names.contains(linkTarget(fds + QLatin1Char('/') + fd)))
                return PortHolder{pid, processName(procRoot, pid)};
        }
    }
    return std::nullopt;
}

#endif

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

PortFacts gatherPortFacts(const QString& path, const CommError& failure,
                          const PortFactPlaces& places)
{
    PortFacts f;
    f.path = path;
    f.accessRefused = failure.number == CommErrorNumber::AccessDenied;
    f.systemText = failure.description;
#ifdef Q_OS_WIN
    Q_UNUSED(places);
#else
    f.openErrno = openErrno(path);
    f.group = groupOf(path);
    const QStringList names = namesOf(path);
    f.lockHolder = lockHolder(names, places);
    f.openHolder = openHolder(names, places.procRoot);
#endif
    return f;
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

bool lacksPermission(const QString& path)
{
#ifdef Q_OS_WIN
    Q_UNUSED(path);
    return false;
#else
    const QByteArray native = QFile::encodeName(path);
    return ::access(native.constData(), R_OK | W_OK) != 0 && (errno == EACCES || errno == EPERM);
#endif
}
