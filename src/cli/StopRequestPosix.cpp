#include "cli/StopRequest.h"

#include <QSocketNotifier>
#include <csignal>
#include <fcntl.h>
#include <unistd.h>

namespace {
volatile std::sig_atomic_t stopAsked = 0; // the first signal that asked
int wakeWrite = -1;

void onSignal(int sig)
{
    if (!stopAsked)
        stopAsked = sig;
    if (wakeWrite >= 0) {
        const char b = 1;
        [[maybe_unused]] const ssize_t n = ::write(wakeWrite, &b, 1);
    }
}
} // namespace

struct StopRequest::Watch::Private
{
    int pipe[2] = {-1, -1};
    struct sigaction oldInt = {}, oldTerm = {};
    QSocketNotifier* notifier = nullptr;
};

StopRequest::Watch::Watch(std::function<void()> onStop) : d(new Private)
{
    stopAsked = 0;
    if (::pipe2(d->pipe, O_CLOEXEC | O_NONBLOCK) == 0) {
        wakeWrite = d->pipe[1];
        d->notifier = new QSocketNotifier(d->pipe[0], QSocketNotifier::Read);
        QObject::connect(d->notifier, &QSocketNotifier::activated, [fd = d->pipe[0], onStop] {
            char b[16];
            while (::read(fd, b, sizeof b) > 0) {
            }
            if (onStop)
                onStop();
        });
    }
    struct sigaction sa = {};
    sa.sa_handler = onSignal;
    sigemptyset(&sa.sa_mask);
    sa.sa_flags = SA_RESTART;
    ::sigaction(SIGINT, &sa, &d->oldInt);
    ::sigaction(SIGTERM, &sa, &d->oldTerm);
}

StopRequest::Watch::~Watch()
{
    ::sigaction(SIGINT, &d->oldInt, nullptr);
    ::sigaction(SIGTERM, &d->oldTerm, nullptr);
    wakeWrite = -1;
    delete d->notifier;
    for (int fd : d->pipe)
        if (fd >= 0)
            ::close(fd);
    delete d;
}

bool StopRequest::requested()
{
    return stopAsked != 0;
}

const char* StopRequest::byWhat()
{
    return stopAsked == SIGTERM ? "SIGTERM" : "Ctrl+C";
}
