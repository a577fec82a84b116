// The facts behind a port's trouble on Linux and the other Unix systems: the device's
// group, lock files, and which process has the device open (from /proc).

#include "comm/PortTrouble.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <dirent.h>
#include <fcntl.h>
#include <grp.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

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

} // namespace

PortFacts gatherPortFacts(const QString& path, const CommError& failure,
                          const PortFactPlaces& places)
{
    PortFacts f;
    f.path = path;
    f.accessRefused = failure.number == CommErrorNumber::AccessDenied;
    f.systemText = failure.description;
    f.openErrno = openErrno(path);
    f.group = groupOf(path);
    const QStringList names = namesOf(path);
    f.lockHolder = lockHolder(names, places);
    f.openHolder = openHolder(names, places.procRoot);
    return f;
}

bool lacksPermission(const QString& path)
{
    const QByteArray native = QFile::encodeName(path);
    return ::access(native.constData(), R_OK | W_OK) != 0 && (errno == EACCES || errno == EPERM);
}
