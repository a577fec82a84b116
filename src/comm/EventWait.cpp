#include "comm/EventWait.h"

bool EventWait::until(CommTimer& timer, const std::function<bool()>& condition)
{
    if (!timer.Enabled())
        return false;
    if (condition())
        return true;

    QEventLoop loop;
    bool met = false;
    auto check = [&] {
        // A signal that arrives after the period ended must not turn a time-out into a
        // success: only a running timer counts.
        if (timer.Enabled() && condition()) {
            met = true;
            loop.quit();
        }
    };
    std::vector<QMetaObject::Connection> links;
    links.reserve(connectors_.size() + 2);
    for (const Connector& connector : connectors_)
        links.push_back(connector(&loop, check));
    links.push_back(QObject::connect(&timer, &CommTimer::tick, &loop, &QEventLoop::quit));
    links.push_back(QObject::connect(&timer, &CommTimer::switchedOff, &loop, &QEventLoop::quit));
    loop.exec();
    for (const QMetaObject::Connection& link : links)
        QObject::disconnect(link);
    return met;
}

void EventWait::pause(CommTimer& timer)
{
    if (!timer.Enabled())
        return;
    QEventLoop loop;
    QObject::connect(&timer, &CommTimer::tick, &loop, &QEventLoop::quit);
    QObject::connect(&timer, &CommTimer::switchedOff, &loop, &QEventLoop::quit);
    loop.exec();
}
