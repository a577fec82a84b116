#include "comm/EventWait.h"

bool EventWait::ready()
{
    ended_ = false;
    met_ = false;
    // A timer that is off means the limit has passed already.
    if (!timer_.Enabled())
        return true;
    met_ = condition_ && condition_();
    return met_;
}

void EventWait::suspend(std::coroutine_handle<> waiter)
{
    waiter_ = waiter;
    const auto check = [this] {
        // A signal that arrives after the period ended must not turn a time-out into a
        // success: only a running timer counts.
        if (!ended_ && timer_.Enabled() && condition_ && condition_())
            finish(true);
    };
    links_.reserve(connectors_.size() + 2);
    for (const Connector& connector : connectors_)
        links_.push_back(connector(&timer_, check));
    links_.push_back(
        QObject::connect(&timer_, &CommTimer::tick, &timer_, [this] { finish(false); }));
    links_.push_back(
        QObject::connect(&timer_, &CommTimer::switchedOff, &timer_, [this] { finish(false); }));
}

void EventWait::finish(bool met)
{
    if (ended_)
        return;
    ended_ = true;
    met_ = met;
    unlink();
    Await::resumeLater(&timer_, waiter_);
}

void EventWait::unlink()
{
    for (const QMetaObject::Connection& link : links_)
        QObject::disconnect(link);
    links_.clear();
}
