#pragma once
// The simulated unit's behaviour, apart from how it waits: every event on the line is an
// action at a point in time (a frame fully received, a frame to send). A driver feeds it
// the bytes the host wrote, runs the actions that are due, and sleeps until the next one;
// the threaded driver guards it with a mutex, the event-loop driver needs nothing.

#include "model/LineTiming.h"
#include "simunit/FrameParser.h"
#include "simunit/UnitTypes.h"

#include <QList>
#include <chrono>
#include <deque>
#include <functional>
#include <map>
#include <optional>

namespace simsync {

struct UnitEngine
{
    using Clock = std::chrono::steady_clock;
    using Duration = std::chrono::nanoseconds;

    // Puts bytes on the line, and takes the line away (the cable pulled).
    std::function<void(const QByteArray&)> writeLine;
    std::function<void()> dropLine;

    Clock::time_point t0 = Clock::now();
    Duration byteTime = std::chrono::microseconds(LineTiming{}.byteMicros); // 0: unpaced
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

    // The bytes the host wrote, just read from the line.
    void onReceived(const char* bytes, long n);
    // Runs every action due by now, or within `early` from now (a driver whose timer has
    // whole milliseconds would otherwise be up to one late on every frame).
    void runDue(Duration early = Duration::zero());
    // When the next action is due; nothing when none is waiting.
    std::optional<Clock::time_point> nextDue() const;

    // Queues bytes for the line as one frame, whole once its last byte would have left.
    void scheduleSend(const QByteArray& bytes, Duration extraDelay = Duration::zero());
    // "ATS0=1" LF CR after any noise, in `pieces` parts `pauseMs` apart.
    void pressReset(int pieces, int pauseMs, const QByteArray& noise);
    // The line is gone: nothing more is sent or received.
    void closeLine();
    // A new line in place of a closed one.
    void reopenLine();

    double msSinceStart(Clock::time_point t) const;
    QStringList frames(Direction dir) const;

private:
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
    void onFrame(ParsedFrame::Kind kind, const QByteArray& f, Clock::time_point at);

    FrameParser parser_;
    Clock::time_point rxLineFree_{}, txLineFree_{};
    std::multimap<Clock::time_point, Action> schedule_;
};

// A pseudo-terminal pair: the unit serves the master side, the host opens `path`.
struct Pty
{
    int master = -1;
    int slaveHold = -1; // keeps the slave alive while the host has it closed
    QString path;
    // False with `error` set when the system has no pseudo-terminal to give.
    bool open(QString* error);
    void close();
};

} // namespace simsync
