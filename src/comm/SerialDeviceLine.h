#pragma once
// A serial device of this machine (an RS-232 port, a USB adapter, a pseudo-terminal),
// through Qt's serial port.

#include "comm/Line.h"

class QSerialPort;
class QTimer;

class SerialDeviceLine : public Line
{
    Q_OBJECT
public:
    explicit SerialDeviceLine(const QString& path, QObject* parent = nullptr);
    ~SerialDeviceLine() override;

    // A device opens at once: the task has ended when it is returned.
    Task<CommError> open(Setup setup) override;
    void close() override;
    bool isOpen() const override;
    CommError applySettings(const Setup& setup) override;
    CommError applyRts(const Setup& setup) override;
    CommError write(const QByteArray& bytes) override;
    int unsent() const override;
    void discardUnsent() override;
    QByteArray peekReceived() const override;
    QByteArray takeReceived() override;
    void discardReceived() override;
    QString name() const override { return path_; }

private:
    CommError openNow(const Setup& setup);
    void watchDrain();
    void onPortError(int error);

    QString path_;
    QSerialPort* port_;
    QTimer* drainTimer_;
    int charMicros_ = 0;
    int lastQueued_ = 0;
    int stalledChecks_ = 0;
};
