// The simulated unit: a pseudo-terminal served by a thread of its own. Everything that
// happens on the line is an action at a point in time (a frame fully received, a frame to
// send); the thread sleeps in ppoll() until the next action is due or bytes arrive.

#include "simsync/SimSync.h"

#include "simsync/FrameParser.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <condition_variable>
#include <cstring>
#include <deque>
#include <fcntl.h>
#include <map>
#include <mutex>
#include <poll.h>
#include <termios.h>
#include <thread>
#include <unistd.h>

namespace simsync {

namespace {

using Clock = std::chrono::steady_clock;
using Duration = std::chrono::nanoseconds;

Duration byteTime(int bytes)
{
    return Duration(static_cast<long long>(bytes * ByteMs * 1e6));
}

const QByteArray Announcement("ATS0=1\n\r");

QByteArray replyFor(Fault fault, uint8_t d0, uint8_t d1)
{
    const char good[] = {static_cast<char>(d0), static_cast<char>(d1), '\n', '\r'};
    switch (fault) {
    case Fault::None:
        return QByteArray(good, 4);
    case Fault::Silence:
        return {};
    case Fault::Short3:
        return QByteArray(good, 3);
    case Fault::Long5:
        return QByteArray(good, 4) + '\r';
    case Fault::WrongTerminator:
        return QByteArray(good, 2) + "\r\n";
    case Fault::Garbage:
        return QByteArray("\xA5Z\xFF\x01", 4);
    }
    return {};
}

} // namespace

struct SimSync::Impl
{
    struct Action
    {
        enum Kind
        {
            Receive,
            Send,
            Junk
        } kind;
        QByteArray bytes;
        ParsedFrame::Kind frameKind = ParsedFrame::Junk;
    };

    mutable std::mutex mu;
    mutable std::condition_variable changed;
    std::thread thread;
    std::atomic<bool> stopping{false};
    int master = -1;
    int slaveHold = -1; // keeps the slave side alive while the host has it closed
    int wakeRead = -1, wakeWrite = -1;
    QString path, error;
    Clock::time_point t0 = Clock::now();

    bool pacing = true;
    Cells cells = defaultCells();
    std::array<bool, CellCount> frozenCell{};
    bool frozenAll = false;
    std::deque<Fault> faults;
    Fault standing = Fault::None;
    int closeCountdown = 0;
    bool lineClosed = false;

    QList<WireEntry> log;
    int received = 0;
    int pendingSends = 0;

    // Owned by the serving thread (and guarded by mu all the same).
    FrameParser parser;
    Clock::time_point rxLineFree{}, txLineFree{};
    std::multimap<Clock::time_point, Action> schedule;

    double msSinceStart(Clock::time_point t) const
    {
        return std::chrono::duration<double, std::milli>(t - t0).count();
    }

    void wake() const
    {
        if (wakeWrite >= 0) {
            const char b = 1;
            [[maybe_unused]] ssize_t n = ::write(wakeWrite, &b, 1);
        }
    }

    // Queues bytes for the line as one frame, whole once its last byte would have left.
    void scheduleSend(const QByteArray& bytes, Duration extraDelay = Duration::zero())
    {
        const Clock::time_point now = Clock::now();
        Clock::time_point at = std::max(now, txLineFree) + extraDelay;
        if (pacing)
            at += byteTime(bytes.size());
        txLineFree = at;
        schedule.emplace(at, Action{Action::Send, bytes});
        ++pendingSends;
    }

    void closeLine()
    {
        if (lineClosed)
            return;
        lineClosed = true;
        if (master >= 0)
            ::close(master);
        if (slaveHold >= 0)
            ::close(slaveHold);
        master = slaveHold = -1;
        pendingSends = 0;
        schedule.clear();
        changed.notify_all();
    }

    void onFrame(ParsedFrame::Kind kind, const QByteArray& f, Clock::time_point at)
    {
        log.append(WireEntry{msSinceStart(at), Direction::ToUnit, f});
        ++received;
        changed.notify_all();
        if (closeCountdown > 0 && --closeCountdown == 0) {
            closeLine();
            return;
        }
        const int index = static_cast<uint8_t>(f.size() > 1 ? f[1] : 0) - FirstCell;
        const bool known = index >= 0 && index < CellCount;
        if (kind == ParsedFrame::Read) {
            Fault fault = standing;
            if (!faults.empty()) {
                fault = faults.front();
                faults.pop_front();
            }
            const auto c = known ? cells[index] : std::array<uint8_t, 2>{'0', '0'};
            const QByteArray reply = replyFor(fault, c[0], c[1]);
            if (!reply.isEmpty())
                scheduleSend(reply);
        } else if (kind == ParsedFrame::Write && known && !frozenAll && !frozenCell[index]) {
            cells[index] = {static_cast<uint8_t>(f[2]), static_cast<uint8_t>(f[3])};
        }
    }

