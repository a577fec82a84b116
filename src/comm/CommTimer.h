#pragma once
// `tmrCommTimer`: the one-shot timer of every serial exchange. Interval in milliseconds;
// switching it on starts a new period; when the period ends it switches itself off and
// emits tick(). Runs as a precise timer, so short limits hold to the millisecond.

#include <QObject>

class QTimer;

class CommTimer : public QObject
{
    Q_OBJECT
public:
    explicit CommTimer(QObject* parent = nullptr);

    void setInterval(int ms);
    int Interval() const { return interval_; }
    // On: (re)starts a full period. Off: stops it without a tick.
    void setEnabled(bool on);
    bool Enabled() const;

signals:
    void tick(); // the period ended; Enabled() is already false
    // Switched off before its period ended (so waits on it end too).
    void switchedOff();

private:
    QTimer* timer_;
    int interval_ = 0;
};
