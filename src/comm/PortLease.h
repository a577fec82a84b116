#pragma once
// The serial line serves one command at a time. Every command that sends or waits for a
// frame (a load, a save with its compare, a scan with its probes, Dump, RandFill) takes
// the lease before its first frame and gives it back after its last; a command that
// cannot take it does not start. Windows enable the controls that start such commands
// exactly while the lease is free, following `changed`.

#include <QObject>
#include <QString>

class WireLog;

class PortLease : public QObject
{
    Q_OBJECT
public:
    // Each command's start and end go to `log` (may be null).
    void setWireLog(WireLog* log) { log_ = log; }

    bool isFree() const { return holder_.isEmpty(); }
    // The command holding the line ("load", "Dump", ...), or "" when it is free.
    const QString& holder() const { return holder_; }

    // False, changing nothing, while another command holds the line.
    bool take(const QString& command);
    void giveBack();

signals:
    void changed(bool free);

private:
    QString holder_;
    WireLog* log_ = nullptr;
};

// Holds the lease for a scope: `held()` says whether it was taken; it is given back when
// the scope ends, however it ends.
class PortLeaseHold
{
public:
    PortLeaseHold(PortLease& lease, const QString& command)
        : lease_(lease), held_(lease.take(command))
    {
    }
    ~PortLeaseHold()
    {
        if (held_)
            lease_.giveBack();
    }
    PortLeaseHold(const PortLeaseHold&) = delete;
    PortLeaseHold& operator=(const PortLeaseHold&) = delete;

    bool held() const { return held_; }

private:
    PortLease& lease_;
    bool held_;
};