    void onReceived(const char* bytes, ssize_t n)
    {
        const Clock::time_point now = Clock::now();
        for (ssize_t i = 0; i < n; ++i) {
            Clock::time_point arrival = now;
            if (pacing) {
                arrival = std::max(now, rxLineFree) + byteTime(1);
                rxLineFree = arrival;
            }
            parser.feed(bytes[i]);
            while (auto frame = parser.next()) {
                const auto kind = frame->kind == ParsedFrame::Junk ? Action::Junk : Action::Receive;
                schedule.emplace(arrival, Action{kind, frame->bytes, frame->kind});
            }
        }
    }

    void runDue()
    {
        const Clock::time_point now = Clock::now();
        while (!schedule.empty() && schedule.begin()->first <= now && !lineClosed) {
            auto node = schedule.extract(schedule.begin());
            const Action& a = node.mapped();
            switch (a.kind) {
            case Action::Receive:
                onFrame(a.frameKind, a.bytes, node.key());
                break;
            case Action::Junk:
                log.append(WireEntry{msSinceStart(node.key()), Direction::ToUnit, a.bytes});
                break;
            case Action::Send: {
                [[maybe_unused]] ssize_t w = ::write(master, a.bytes.constData(), a.bytes.size());
                log.append(WireEntry{msSinceStart(Clock::now()), Direction::FromUnit, a.bytes});
                --pendingSends;
                changed.notify_all();
                break;
            }
            }
        }
    }

