// corvane-sim: a rack of simulated synchronizers for trying corvane-cli without hardware.
// Each unit is a SimSync on a pseudo-terminal of its own (COM1 to COMN), optionally behind
// one local ser2net. Prints the CORVANE_PORT_MAP line and each unit's --device (or one JSON
// line with --json), then serves until SIGINT/SIGTERM or "quit" on standard input; "reset N",
// "reset all" and SIGUSR1 press RESET. `corvane-sim --help` tells the options.

#include "Ser2netFront.h"
#include "SimOptions.h"
#include "simunit/SimSync.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QStringList>
#include <csignal>
#include <cstdio>
#include <memory>
#include <poll.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

int signalPipe[2] = {-1, -1};

void onSignal(int sig)
{
    const char b = static_cast<char>(sig);
    [[maybe_unused]] ssize_t n = ::write(signalPipe[1], &b, 1);
}

void say(const QString& text)
{
    std::fprintf(stderr, "corvane-sim: %s\n", qPrintable(text));
}

QString portMap(const QStringList& addresses)
{
    QStringList map;
    for (int i = 0; i < addresses.size(); ++i)
        map << QStringLiteral("%1=%2").arg(i + 1).arg(addresses[i]);
    return map.join(QLatin1Char(','));
}

void printUnits(const SimOptions& o, const QStringList& addresses, const QStringList& ptys)
{
    const QStringList map = portMap(addresses).split(QLatin1Char(','));
    if (o.json) {
        QJsonArray units;
        for (int i = 0; i < addresses.size(); ++i) {
            QJsonObject unit{{"port", i + 1}, {"device", addresses[i]}};
            if (o.ser2net)
                unit.insert(QStringLiteral("pty"), ptys[i]);
            units.append(unit);
        }
        const QJsonObject top{{"units", units}, {"port_map", map.join(QLatin1Char(','))}};
        std::printf("%s\n", QJsonDocument(top).toJson(QJsonDocument::Compact).constData());
        std::fflush(stdout);
        return;
    }
    if (!o.shell)
        std::printf("export CORVANE_PORT_MAP=\"%s\"\n", qPrintable(map.join(QLatin1Char(','))));
    for (int i = 0; i < addresses.size(); ++i)
        std::printf("COM%-3d --device %s\n", i + 1, qPrintable(addresses[i]));
    const int n = static_cast<int>(addresses.size());
    if (o.shell) {
        std::printf("\n%d simulated synchronizer%s %s, COM1 to COM%d in this shell, with "
                    "corvane-cli on its PATH.\nTry: corvane-cli write --port %s "
                    "docs/lobby.txt\nRESET: kill -USR1 $CORVANE_SIM_PID (every unit). "
                    "\"exit\" stops the units.\n",
                    n, n == 1 ? "" : "s", o.ser2net ? "behind ser2net" : "ready", n,
                    qPrintable(n == 1 ? QStringLiteral("1") : QStringLiteral("1-%1").arg(n)));
        std::fflush(stdout);
        return;
    }
    std::printf("\n%d simulated synchronizer%s %s%s.\n"
                "Paste the export line into the shell where you run corvane-cli, then try:\n"
                "  corvane-cli scan\n"
                "  corvane-cli read --port 1 -o settings.txt\n"
                "  corvane-cli write --port %s settings.txt\n"
                "Type \"reset N\" here to press RESET on COMN (\"reset all\": every unit; so "
                "does SIGUSR1),\n\"quit\" or Ctrl+C to stop.\n",
                n, n == 1 ? "" : "s", o.ser2net ? "behind ser2net on 127.0.0.1" : "ready",
                o.pacing ? ", at the real line speed (1200 baud)" : ", without pacing",
                qPrintable(n == 1 ? QStringLiteral("1") : QStringLiteral("1-%1").arg(n)));
    std::fflush(stdout);
}

// Acts on one line typed on standard input; false for "quit".
bool command(const QString& line, std::vector<std::unique_ptr<SimSync>>& units)
{
    const QStringList words = line.split(QLatin1Char(' '), Qt::SkipEmptyParts);
    if (words.isEmpty())
        return true;
    if (words[0] == QLatin1String("quit") && words.size() == 1)
        return false;
    if (words[0] == QLatin1String("reset") && words.size() == 2) {
        if (words[1] == QLatin1String("all")) {
            for (auto& u : units)
                u->pressReset();
            say(QStringLiteral("RESET pressed on every unit"));
            return true;
        }
        bool ok = false;
        const int n = words[1].toInt(&ok);
        if (ok && n >= 1 && n <= static_cast<int>(units.size())) {
            units[static_cast<size_t>(n - 1)]->pressReset();
            say(QStringLiteral("RESET pressed on COM%1").arg(n));
            return true;
        }
        say(QStringLiteral("there is no COM%1 here (COM1 to COM%2)")
                .arg(words[1])
                .arg(units.size()));
        return true;
    }
    say(QStringLiteral("\"%1\" is not a command: reset N, reset all or quit").arg(line));
    return true;
}

