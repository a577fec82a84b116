#pragma once
// Waiting on the user-interface thread without spinning.
//
// An EventWait runs a local QEventLoop until a condition holds or a CommTimer period
// ends. The condition is looked at once before the loop starts and again whenever one of
// the wake signals fires; the timer's tick ends the loop. Between those moments the thread
// sleeps in the event dispatcher, so windows stay responsive and the CPU stays idle.
//
//   EventWait w;
//   w.wakeOn(&comm, &MSComm::inputArrived)
//    .wakeOn(cancelButton, &QPushButton::clicked);   // any Qt signal
//   bool met = w.until(timer, [&] { return comm.InBufferCount() > 0 || !ports.ProbeRunning; });
//
// until() follows the timer's own rules: it succeeds only when the condition held while
// the timer was still on, and it leaves the timer as it found it (running, or switched
// off by its tick). Callers switch the timer off when they are done with it.

#include "comm/CommTimer.h"

#include <QEventLoop>
#include <QObject>
#include <functional>
#include <vector>

class EventWait
{
public:
    EventWait() = default;
    EventWait(const EventWait&) = delete;
    EventWait& operator=(const EventWait&) = delete;

    // Adds a signal after which the condition is looked at again.
    template <typename Sender, typename Signal>
    EventWait& wakeOn(const Sender* sender, Signal signal)
    {
        connectors_.push_back([sender, signal](QObject* context, std::function<void()> check) {
            return QObject::connect(sender, signal, context, [check] { check(); });
        });
        return *this;
    }

    // Runs until condition() holds (true) or the timer switches itself off or is switched
    // off (false). The timer must already be on; a timer that is off means the limit has
    // passed.
    bool until(CommTimer& timer, const std::function<bool()>& condition);

    // Runs until the timer switches itself off (a pause), or is switched off. Wake signals
    // are ignored.
    static void pause(CommTimer& timer);

private:
    using Connector = std::function<QMetaObject::Connection(QObject*, std::function<void()>)>;
    std::vector<Connector> connectors_;
};
