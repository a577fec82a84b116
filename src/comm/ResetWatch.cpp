#include "comm/ResetWatch.h"

#include "comm/PortLease.h"
#include "comm/modCorvaneComm.h"

ResetWatch::ResetWatch(PortLease& lease) : lease_(lease)
{
    connect(&lease_, &PortLease::changed, this, &ResetWatch::follow);
}

void ResetWatch::watch(const CommContext& c, int16_t port)
{
    if (port == port_ && (port == 0 || listening_))
        return;
    ++wish_;
    stopListening();
    if (port == 0 && openedHere_ && lease_.isFree())
        comm_->MSComm1.closePort();
    openedHere_ = false;
    comm_.emplace(c);
    port_ = port;
    matcher_ = AnnouncementMatcher{};
    if (port_ != 0 && lease_.isFree())
        startListening();
}

void ResetWatch::follow(bool leaseFree)
{
    ++wish_;
    if (!leaseFree) {
        stopListening();
        openedHere_ = false; // the command decides what becomes of the line
    } else if (port_ != 0 && !listening_)
        startListening();
}

void ResetWatch::startListening()
{
    MSComm& m = comm_->MSComm1;
    if (m.PortOpen() && m.CommPort() == port_) {
        listenOnOpenPort();
        return;
    }
    Await::start(openThenListen(port_, wish_));
}

Task<> ResetWatch::openThenListen(int16_t port, quint64 wish)
{
    MSComm& m = comm_->MSComm1;
    m.closePort();
    // A port that cannot be opened is not listened on; the probe reports it as usual.
    const CommError e = co_await modCorvaneComm::OpenSyncPort(*comm_, port);
    if (wish != wish_) {
        // A command took the line, or another port was chosen, while the port opened: the
        // port is theirs to keep or close.
        co_return;
    }
    if (e.number != 0)
        co_return;
    openedHere_ = true;
    listenOnOpenPort();
}

void ResetWatch::listenOnOpenPort()
{
    MSComm& m = comm_->MSComm1;
    listening_ = true;
    input_ = connect(&m, &MSComm::inputArrived, this, &ResetWatch::takeInput);
    lost_ = connect(&m, &MSComm::lineLost, this, &ResetWatch::stopListening);
    if (WireLog* log = m.wireLog())
        log->event(QStringLiteral("listening on COM%1 for the reset announcement until a "
                                  "command starts")
                       .arg(port_));
    takeInput();
}

void ResetWatch::stopListening()
{
    if (!listening_)
        return;
    listening_ = false;
    disconnect(input_);
    disconnect(lost_);
}

void ResetWatch::takeInput()
{
    MSComm& m = comm_->MSComm1;
    if (!m.PortOpen() || m.CommPort() != port_ || m.InBufferCount() == 0)
        return;
    const QByteArray bytes = m.Input();
    for (int at = 0; at < bytes.size(); ++at) {
        if (!matcher_.feed(uint8_t(bytes[at])))
            continue;
        heardAt_.start();
        heardPort_ = port_;
        if (WireLog* log = m.wireLog())
            log->event(
                QStringLiteral("COM%1: reset announcement heard before any probe").arg(port_));
        emit announcementHeard(port_);
    }
}

bool ResetWatch::takeRecentAnnouncement(int16_t port, int withinMs)
{
    if (comm_ && port == port_)
        takeInput();
    const bool recent = heardAt_.isValid() && heardPort_ == port && heardAt_.elapsed() <= withinMs;
    heardAt_.invalidate();
    return recent;
}
