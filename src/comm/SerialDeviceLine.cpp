#include "comm/SerialDeviceLine.h"

#include "comm/SerialDevicePlatform.h"

#include <QSerialPort>
#include <QTimer>
#include <algorithm>

SerialDeviceLine::SerialDeviceLine(const QString& path, QObject* parent)
    : Line(parent), path_(path), port_(new QSerialPort(this)), drainTimer_(new QTimer(this))
{
    drainTimer_->setSingleShot(true);
    drainTimer_->setTimerType(Qt::PreciseTimer);
    connect(drainTimer_, &QTimer::timeout, this, &SerialDeviceLine::watchDrain);
    connect(port_, &QSerialPort::readyRead, this, &Line::received);
    connect(port_, &QSerialPort::bytesWritten, this, &SerialDeviceLine::watchDrain);
    connect(port_, &QSerialPort::errorOccurred, this,
            [this](QSerialPort::SerialPortError e) { onPortError(e); });
    port_->setPortName(path);
}

SerialDeviceLine::~SerialDeviceLine()
{
    close();
}

Task<CommError> SerialDeviceLine::open(Setup setup)
{
    co_return openNow(setup);
}

CommError SerialDeviceLine::openNow(const Setup& setup)
{
    if (!port_->open(QIODevice::ReadWrite)) {
        const QSerialPort::SerialPortError e = port_->error();
        CommError failure{CommErrorNumber::OpenFailed, e != QSerialPort::NoError
                                                           ? port_->errorString()
                                                           : QStringLiteral("Unknown error")};
        if (e == QSerialPort::DeviceNotFoundError) {
            failure.number = CommErrorNumber::InvalidPortNumber;
        } else if (e == QSerialPort::PermissionError) {
            failure.number = CommErrorNumber::AccessDenied;
            failure.description += SerialDevicePlatform::permissionHint(path_);
        }
        port_->clearError();
        return failure;
    }
    CommError failure = applySettings(setup);
    if (failure.number == 0)
        failure = applyRts(setup);
    if (failure.number != 0)
        port_->close();
    port_->clearError();
    return failure;
}

void SerialDeviceLine::close()
{
    drainTimer_->stop();
    if (port_->isOpen())
        port_->close();
}

bool SerialDeviceLine::isOpen() const
{
    return port_->isOpen();
}

CommError SerialDeviceLine::applySettings(const Setup& setup)
{
    const LineSettings& s = setup.settings;
    charMicros_ = s.charMicroseconds();
    const QSerialPort::FlowControl flow = setup.handshaking == 0   ? QSerialPort::NoFlowControl
                                          : setup.handshaking == 1 ? QSerialPort::SoftwareControl
                                                                   : QSerialPort::HardwareControl;
    if (port_->setBaudRate(s.baud) && port_->setParity(s.parity) &&
        port_->setDataBits(s.dataBits) && port_->setStopBits(s.stopBits) &&
        port_->setFlowControl(flow))
        return {};
    const QString text = port_->error() != QSerialPort::NoError
                             ? port_->errorString()
                             : QStringLiteral("Invalid property value");
    port_->clearError();
    return {CommErrorNumber::InvalidSettings, text};
}

CommError SerialDeviceLine::applyRts(const Setup& setup)
{
    if (setup.rts && setup.handshaking >= 2)
        return {}; // the driver owns RTS under hardware flow control
    if (SerialDevicePlatform::lacksModemLines(port_->handle()))
        return {};
    if (port_->setRequestToSend(setup.rts))
        return {};
    const QString text = port_->errorString();
    port_->clearError();
    return {CommErrorNumber::OpenFailed, text};
}

CommError SerialDeviceLine::write(const QByteArray& bytes)
{
    if (port_->write(bytes) == bytes.size())
        return {};
    const QString text = port_->errorString();
    port_->clearError();
    return {CommErrorNumber::WriteFailed, text};
}

int SerialDeviceLine::unsent() const
{
    return static_cast<int>(port_->bytesToWrite()) +
           SerialDevicePlatform::driverOutQueue(port_->handle());
}

void SerialDeviceLine::discardUnsent()
{
    drainTimer_->stop();
    // Only flush when something is still unsent. On a pseudo-terminal the driver reports
    // an empty queue although the far end may not have read yet, and a flush there would
    // throw away bytes that have in fact been sent.
    if (unsent() > 0)
        port_->clear(QSerialPort::Output);
    emit progressed();
}

QByteArray SerialDeviceLine::peekReceived() const
{
    return port_->peek(port_->bytesAvailable());
}

QByteArray SerialDeviceLine::takeReceived()
{
    return port_->readAll();
}

void SerialDeviceLine::discardReceived()
{
    port_->clear(QSerialPort::Input);
    port_->readAll(); // Qt's own buffer may still hold bytes after the driver flush
}

// Output leaves Qt's buffer in one go (bytesWritten) but the driver queue drains at line
// speed without telling anyone. Look again when the queue should be empty, so waits on
// the unsent count end on time without polling in between.
void SerialDeviceLine::watchDrain()
{
    emit progressed();
    if (!port_->isOpen())
        return;
    const int queued = SerialDevicePlatform::driverOutQueue(port_->handle());
    if (queued <= 0) {
        stalledChecks_ = 0;
        return;
    }
    // A queue that does not move (a stalled adapter) is looked at less and less often.
    stalledChecks_ = queued == lastQueued_ ? std::min(stalledChecks_ + 1, 10) : 0;
    lastQueued_ = queued;
    const int ms = queued * charMicros_ / 1000 + 1;
    drainTimer_->start(std::min(ms << stalledChecks_, 1000));
}

void SerialDeviceLine::onPortError(int error)
{
    if (error == QSerialPort::WriteError) {
        const QString text = port_->errorString();
        port_->clearError();
        emit failed({CommErrorNumber::WriteFailed, text});
        return;
    }
    if ((error != QSerialPort::ResourceError && error != QSerialPort::ReadError) ||
        !port_->isOpen())
        return; // errors of explicit calls are handled where the call is made
    // After a hang-up the read returns end-of-file and the platform text Qt picks up is
    // whatever errno held before; say what happened instead. A hung-up line keeps
    // reporting read errors for as long as it stays open, so it is closed at once.
    const QString text =
        error == QSerialPort::ResourceError || SerialDevicePlatform::hungUp(port_->handle())
            ? QStringLiteral("Device disappeared from the system (%1 was unplugged or closed)")
                  .arg(path_)
            : QStringLiteral("Error reading from device: %1").arg(port_->errorString());
    close();
    port_->clearError();
    emit lost(text);
}
