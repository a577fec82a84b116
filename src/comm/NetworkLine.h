#pragma once
// A port of a device server, over TCP: either RFC 2217 (Telnet with the COM-PORT option;
// this client sets the server's line to what the control asks) or raw TCP (bytes as they
// are; the server's line is set by hand).
//
// Opening connects, and for RFC 2217 negotiates and sets the line, suspending on its own
// timer (with a deadline) for the server's answers; every failure comes back as a reason a
// user can act on. The server closing the connection is the line lost.
//
// A TLS address connects, then shakes hands within a deadline of its own and checks the
// server's certificate before a byte of its own goes out. TCP keepalive runs on every
// connection, so a server that vanished is noticed while the line is idle.

#include "comm/CommTimer.h"
#include "comm/Line.h"
#include "comm/LineAddress.h"
#include "comm/Rfc2217Stream.h"

#include <QSslError>
#include <QSslSocket>
#include <functional>
#include <set>

class NetworkLine : public Line
{
    Q_OBJECT
public:
    // How long a server gets to accept the connection, and to answer the line settings.
    static constexpr int ConnectMs = 3000;
    static constexpr int SetupMs = 3000;
    static constexpr int HandshakeMs = 3000;
    // Keepalive: the first probe after this many idle seconds, then one every interval;
    // the connection is given up after that many unanswered.
    static constexpr int KeepAliveIdleS = 10;
    static constexpr int KeepAliveIntervalS = 5;
    static constexpr int KeepAliveProbes = 3;

    NetworkLine(const LineAddress& address, QObject* parent = nullptr);
    ~NetworkLine() override;

    Task<CommError> open(Setup setup) override;
    void close() override;
    bool isOpen() const override { return open_; }
    CommError applySettings(const Setup& setup) override;
    CommError applyRts(const Setup& setup) override;
    CommError write(const QByteArray& bytes) override;
    int unsent() const override { return open_ ? int(socket_.bytesToWrite()) : 0; }
    void discardUnsent() override { emit progressed(); } // what TCP took cannot be called back
    QByteArray peekReceived() const override { return input_; }
    QByteArray takeReceived() override;
    void discardReceived() override { input_.clear(); }
    QString name() const override { return address_.displayName(); }

private:
    bool isRfc2217() const { return address_.kind == LineAddress::Rfc2217; }
    // ser2net's words to a second client of a port another one holds.
    bool busyTold() const { return input_.contains("already in use"); }
    // Suspends until `done` holds, the connection ends, the open is abandoned or `ms`
    // pass; then whether `done` holds.
    Task<bool> waitFor(std::function<bool()> done, int ms);
    Task<CommError> connectToServer();
    Task<CommError> shakeHands();
    Task<CommError> negotiate(Setup setup);
    CommError failure(const QString& reason);
    QString closedReason();
    void onReadyRead();
    void onDisconnected();

    LineAddress address_;
    QSslSocket socket_;
    QList<QSslError> sslErrors_; // what the last handshake's check found
    bool heard_ = false;         // the server sent something since the connection (or TLS) began
    rfc2217::Stream stream_;
    std::set<int> acknowledged_; // line-setting commands the server answered
    QByteArray input_;
    QString signature_;
    bool refused_ = false; // the server said DONT to the COM-PORT option
    bool open_ = false;
    bool opening_ = false;
    bool abandoned_ = false; // closed while the open waited
    CommTimer deadline_;     // the open's own limit
};
