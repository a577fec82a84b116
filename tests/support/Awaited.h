#pragma once
// Tests drive the coroutines of the product from plain test functions: awaited() runs the
// event loop until the coroutine has ended and gives its result, as the user would see it
// end. Clicks start commands that end later; until() waits for what they lead to, and
// untilLeaseFree() for the command that holds the line to end.

#include "comm/Await.h"
#include "comm/PortLease.h"

#include <QElapsedTimer>
#include <QTest>
#include <QTimer>
#include <functional>

template <typename T> T awaited(Task<T>&& task)
{
    return QCoro::waitFor(std::move(task));
}

inline void awaited(Task<>&& task)
{
    QCoro::waitFor(std::move(task));
}

// Looks every 2 ms, the event loop running at full speed in between: Qt Test's own waits
// sleep 10 ms at a time, which holds every exchange on the line back by as much.
inline Task<bool> pollUntil(std::function<bool()> holds, int ms)
{
    QTimer tick;
    tick.start(2);
    QElapsedTimer clock;
    clock.start();
    while (!holds()) {
        if (clock.elapsed() >= ms)
            co_return false;
        co_await Await::nextSignal(&tick, &QTimer::timeout);
    }
    co_return true;
}

// True once `holds` does (within `ms`).
inline bool until(std::function<bool()> holds, int ms = 30000)
{
    return QCoro::waitFor(pollUntil(std::move(holds), ms));
}

// True once no command holds the line (within `ms`).
inline bool untilLeaseFree(const PortLease& lease, int ms = 30000)
{
    return until([&lease] { return lease.isFree(); }, ms);
}