void serve(std::vector<std::unique_ptr<SimSync>>& units)
{
    struct sigaction sa
    {
    };
    sa.sa_handler = onSignal;
    ::sigaction(SIGUSR1, &sa, nullptr);
    ::sigaction(SIGINT, &sa, nullptr);
    ::sigaction(SIGTERM, &sa, nullptr);

    bool stdinOpen = true;
    std::string pending;
    for (;;) {
        pollfd fds[2] = {{signalPipe[0], POLLIN, 0}, {STDIN_FILENO, POLLIN, 0}};
        if (::poll(fds, stdinOpen ? 2 : 1, -1) < 0)
            continue; // EINTR: the signal's byte is in the pipe
        if (fds[0].revents & POLLIN) {
            char sig = 0;
            if (::read(signalPipe[0], &sig, 1) == 1) {
                if (sig != SIGUSR1)
                    return;
                for (auto& u : units)
                    u->pressReset();
            }
        }
        if (stdinOpen && (fds[1].revents & (POLLIN | POLLHUP))) {
            char buf[256];
            const ssize_t n = ::read(STDIN_FILENO, buf, sizeof buf);
            if (n <= 0) {
                stdinOpen = false; // no more commands; the signals still work
                continue;
            }
            pending.append(buf, static_cast<size_t>(n));
            size_t eol;
            while ((eol = pending.find('\n')) != std::string::npos) {
                const QString line = QString::fromStdString(pending.substr(0, eol)).trimmed();
                pending.erase(0, eol + 1);
                if (!command(line, units))
                    return;
            }
        }
    }
}

// The folder of the corvane-cli built beside this program, if there is one.
QString cliFolder()
{
    char self[4096];
    const ssize_t n = ::readlink("/proc/self/exe", self, sizeof self - 1);
    if (n <= 0)
        return QString();
    self[n] = 0;
    // build/tools/corvane-sim/corvane-sim -> build/src/corvane-cli
    const QString build = QString::fromLocal8Bit(self).section(QLatin1Char('/'), 0, -4);
    const QString folder = build + QStringLiteral("/src");
    return ::access(qPrintable(folder + QStringLiteral("/corvane-cli")), X_OK) == 0 ? folder
                                                                                    : QString();
}

// A shell of its own, with the units' map and corvane-cli on its PATH; the units are served
// until it ends. Ctrl+C belongs to the shell and its commands, not to the units.
int runShell(std::vector<std::unique_ptr<SimSync>>& units, const QString& map)
{
    const pid_t parent = ::getpid();
    const pid_t child = ::fork();
    if (child < 0)
        return 1;
    if (child == 0) {
        ::setenv("CORVANE_PORT_MAP", qPrintable(map), 1);
        ::setenv("CORVANE_SIM_PID", qPrintable(QString::number(parent)), 1);
        if (const QString folder = cliFolder(); !folder.isEmpty())
            ::setenv("PATH", qPrintable(folder + QLatin1Char(':') + qEnvironmentVariable("PATH")),
                     1);
        const char* shell = ::getenv("SHELL") ? ::getenv("SHELL") : "/bin/sh";
        ::execl(shell, shell, "-i", static_cast<char*>(nullptr));
        ::_exit(127);
    }
    struct sigaction sa
    {
    };
    sa.sa_handler = onSignal;
    ::sigaction(SIGUSR1, &sa, nullptr);
    ::sigaction(SIGCHLD, &sa, nullptr);
    ::sigaction(SIGTERM, &sa, nullptr);
    ::signal(SIGINT, SIG_IGN);
    for (;;) {
        char sig = 0;
        if (::read(signalPipe[0], &sig, 1) != 1)
            continue; // EINTR
        if (sig == SIGUSR1) {
            for (auto& u : units)
                u->pressReset();
        } else if (sig == SIGTERM) {
            ::kill(child, SIGHUP);
        }
        int status = 0;
        if (::waitpid(child, &status, WNOHANG) == child)
            return WIFEXITED(status) ? WEXITSTATUS(status) : 1;
    }
}

} // namespace

int main(int argc, char** argv)
{
    SimOptions o;
    QString error;
    if (!parseSimOptions(argc, argv, &o, &error)) {
        say(error);
        return 3;
    }
    if (o.help) {
        std::printf("%s", qPrintable(simUsage()));
        return 0;
    }
    if (o.ser2net && Ser2netFront::executable().isEmpty()) {
        say(QStringLiteral("--ser2net needs Debian's ser2net, which is not installed "
                           "(sudo apt-get install ser2net)"));
        return 2;
    }

    std::vector<std::unique_ptr<SimSync>> units;
    QStringList ptys;
    for (int i = 0; i < o.units; ++i) {
        auto sim = std::make_unique<SimSync>();
        sim->setPacing(o.pacing);
        if (!sim->start()) {
            say(QStringLiteral("COM%1: %2").arg(i + 1).arg(sim->errorString()));
            return 1;
        }
        ptys << sim->path();
        units.push_back(std::move(sim));
    }
    Ser2netFront ser2net;
    QStringList addresses = ptys;
    if (o.ser2net) {
        if (!ser2net.start(ptys, o.basePort)) {
            say(QStringLiteral("ser2net: %1").arg(ser2net.errorString()));
            return 1;
        }
        for (int i = 0; i < o.units; ++i)
            addresses[i] = ser2net.address(i);
    }
    if (::pipe(signalPipe) != 0)
        return 1;
    printUnits(o, addresses, ptys);
    const int status = o.shell ? runShell(units, portMap(addresses)) : (serve(units), 0);
    ser2net.stop();
    for (auto& u : units)
        u->stop();
    return status;
}
