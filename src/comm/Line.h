#pragma once
// One line to a unit, whatever carries it: a serial device of this machine, or a port of a
// device server reached over the network (RFC 2217 or raw TCP). The serial control drives
// every kind alike; what differs sits behind this interface.
//
// A line records nothing itself: each call that can fail returns its error (number 0 when
// it went through), and a line that goes away closes itself and emits lost().

#include "comm/Await.h"
#include "comm/CommError.h"
#include "comm/LineSettings.h"

#include <QByteArray>
#include <QObject>
#include <QString>

class Line : public QObject
{
    Q_OBJECT
public:
    // What the control asks of the line: speed and frame, flow control (0 none, 1 XON/XOFF,
    // 2 and 3 RTS/CTS) and the RTS signal.
    struct Setup
    {
        LineSettings settings;
        int handshaking = 0;
        bool rts = false;
    };

    using QObject::QObject;

    // Opens the line and sets it up; on failure it stays closed. A line that must wait for
    // the far end (a device server) suspends meanwhile; close() during the open ends it as
    // a failure.
    virtual Task<CommError> open(Setup setup) = 0;
    virtual void close() = 0;
    virtual bool isOpen() const = 0;
    // New settings, or a new RTS state, while open.
    virtual CommError applySettings(const Setup& setup) = 0;
    virtual CommError applyRts(const Setup& setup) = 0;

    // Queues bytes for sending, in one piece.
    virtual CommError write(const QByteArray& bytes) = 0;
    // Bytes queued and not yet on their way to the unit.
    virtual int unsent() const = 0;
    virtual void discardUnsent() = 0;
    // Bytes received and not yet taken; peek leaves them, take removes them.
    virtual QByteArray peekReceived() const = 0;
    virtual QByteArray takeReceived() = 0;
    virtual void discardReceived() = 0;

    // The device path or the address, as the wire log and messages name the line.
    virtual QString name() const = 0;

signals:
    void received();                 // new bytes can be taken
    void progressed();               // unsent() may have dropped
    void lost(const QString& text);  // the line went away and is closed now
    void failed(const CommError& e); // a failure no call was waiting for (a late write error)
    void note(const QString& text);  // an event worth a line in the wire log
};
