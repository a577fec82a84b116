#include "comm/CommTimer.h"

#include <QTimer>

CommTimer::CommTimer(QObject* parent) : QObject(parent), timer_(new QTimer(this))
{
    timer_->setSingleShot(true);
    timer_->setTimerType(Qt::PreciseTimer);
    // QTimer is already inactive when timeout() is emitted, so Enabled() reads false in
    // every slot connected to tick().
    connect(timer_, &QTimer::timeout, this, &CommTimer::tick);
}

void CommTimer::setInterval(int ms)
{
    interval_ = ms < 0 ? 0 : ms;
    timer_->setInterval(interval_);
}

void CommTimer::setEnabled(bool on)
{
    if (on)
        timer_->start(interval_);
    else if (timer_->isActive()) {
        timer_->stop();
        emit switchedOff();
    }
}

bool CommTimer::Enabled() const
{
    return timer_->isActive();
}
