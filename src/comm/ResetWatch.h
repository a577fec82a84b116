#pragma once
// Listens for a unit's reset announcement while no command holds the line, so that RESET
// pressed before a probe starts is not lost: a unit announces itself only once.
//
// The finder names the port its user has selected; while that port is named and the lease
// is free, the port is open and every byte received goes through an announcement matcher.
// A command taking the lease pauses the listening (the port stays as it is); giving the
// lease back resumes it, opening the named port again if the command closed it or left
// another one open. When the finder stops naming a port while no command runs, a port the
// watch opened itself is closed again, so the editor finds the line as it would have
// without the watch. A probe asks whether the announcement was heard on its port lately;
// the memory is spent by asking.

#include "comm/AnnouncementMatcher.h"
#include "comm/CommContext.h"

#include <QElapsedTimer>
#include <QObject>
#include <optional>

class PortLease;

class ResetWatch : public QObject
{
    Q_OBJECT
public:
    explicit ResetWatch(PortLease& lease);

    // Listens on COMn through `c` (0: stops listening and leaves the port as it is).
    void watch(const CommContext& c, int16_t port);
    int16_t watchedPort() const { return port_; }
    bool listening() const { return listening_; }

    // True when the announcement completed on `port` no longer than `withinMs` ago. Bytes
    // waiting on the port are looked at first. Either way the memory is forgotten.
    bool takeRecentAnnouncement(int16_t port, int withinMs);

signals:
    // The announcement completed on the watched port.
    void announcementHeard(int16_t port);

private:
    void follow(bool leaseFree);
    void startListening();
    // Opens the watched port when it is not open (a device server's port takes a moment),
    // then listens, unless the wish changed meanwhile.
    Task<> openThenListen(int16_t port, quint64 wish);
    void listenOnOpenPort();
    void stopListening();
    void takeInput();

    PortLease& lease_;
    std::optional<CommContext> comm_;
    int16_t port_ = 0;
    bool listening_ = false;
    bool openedHere_ = false; // the open port is one this watch opened, untouched since
    quint64 wish_ = 0;        // counts every change of what the watch should do
    QMetaObject::Connection input_;
    QMetaObject::Connection lost_;
    AnnouncementMatcher matcher_;
    QElapsedTimer heardAt_; // invalid: nothing remembered
    int16_t heardPort_ = 0;
};