    void serve()
    {
        std::unique_lock<std::mutex> lock(mu);
        while (!stopping) {
            pollfd fds[2] = {{wakeRead, POLLIN, 0}, {master, POLLIN, 0}};
            const nfds_t count = lineClosed ? 1 : 2;
            timespec timeout{};
            timespec* timeoutPtr = nullptr;
            if (!schedule.empty()) {
                const auto left = std::max(
                    Duration::zero(),
                    std::chrono::duration_cast<Duration>(schedule.begin()->first - Clock::now()));
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
            if (count == 2 && !lineClosed && fds[1].revents != 0) {
                char buf[256];
                const ssize_t n = (fds[1].revents & POLLIN) ? ::read(master, buf, sizeof buf) : -1;
                if (n > 0)
                    onReceived(buf, n);
                else if (n == 0 || (errno != EINTR && errno != EAGAIN))
                    closeLine(); // the line is gone; polling it again would only spin
            }
            runDue();
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
    auto fail = [this](const char* what) {
        d->error = QStringLiteral("%1: %2").arg(QLatin1String(what),
                                                QString::fromLocal8Bit(std::strerror(errno)));
        for (int* fd : {&d->master, &d->slaveHold}) {
            if (*fd >= 0)
                ::close(*fd);
            *fd = -1;
        }
        return false;
    };
    d->master = ::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (d->master < 0)
        return fail("posix_openpt");
    if (::grantpt(d->master) != 0 || ::unlockpt(d->master) != 0)
        return fail("unlockpt");
    char name[128];
    if (::ptsname_r(d->master, name, sizeof name) != 0)
        return fail("ptsname");
    d->path = QString::fromLocal8Bit(name);
    // Hold the slave open, so the master never sees a hang-up while the host has the port
    // closed, and put it in raw mode now: until the host opens it, the line discipline
    // would otherwise echo the unit's own bytes back at it.
    d->slaveHold = ::open(name, O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (d->slaveHold < 0)
        return fail("open slave");
    termios tio{};
    ::tcgetattr(d->slaveHold, &tio);
    ::cfmakeraw(&tio);
    ::tcsetattr(d->slaveHold, TCSANOW, &tio);
    int pipeFds[2];
    if (::pipe2(pipeFds, O_CLOEXEC | O_NONBLOCK) != 0)
        return fail("pipe");
    d->wakeRead = pipeFds[0];
    d->wakeWrite = pipeFds[1];
    d->t0 = Clock::now();
    d->lineClosed = false;
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
    d->closeLine();
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
    return d->path;
}

QString SimSync::errorString() const
{
    std::lock_guard<std::mutex> lock(d->mu);
    return d->error;
}

void SimSync::setPacing(bool on)
{
    std::lock_guard<std::mutex> lock(d->mu);
    d->pacing = on;
}

void SimSync::setCell(int address, uint8_t d0, uint8_t d1)
{
    std::lock_guard<std::mutex> lock(d->mu);
    if (address >= FirstCell && address <= LastCell)
        d->cells[address - FirstCell] = {d0, d1};
}

std::array<uint8_t, 2> SimSync::cell(int address) const
{
    std::lock_guard<std::mutex> lock(d->mu);
    if (address < FirstCell || address > LastCell)
        return {0, 0};
    return d->cells[address - FirstCell];
}

void SimSync::loadCells(const Cells& cells)
{
    std::lock_guard<std::mutex> lock(d->mu);
    d->cells = cells;
}

Cells SimSync::cells() const
{
    std::lock_guard<std::mutex> lock(d->mu);
    return d->cells;
}

void SimSync::setFrozen(bool all)
{
    std::lock_guard<std::mutex> lock(d->mu);
    d->frozenAll = all;
}

void SimSync::freezeCell(int address, bool frozen)
{
    std::lock_guard<std::mutex> lock(d->mu);
    if (address >= FirstCell && address <= LastCell)
        d->frozenCell[address - FirstCell] = frozen;
}

void SimSync::queueFaults(const QList<Fault>& faults)
{
    std::lock_guard<std::mutex> lock(d->mu);
    d->faults.insert(d->faults.end(), faults.begin(), faults.end());
}

void SimSync::setStandingFault(Fault f)
{
    std::lock_guard<std::mutex> lock(d->mu);
    d->standing = f;
}

void SimSync::closeAfterFrames(int n)
{
    std::lock_guard<std::mutex> lock(d->mu);
    d->closeCountdown = std::max(0, n);
}

void SimSync::pressReset(int pieces, int pauseMs, const QByteArray& noise)
{
    std::lock_guard<std::mutex> lock(d->mu);
    if (d->lineClosed)
        return;
    if (!noise.isEmpty())
        d->scheduleSend(noise);
    pieces = std::clamp(pieces, 1, static_cast<int>(Announcement.size()));
    int from = 0;
    for (int i = 0; i < pieces; ++i) {
        const int to = static_cast<int>(Announcement.size()) * (i + 1) / pieces;
        const Duration pause = i == 0 ? Duration::zero() : std::chrono::milliseconds(pauseMs);
        d->scheduleSend(Announcement.mid(from, to - from), pause);
        from = to;
    }
    d->wake();
}

void SimSync::sendRaw(const QByteArray& bytes)
{
    std::lock_guard<std::mutex> lock(d->mu);
    if (d->lineClosed || bytes.isEmpty())
        return;
    d->scheduleSend(bytes);
    d->wake();
}

QList<WireEntry> SimSync::wireLog() const
{
    std::lock_guard<std::mutex> lock(d->mu);
    return d->log;
}

void SimSync::clearWireLog()
{
    std::lock_guard<std::mutex> lock(d->mu);
    d->log.clear();
    d->received = 0;
}

QStringList SimSync::frames(Direction dir) const
{
    std::lock_guard<std::mutex> lock(d->mu);
    QStringList names;
    for (const WireEntry& e : d->log)
        if (e.dir == dir)
            names << describeFrame(e.bytes, dir);
    return names;
}

int SimSync::framesReceived() const
{
    std::lock_guard<std::mutex> lock(d->mu);
    return d->received;
}

bool SimSync::waitForFramesReceived(int n, int timeoutMs) const
{
    std::unique_lock<std::mutex> lock(d->mu);
    return d->changed.wait_for(lock, std::chrono::milliseconds(timeoutMs), [this, n] {
        return d->received >= n || d->lineClosed;
    }) && d->received >= n;
}

bool SimSync::waitUntilSent(int timeoutMs) const
{
    std::unique_lock<std::mutex> lock(d->mu);
    return d->changed.wait_for(lock, std::chrono::milliseconds(timeoutMs),
                               [this] { return d->pendingSends == 0; });
}

} // namespace simsync
