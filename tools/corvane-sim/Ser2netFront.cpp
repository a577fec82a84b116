#include "Ser2netFront.h"

#include <QFile>
#include <QFileInfo>
#include <QThread>
#include <arpa/inet.h>
#include <csignal>
#include <fcntl.h>
#include <netinet/in.h>
#include <sys/prctl.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

// True when something accepts connections on 127.0.0.1:port.
bool answers(int port)
{
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    if (fd < 0)
        return false;
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_port = htons(static_cast<uint16_t>(port));
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    const bool ok = ::connect(fd, reinterpret_cast<sockaddr*>(&a), sizeof a) == 0;
    ::close(fd);
    return ok;
}

// True when 127.0.0.1:port can be bound now.
bool isFree(int port)
{
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    if (fd < 0)
        return false;
    const int on = 1;
    ::setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_port = htons(static_cast<uint16_t>(port));
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    const bool ok = ::bind(fd, reinterpret_cast<sockaddr*>(&a), sizeof a) == 0;
    ::close(fd);
    return ok;
}

bool blockFree(int base, int count)
{
    for (int i = 0; i < count; ++i)
        if (!isFree(base + i))
            return false;
    return true;
}

} // namespace

QString Ser2netFront::executable()
{
    for (const char* path : {"/usr/sbin/ser2net", "/usr/bin/ser2net"})
        if (QFileInfo(QLatin1String(path)).isExecutable())
            return QLatin1String(path);
    return {};
}

QString Ser2netFront::logPath() const
{
    return dir_.filePath(QStringLiteral("ser2net.log"));
}

QString Ser2netFront::messages() const
{
    QFile log(logPath());
    const QString text =
        log.open(QIODevice::ReadOnly) ? QString::fromLocal8Bit(log.readAll()).trimmed() : QString();
    return text.isEmpty() ? QStringLiteral("it said nothing") : text;
}

QString Ser2netFront::address(int index) const
{
    return QStringLiteral("rfc2217://127.0.0.1:%1").arg(port(index));
}

bool Ser2netFront::start(const QStringList& devices, int basePort)
{
    const int count = static_cast<int>(devices.size());
    if (basePort) {
        if (!blockFree(basePort, count)) {
            error_ = QStringLiteral("the TCP ports %1 to %2 on 127.0.0.1 are not all free")
                         .arg(basePort)
                         .arg(basePort + count - 1);
            return false;
        }
    } else {
        for (int b = 17001; b + count - 1 <= 65535 && !basePort; b += count)
            if (blockFree(b, count))
                basePort = b;
        if (!basePort) {
            error_ = QStringLiteral("no block of %1 free TCP ports from 17001 up").arg(count);
            return false;
        }
    }
    basePort_ = basePort;

    QString yaml = QStringLiteral("%YAML 1.1\n---\n");
    for (int i = 0; i < count; ++i)
        yaml += QStringLiteral("connection: &unit%1\n"
                               "  accepter: telnet(rfc2217),tcp,127.0.0.1,%2\n"
                               "  connector: serialdev,%3,1200n81,local\n"
                               "  options:\n    kickolduser: false\n    chardelay: false\n")
                    .arg(i + 1)
                    .arg(port(i))
                    .arg(devices[i]);
    QFile config(dir_.filePath(QStringLiteral("ser2net.yaml")));
    if (!dir_.isValid() || !config.open(QIODevice::WriteOnly) || config.write(yaml.toUtf8()) < 0) {
        error_ = QStringLiteral("cannot write ser2net's configuration in a temporary folder");
        return false;
    }
    config.close();

    const QByteArray exe = executable().toLocal8Bit();
    const QByteArray cfg = config.fileName().toLocal8Bit();
    const QByteArray pidFile = dir_.filePath(QStringLiteral("pid")).toLocal8Bit();
    const QByteArray logFile = logPath().toLocal8Bit();
    pid_ = ::fork();
    if (pid_ < 0) {
        error_ = QStringLiteral("cannot start ser2net");
        return false;
    }
    if (pid_ == 0) {
        ::prctl(PR_SET_PDEATHSIG, SIGTERM); // gone with corvane-sim, however it ends
        const int null = ::open("/dev/null", O_RDWR);
        ::dup2(null, STDIN_FILENO);  // standard input is corvane-sim's commands
        ::dup2(null, STDOUT_FILENO); // standard output is corvane-sim's units
        // Its messages (a missing mDNS daemon, say) only matter when it fails to start.
        const int log = ::open(logFile.constData(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        ::dup2(log, STDERR_FILENO);
        const char* argv[] = {exe.constData(),     "-n",   "-c", cfg.constData(), "-P",
                              pidFile.constData(), nullptr};
        ::execv(exe.constData(), const_cast<char* const*>(argv));
        ::_exit(127);
    }
    return waitListening(count);
}

bool Ser2netFront::waitListening(int count)
{
    for (int tries = 0; tries < 250; ++tries) {
        int status = 0;
        if (::waitpid(pid_, &status, WNOHANG) == pid_) {
            pid_ = -1;
            error_ = QStringLiteral("ser2net ended at once (exit status %1): %2")
                         .arg(WIFEXITED(status) ? WEXITSTATUS(status) : -1)
                         .arg(messages());
            return false;
        }
        bool all = true;
        for (int i = 0; i < count && all; ++i)
            all = answers(port(i));
        if (all)
            return true;
        QThread::msleep(20);
    }
    error_ = QStringLiteral("ser2net did not listen on 127.0.0.1:%1 to %2 within 5 seconds: %3")
                 .arg(port(0))
                 .arg(port(count - 1))
                 .arg(messages());
    stop();
    return false;
}

void Ser2netFront::stop()
{
    if (pid_ <= 0)
        return;
    ::kill(pid_, SIGTERM);
    for (int i = 0; i < 150; ++i) {
        if (::waitpid(pid_, nullptr, WNOHANG) == pid_) {
            pid_ = -1;
            return;
        }
        QThread::msleep(20);
    }
    ::kill(pid_, SIGKILL);
    ::waitpid(pid_, nullptr, 0);
    pid_ = -1;
}
