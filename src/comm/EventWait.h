#pragma once
// A wait on a line's own timer, as an awaitable: it ends when a condition holds or when
// the timer's period ends, and meanwhile the coroutine is suspended and the thread is back
// in the event loop, so windows stay responsive and the CPU stays idle.
//
//   EventWait wait(timer, [&] { return comm.InBufferCount() > 0; });
//   wait.wakeOn(&comm, &MSComm::inputArrived);   // any Qt signal
//   const bool met = co_await wait;
//
// The condition is looked at once before suspending and again whenever one of the wake
// signals fires; the timer's tick ends the wait. A wait succeeds only when the condition
// held while the timer was still on, and it leaves the timer as it found it (running, or
// switched off by its tick). Without a condition it is a pause: it ends with the period.
//
// Every connection of a wait is bound to its timer: once the timer is destroyed (its line
// client torn down), the waiter is never resumed.

#include "comm/Await.h"
#include "comm/CommTimer.h"

#include <QObject>
#include <functional>
#include <vector>

class EventWait
{
public:
    explicit EventWait(CommTimer& timer, std::function<bool()> condition = {})
        : timer_(timer), condition_(std::move(condition))
    {
    }
    EventWait(const EventWait&) = delete;
    EventWait& operator=(const EventWait&) = delete;
    ~EventWait() { unlink(); }

    // Adds a signal after which the condition is looked at again.
    template <typename Sender, typename Signal>
    EventWait& wakeOn(const Sender* sender, Signal signal)
    {
        connectors_.push_back([sender, signal](QObject* context, std::function<void()> check) {
            return QObject::connect(sender, signal, context, [check] { check(); });
        });
        return *this;
    }

    // The awaitable's side: one wait may be awaited again once it has ended.
    struct Awaiter
    {
        EventWait* wait;
        bool await_ready() { return wait->ready(); }
        void await_suspend(std::coroutine_handle<> waiter) { wait->suspend(waiter); }
        bool await_resume() const { return wait->met_; }
    };
    Awaiter operator co_await() { return Awaiter{this}; }

private:
    bool ready();
    void suspend(std::coroutine_handle<> waiter);
    void finish(bool met);
    void unlink();

    using Connector = std::function<QMetaObject::Connection(QObject*, std::function<void()>)>;
    CommTimer& timer_;
    std::function<bool()> condition_;
    std::vector<Connector> connectors_;
    std::vector<QMetaObject::Connection> links_;
    std::coroutine_handle<> waiter_;
    bool ended_ = false;
    bool met_ = false;
};
