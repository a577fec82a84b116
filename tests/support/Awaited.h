#pragma once
// Tests drive the coroutines of the product from plain test functions: awaited() runs the
// event loop until the coroutine has ended and gives its result, as the user would see it
// end. Clicks start commands that end later; untilLeaseFree() waits for the one that holds
// the line.

#include "comm/Await.h"
#include "comm/PortLease.h"

#include <QTest>

template <typename T> T awaited(Task<T>&& task)
{
    return QCoro::waitFor(std::move(task));
}

inline void awaited(Task<>&& task)
{
    QCoro::waitFor(std::move(task));
}

// True once no command holds the line (within `ms`).
inline bool untilLeaseFree(const PortLease& lease, int ms = 30000)
{
    return QTest::qWaitFor([&lease] { return lease.isFree(); }, ms);
}
