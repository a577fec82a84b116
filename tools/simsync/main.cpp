// simsync: a simulated synchronizer on a pseudo-terminal. Prints the device path on the
// first line of standard output and serves until SIGINT/SIGTERM or "quit".
//
//   simsync [--no-pacing] [--log]
//
// RESET: send SIGUSR1, or type "reset [pieces [pauseMs]]" on standard input.
// "log" prints the wire log so far to standard error; --log prints it on exit as well.

#include "simunit/SimSync.h"

#include <QStringList>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <poll.h>
#include <string>
#include <unistd.h>

namespace {

int signalPipe[2] = {-1, -1};

void onSignal(int sig)
{
    const char b = static_cast<char>(sig);
    [[maybe_unused]] ssize_t n = ::write(signalPipe[1], &b, 1);
}

void printLog(const SimSync& sim)
{
    for (const simsync::WireEntry& e : sim.wireLog()) {
        const bool toUnit = e.dir == simsync::Direction::ToUnit;
        std::fprintf(stderr, "%10.1f %s %s\n", e.ms, toUnit ? "->" : "<-",
                     qPrintable(simsync::describeFrame(e.bytes, e.dir)));
    }
}

} // namespace

int main(int argc, char** argv)
{
    bool pacing = true, logOnExit = false;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--no-pacing") == 0) {
            pacing = false;
        } else if (std::strcmp(argv[i], "--log") == 0) {
            logOnExit = true;
        } else {
            std::fprintf(stderr, "usage: %s [--no-pacing] [--log]\n", argv[0]);
            return 2;
        }
    }

    SimSync sim;
    sim.setPacing(pacing);
    if (!sim.start()) {
        std::fprintf(stderr, "simsync: %s\n", qPrintable(sim.errorString()));
        return 1;
    }
    std::printf("%s\n", qPrintable(sim.path()));
    std::fflush(stdout);

    if (::pipe(signalPipe) != 0)
        return 1;
    struct sigaction sa
    {
    };
    sa.sa_handler = onSignal;
    ::sigaction(SIGUSR1, &sa, nullptr);
    ::sigaction(SIGINT, &sa, nullptr);
    ::sigaction(SIGTERM, &sa, nullptr);

    bool stdinOpen = true;
    std::string line;
    for (;;) {
        pollfd fds[2] = {{signalPipe[0], POLLIN, 0}, {STDIN_FILENO, POLLIN, 0}};
        if (::poll(fds, stdinOpen ? 2 : 1, -1) < 0)
            continue; // EINTR: the signal byte is in the pipe
        if (fds[0].revents & POLLIN) {
            char sig = 0;
            if (::read(signalPipe[0], &sig, 1) == 1) {
                if (sig == SIGUSR1)
                    sim.pressReset();
                else
                    break;
            }
        }
        if (stdinOpen && (fds[1].revents & (POLLIN | POLLHUP))) {
            char buf[256];
            const ssize_t n = ::read(STDIN_FILENO, buf, sizeof buf);
            if (n <= 0) {
                stdinOpen = false; // no more commands; signals still work
                continue;
            }
            line.append(buf, static_cast<size_t>(n));
            size_t eol;
            bool quit = false;
            while ((eol = line.find('\n')) != std::string::npos) {
                const QString cmd = QString::fromStdString(line.substr(0, eol)).trimmed();
                line.erase(0, eol + 1);
                const QStringList words = cmd.split(QLatin1Char(' '), Qt::SkipEmptyParts);
                if (words.isEmpty())
                    continue;
                if (words[0] == QLatin1String("reset"))
                    sim.pressReset(words.value(1, QStringLiteral("1")).toInt(),
                                   words.value(2, QStringLiteral("0")).toInt());
                else if (words[0] == QLatin1String("log"))
                    printLog(sim);
                else if (words[0] == QLatin1String("quit"))
                    quit = true;
            }
            if (quit)
                break;
        }
    }
    sim.stop();
    if (logOnExit)
        printLog(sim);
    return 0;
}
