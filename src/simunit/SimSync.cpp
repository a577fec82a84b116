// The simulated unit served by a thread of its own: it sleeps in ppoll() until the next
// action is due or bytes arrive.

#include "simunit/SimSync.h"

#include "simunit/UnitEngine.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <condition_variable>
#include <cstring>
#include <fcntl.h>
#include <mutex>
#include <poll.h>
#include <thread>
#include <unistd.h>

namespace simsync {

struct SimSync::Impl
{
    mutable std::mutex mu;
    mutable std::condition_variable changed;
    std::thread thread;
    std::atomic<bool> stopping{false};
    Pty pty;
    int wakeRead = -1, wakeWrite = -1;
    QString error;
    UnitEngine unit;

    Impl()
    {
        unit.writeLine = [this](const QByteArray& bytes) {
            [[maybe_unused]] ssize_t w = ::write(pty.master, bytes.constData(), bytes.size());
        };
        unit.dropLine = [this] { pty.close(); };
    }

    void wake() const
    {
        if (wakeWrite >= 0) {
            const char b = 1;
            [[maybe_unused]] ssize_t n = ::write(wakeWrite, &b, 1);
        }
    }

    void serve()
    {
        std::unique_lock<std::mutex> lock(mu);
        while (!stopping) {
            pollfd fds[2] = {{wakeRead, POLLIN, 0}, {pty.master, POLLIN, 0}};
            const nfds_t count = unit.lineClosed ? 1 : 2;
            timespec timeout{};
            timespec* timeoutPtr = nullptr;
            if (const auto due = unit.nextDue()) {
                const auto left = std::max(UnitEngine::Duration::zero(),
                                           std::chrono::duration_cast<UnitEngine::Duration>(
                                               *due - UnitEngine::Clock::now()));
                timeout.tv_sec = static_cast<time_t>(left.count() / 1000000000);
                timeout.tv_nsec = static_cast<long>(left.count() % 1000000000);
                timeoutPtr = &timeout;
            }
            lock.unlock();
            const int ready = ::ppoll(fds, count, timeoutPtr, nullptr);
            lock.lock();
            if (ready < 0 && errno != EINTR)
                break;
            if (fds[0].revents & POLLIN) {
                char drain[64];
                while (::read(wakeRead, drain, sizeof drain) > 0) {
                }
            }
            if (count == 2 && !unit.lineClosed && fds[1].revents != 0) {
                char buf[256];
                const ssize_t n =
                    (fds[1].revents & POLLIN) ? ::read(pty.master, buf, sizeof buf) : -1;
                if (n > 0)
                    unit.onReceived(buf, n);
                else if (n == 0 || (errno != EINTR && errno != EAGAIN))
                    unit.closeLine(); // the line is gone; polling it again would only spin
            }
            unit.runDue();
            changed.notify_all();
        }
    }
};

SimSync::SimSync() : d(std::make_unique<Impl>()) {}

SimSync::~SimSync()
{
    stop();
}

bool SimSync::start()
{
    if (running())
        return true;
    std::lock_guard<std::mutex> lock(d->mu);
    if (!d->pty.open(&d->error))
        return false;
    int pipeFds[2];
    if (::pipe2(pipeFds, O_CLOEXEC | O_NONBLOCK) != 0) {
        d->error = QStringLiteral("pipe: %1").arg(QString::fromLocal8Bit(std::strerror(errno)));
        d->pty.close();
        return false;
    }
    d->wakeRead = pipeFds[0];
    d->wakeWrite = pipeFds[1];
    d->unit.t0 = UnitEngine::Clock::now();
    d->unit.reopenLine();
    d->stopping = false;
    d->thread = std::thread([this] { d->serve(); });
    return true;
}

void SimSync::stop()
{
    if (!d->thread.joinable())
        return;
    d->stopping = true;
    d->wake();
    d->thread.join();
    std::lock_guard<std::mutex> lock(d->mu);
    d->unit.closeLine();
    d->pty.close();
    ::close(d->wakeRead);
    ::close(d->wakeWrite);
    d->wakeRead = d->wakeWrite = -1;
}

bool SimSync::running() const
{
    return d->thread.joinable();
}

QString SimSync::path() const
{
    std::lock_guard<std::mutex> lock(d->mu);
    return d->pty.path;
}

QString SimSync::errorString() const
{
    std::lock_guard<std::mutex> lock(d->mu);
    return d->error;
}

void SimSync::setPacing(const LineTiming& timing)
{
    std::lock_guard<std::mutex> lock(d->mu);
    d->unit.byteTime = std::chrono::microseconds(timing.byteMicros);
}

void SimSync::setCell(int address, uint8_t d0, uint8_t d1)
{
    std::lock_guard<std::mutex> lock(d->mu);
    if (address >= FirstCell && address <= LastCell)
        d->unit.cells[address - FirstCell] = {d0, d1};
}

std::array<uint8_t, 2> SimSync::cell(int address) const
{
    std::lock_guard<std::mutex> lock(d->mu);
    if (address < FirstCell || address > LastCell)
        return {0, 0};
    return d->unit.cells[address - FirstCell];
}

void SimSync::loadCells(const Cells& cells)
{
    std::lock_guard<std::mutex> lock(d->mu);
    d->unit.cells = cells;
}

Cells SimSync::cells() const
{
    std::lock_guard<std::mutex> lock(d->mu);
    return d->unit.cells;
}

void SimSync::setFrozen(bool all)
{
    std::lock_guard<std::mutex> lock(d->mu);
    d->unit.frozenAll = all;
}

void SimSync::freezeCell(int address, bool frozen)
{
    std::lock_guard<std::mutex> lock(d->mu);
    if (address >= FirstCell && address <= LastCell)
        d->unit.frozenCell[address - FirstCell] = frozen;
}

void SimSync::queueFaults(const QList<Fault>& faults)
{
    std::lock_guard<std::mutex> lock(d->mu);
    d->unit.faults.insert(d->unit.faults.end(), faults.begin(), faults.end());
}

void SimSync::setStandingFault(Fault f)
{
    std::lock_guard<std::mutex> lock(d->mu);
    d->unit.standing = f;
}

void SimSync::closeAfterFrames(int n)
{
    std::lock_guard<std::mutex> lock(d->mu);
    d->unit.closeCountdown = std::max(0, n);
}

void SimSync::pressReset(int pieces, int pauseMs, const QByteArray& noise)
{
    std::lock_guard<std::mutex> lock(d->mu);
    d->unit.pressReset(pieces, pauseMs, noise);
    d->wake();
}

void SimSync::sendRaw(const QByteArray& bytes)
{
    std::lock_guard<std::mutex> lock(d->mu);
    if (d->unit.lineClosed || bytes.isEmpty())
        return;
    d->unit.scheduleSend(bytes);
    d->wake();
}

QList<WireEntry> SimSync::wireLog() const
{
    std::lock_guard<std::mutex> lock(d->mu);
    return d->unit.log;
}

void SimSync::clearWireLog()
{
    std::lock_guard<std::mutex> lock(d->mu);
    d->unit.log.clear();
    d->unit.received = 0;
}

QStringList SimSync::frames(Direction dir) const
{
    std::lock_guard<std::mutex> lock(d->mu);
    return d->unit.frames(dir);
}

int SimSync::framesReceived() const
{
    std::lock_guard<std::mutex> lock(d->mu);
    return d->unit.received;
}

bool SimSync::waitForFramesReceived(int n, int timeoutMs) const
{
    std::unique_lock<std::mutex> lock(d->mu);
    return d->changed.wait_for(lock, std::chrono::milliseconds(timeoutMs), [this, n] {
        return d->unit.received >= n || d->unit.lineClosed;
    }) && d->unit.received >= n;
}

bool SimSync::waitUntilSent(int timeoutMs) const
{
    std::unique_lock<std::mutex> lock(d->mu);
    return d->changed.wait_for(lock, std::chrono::milliseconds(timeoutMs),
                               [this] { return d->unit.pendingSends == 0; });
}

} // namespace simsync
