#pragma once
// The serial control `MSComm1`: the operations the device command layer needs, over a
// line of any kind (a serial device of this machine, or a device server's port named by an
// address, see LineAddress). Properties may be set while the port is closed; they take
// effect when it opens (and at once while it is open).
//
// A failing operation does not throw: it records an error (a number and a description
// text) that the caller asks for with hasError()/lastError() and clears with clearError().
// A new error replaces an older one that was not cleared.
//
// When the line vanishes (adapter unplugged, the far end of a pseudo-terminal closed, the
// device server gone) the port is closed at once, the error is recorded and lineLost() is
// emitted, so nothing keeps retrying a dead line.

#include "comm/Await.h"
#include "comm/CommError.h"
#include "comm/Line.h"
#include "comm/PortMap.h"
#include "comm/WireLog.h"

#include <QByteArray>
#include <QObject>
#include <QString>
#include <cstdint>

class MSComm : public QObject
{
    Q_OBJECT
public:
    // `ports` says which device stands behind each COM number; it must outlive the control.
    explicit MSComm(const PortMap& ports, QObject* parent = nullptr);
    ~MSComm() override;

    const PortMap& ports() const { return ports_; }
    // Every frame sent and received, and the port's events, go to `log` (may be null).
    void setWireLog(WireLog* log) { log_ = log; }
    WireLog* wireLog() const { return log_; }

    void setCommPort(int16_t n);
    int16_t CommPort() const { return commPort_; }
    // "1200,N,8,1": baud, parity (N, E, O, M, S), data bits, stop bits (1, 1.5, 2).
    void setSettings(const QString& settings);
    QString Settings() const { return settings_; }
    // 0 none, 1 XON/XOFF, 2 RTS/CTS, 3 both (treated as RTS/CTS).
    void setHandshaking(int mode);
    int Handshaking() const { return handshaking_; }
    // Raises RTS while open. A device without modem-control lines (a pseudo-terminal)
    // refuses it; that is not an error.
    void setRTSEnable(bool on);
    bool RTSEnable() const { return rtsEnable_; }
    // Event thresholds are kept for completeness; the application polls with zero.
    void setRThreshold(int n) { rThreshold_ = n; }
    int RThreshold() const { return rThreshold_; }
    void setSThreshold(int n) { sThreshold_ = n; }
    int SThreshold() const { return sThreshold_; }
    // When on, received NUL bytes are dropped.
    void setNullDiscard(bool on) { nullDiscard_ = on; }
    bool NullDiscard() const { return nullDiscard_; }

    // Opens the device that PortMap gives for CommPort(). A device opens at once; a device
    // server's port suspends the caller until it is connected and set up, or has failed.
    // Opening an open port, or one being opened, is an error. Returns the open's error
    // (number 0 when it opened), also recorded unless the port was closed meanwhile.
    Task<CommError> openPort();
    // Closes the port; closing a closed port does nothing. An open still under way ends
    // as a failure.
    void closePort();
    bool PortOpen() const;
    // How many times a port was opened: the same number later means the line stayed open
    // (or stayed shut) in between.
    unsigned openings() const { return openings_; }
    bool opening() const { return opening_ != nullptr; }

    // Bytes not yet on the wire: our own write buffer plus the driver's output queue.
    int OutBufferCount() const;
    void setOutBufferCount(int zero); // only 0: discard unsent output
    // Bytes received and not yet taken.
    int InBufferCount() const;
    void setInBufferCount(int zero); // only 0: discard received input

    void setOutput(const QByteArray& bytes); // queue bytes for sending
    QByteArray Input();                      // take every received byte

    // The device path or address of the open port ("" when closed).
    QString devicePath() const;

    // Why the line went away since the port was last opened (number 0 when it did not):
    // "Connection closed by the device server (rfc2217://HOST:PORT)", a vanished device.
    CommError lossError() const { return lossError_; }

    bool hasError() const { return error_.number != 0; }
    CommError lastError() const { return error_; }
    void clearError() { error_ = CommError{}; }

signals:
    void inputArrived();   // new bytes can be taken with Input()
    void outputProgress(); // OutBufferCount() may have dropped
    void lineLost();       // the port was closed because the line vanished
    void errorRaised(int number, const QString& description);

private:
    const PortMap& ports_;
    WireLog* log_ = nullptr;
    void logEvent(const QString& text) const
    {
        if (log_)
            log_->event(text);
    }
    void raise(int number, const QString& description) const;
    void raise(const CommError& e) const { raise(e.number, e.description); }
    bool requireOpen() const;
    Line::Setup setup() const;
    void replaceLine(Line* line);
    void onLineLost(const QString& text);

    int16_t commPort_ = 1;
    unsigned openings_ = 0;
    QString settings_ = QStringLiteral("9600,N,8,1");
    int handshaking_ = 0;
    bool rtsEnable_ = false;
    int rThreshold_ = 0;
    int sThreshold_ = 0;
    bool nullDiscard_ = false;
    Line* line_ = nullptr;    // the line of the last open, a child of the control
    Line* opening_ = nullptr; // the line whose open is under way
    QString openPath_;
    mutable CommError error_;
    // Set when the line vanished: later operations on the closed port report its text.
    CommError lossError_;
};
