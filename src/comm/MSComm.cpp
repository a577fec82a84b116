#include "comm/MSComm.h"

#include "comm/LineSettings.h"
#include "comm/PortMap.h"
#include "comm/PortTrouble.h"

#include <QSerialPort>
#include <QTimer>
#include <algorithm>

#ifdef Q_OS_WIN
#include <windows.h>
#else
#include <cerrno>
#include <poll.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>
#endif

namespace {

const QString NotOpenText = QStringLiteral("Operation valid only when the port is open");

QString permissionHint(const QString& path)
{
#ifdef Q_OS_LINUX
    return QStringLiteral(" - you need access to %1 (on Linux: membership of the dialout group,"
                          " then log in again)")
        .arg(path);
#else
    return QStringLiteral(" - you need access to %1").arg(path);
#endif
}

} // namespace

MSComm::MSComm(const PortMap& ports, QObject* parent)
    : QObject(parent), ports_(ports), port_(new QSerialPort(this)), drainTimer_(new QTimer(this))
{
    drainTimer_->setSingleShot(true);
    drainTimer_->setTimerType(Qt::PreciseTimer);
    connect(drainTimer_, &QTimer::timeout, this, &MSComm::watchDrain);
    connect(port_, &QSerialPort::readyRead, this, &MSComm::inputArrived);
    connect(port_, &QSerialPort::bytesWritten, this, &MSComm::watchDrain);
    connect(port_, &QSerialPort::errorOccurred, this,
            [this](QSerialPort::SerialPortError e) { onPortError(e); });
}

MSComm::~MSComm()
{
    if (port_->isOpen())
        port_->close();
}

void MSComm::raise(int number, const QString& description) const
{
    error_ = CommError{number, description};
    emit const_cast<MSComm*>(this)->errorRaised(number, description);
}

bool MSComm::requireOpen() const
{
    if (port_->isOpen())
        return true;
    // After the line vanished, say why the port is closed rather than only that it is.
    if (lossError_.number != 0)
        raise(lossError_.number, lossError_.description);
    else
        raise(CommErrorNumber::PortNotOpen, NotOpenText);
    return false;
}

void MSComm::setCommPort(int16_t n)
{
    if (port_->isOpen()) {
        raise(CommErrorNumber::PortAlreadyOpen, QStringLiteral("Port already open"));
        return;
    }
    if (n < 1 || n > PortMap::MaxPort) {
        raise(CommErrorNumber::InvalidPortNumber, QStringLiteral("Invalid port number"));
        return;
    }
    commPort_ = n;
    lossError_ = CommError{};
}

void MSComm::setSettings(const QString& settings)
{
    if (!LineSettings::parse(settings)) {
        raise(CommErrorNumber::InvalidSettings, QStringLiteral("Invalid property value"));
        return;
    }
    settings_ = settings;
    if (port_->isOpen())
        applySettings();
}

void MSComm::setHandshaking(int mode)
{
    if (mode < 0 || mode > 3) {
        raise(CommErrorNumber::InvalidSettings, QStringLiteral("Invalid property value"));
        return;
    }
    handshaking_ = mode;
    if (port_->isOpen())
        applySettings();
}

void MSComm::setRTSEnable(bool on)
{
    rtsEnable_ = on;
    if (port_->isOpen())
        applyRts();
}

bool MSComm::applySettings()
{
    const LineSettings s = *LineSettings::parse(settings_);
    const QSerialPort::FlowControl flow = handshaking_ == 0   ? QSerialPort::NoFlowControl
                                          : handshaking_ == 1 ? QSerialPort::SoftwareControl
                                                              : QSerialPort::HardwareControl;
    const bool ok = port_->setBaudRate(s.baud) && port_->setParity(s.parity) &&
                    port_->setDataBits(s.dataBits) && port_->setStopBits(s.stopBits) &&
                    port_->setFlowControl(flow);
    if (!ok) {
        const QString text = port_->error() != QSerialPort::NoError
                                 ? port_->errorString()
                                 : QStringLiteral("Invalid property value");
        port_->clearError();
        raise(CommErrorNumber::InvalidSettings, text);
    }
    return ok;
}

bool MSComm::applyRts()
{
    if (rtsEnable_ && handshaking_ >= 2)
        return true; // the driver owns RTS under hardware flow control
#ifndef Q_OS_WIN
    // A device without modem-control lines (a pseudo-terminal) answers ENOTTY: nothing to
    // raise there, and not a failure of the port.
    int lines = 0;
    if (::ioctl(port_->handle(), TIOCMGET, &lines) == -1 && (errno == ENOTTY || errno == EINVAL))
        return true;
#endif
    if (port_->setRequestToSend(rtsEnable_))
        return true;
    const QString text = port_->errorString();
    port_->clearError();
    raise(CommErrorNumber::OpenFailed, text);
    return false;
}

void MSComm::setPortOpen(bool open)
{
    if (!open) {
        drainTimer_->stop();
        if (port_->isOpen()) {
            port_->close();
            logEvent(QStringLiteral("COM%1 closed (%2)").arg(commPort_).arg(openPath_));
        }
        return;
    }
    if (port_->isOpen()) {
        raise(CommErrorNumber::PortAlreadyOpen, QStringLiteral("Port already open"));
        return;
    }
    const QString path = ports_.devicePath(commPort_);
    if (path.isEmpty()) {
        raise(CommErrorNumber::InvalidPortNumber,
              QStringLiteral("There is no serial device for COM%1").arg(commPort_));
        return;
    }
    lossError_ = CommError{};
    openPath_ = path;
    port_->setPortName(path);
    if (!port_->open(QIODevice::ReadWrite)) {
        const QSerialPort::SerialPortError e = port_->error();
        QString text =
            e != QSerialPort::NoError ? port_->errorString() : QStringLiteral("Unknown error");
        int number = CommErrorNumber::OpenFailed;
        if (e == QSerialPort::DeviceNotFoundError) {
            number = CommErrorNumber::InvalidPortNumber;
        } else if (e == QSerialPort::PermissionError) {
            number = CommErrorNumber::AccessDenied;
            if (lacksPermission(path))
                text += permissionHint(path);
        }
        port_->clearError();
        logEvent(QStringLiteral("COM%1 (%2) cannot be opened: %3").arg(commPort_).arg(path, text));
        raise(number, text);
        return;
    }
    if (!applySettings() || !applyRts()) {
        port_->close();
        logEvent(
            QStringLiteral("COM%1 (%2) opened but not set up; closed").arg(commPort_).arg(path));
        return;
    }
    port_->clearError();
    logEvent(QStringLiteral("COM%1 opened: %2, %3, handshaking %4, RTS %5")
                 .arg(commPort_)
                 .arg(path, settings_)
                 .arg(handshaking_)
                 .arg(rtsEnable_ ? QStringLiteral("on") : QStringLiteral("off")));
}

bool MSComm::PortOpen() const
{
    return port_->isOpen();
}

QString MSComm::devicePath() const
{
    return port_->isOpen() ? openPath_ : QString();
}

int MSComm::driverOutQueue() const
{
#ifdef Q_OS_WIN
    COMSTAT status{};
    DWORD errors = 0;
    if (::ClearCommError(port_->handle(), &errors, &status))
        return static_cast<int>(status.cbOutQue);
    return 0;
#else
    int queued = 0;
    if (::ioctl(port_->handle(), TIOCOUTQ, &queued) == -1)
        return 0;
    return queued;
#endif
}

int MSComm::charMicroseconds() const
{
    return LineSettings::parse(settings_)->charMicroseconds();
}

int MSComm::OutBufferCount() const
{
    if (!requireOpen())
        return 0;
    return static_cast<int>(port_->bytesToWrite()) + driverOutQueue();
}

void MSComm::setOutBufferCount(int zero)
{
    if (zero != 0) {
        raise(CommErrorNumber::InvalidSettings, QStringLiteral("Invalid property value"));
        return;
    }
    if (!requireOpen())
        return;
    drainTimer_->stop();
    // Only flush when something is still unsent. On a pseudo-terminal the driver reports
    // an empty queue although the far end may not have read yet, and a flush there would
    // throw away bytes that have in fact been sent.
    if (port_->bytesToWrite() > 0 || driverOutQueue() > 0)
        port_->clear(QSerialPort::Output);
    emit outputProgress();
}

int MSComm::InBufferCount() const
{
    if (!requireOpen())
        return 0;
    if (!nullDiscard_)
        return static_cast<int>(port_->bytesAvailable());
    const QByteArray pending = port_->peek(port_->bytesAvailable());
    return static_cast<int>(pending.size() - pending.count('\0'));
}

void MSComm::setInBufferCount(int zero)
{
    if (zero != 0) {
        raise(CommErrorNumber::InvalidSettings, QStringLiteral("Invalid property value"));
        return;
    }
    if (!requireOpen())
        return;
    if (log_ && port_->bytesAvailable() > 0)
        log_->event(QStringLiteral("discarded received %1")
                        .arg(WireLog::describeReceived(port_->peek(port_->bytesAvailable()))));
    port_->clear(QSerialPort::Input);
    port_->readAll(); // Qt's own buffer may still hold bytes after the driver flush
}

void MSComm::setOutput(const QByteArray& bytes)
{
    if (!requireOpen())
        return;
    if (log_)
        log_->sent(bytes);
    if (port_->write(bytes) != bytes.size()) {
        const QString text = port_->errorString();
        port_->clearError();
        raise(CommErrorNumber::WriteFailed, text);
    }
}

QByteArray MSComm::Input()
{
    if (!requireOpen())
        return {};
    QByteArray bytes = port_->readAll();
    if (nullDiscard_)
        bytes.replace(QByteArray(1, '\0'), QByteArray());
    if (log_ && !bytes.isEmpty())
        log_->received(bytes);
    return bytes;
}

// Output leaves Qt's buffer in one go (bytesWritten) but the driver queue drains at line
// speed without telling anyone. Look again when the queue should be empty, so waits on
// OutBufferCount end on time without polling in between.
void MSComm::watchDrain()
{
    emit outputProgress();
    if (!port_->isOpen())
        return;
    const int queued = driverOutQueue();
    if (queued <= 0) {
        stalledChecks_ = 0;
        return;
    }
    // A queue that does not move (a stalled adapter) is looked at less and less often.
    stalledChecks_ = queued == lastQueued_ ? std::min(stalledChecks_ + 1, 10) : 0;
    lastQueued_ = queued;
    const int ms = queued * charMicroseconds() / 1000 + 1;
    drainTimer_->start(std::min(ms << stalledChecks_, 1000));
}

// After a hang-up the read returns end-of-file and the platform text Qt picks up is
// whatever errno held before; say what happened instead.
QString MSComm::lineLossText(bool resourceError) const
{
    const QString qtText = port_->errorString();
    bool hungUp = resourceError;
#ifndef Q_OS_WIN
    pollfd p{static_cast<int>(port_->handle()), POLLIN, 0};
    if (::poll(&p, 1, 0) == 1 && (p.revents & (POLLHUP | POLLERR | POLLNVAL)))
        hungUp = true;
#endif
    if (hungUp)
        return QStringLiteral("Device disappeared from the system (%1 was unplugged or closed)")
            .arg(openPath_);
    return QStringLiteral("Error reading from device: %1").arg(qtText);
}

void MSComm::onPortError(int error)
{
    switch (error) {
    case QSerialPort::ResourceError:
    case QSerialPort::ReadError: {
        if (!port_->isOpen())
            return;
        // A hung-up line keeps reporting read errors for as long as it stays open.
        const QString text = lineLossText(error == QSerialPort::ResourceError);
        drainTimer_->stop();
        port_->close();
        port_->clearError();
        lossError_ = CommError{CommErrorNumber::LineLost, text};
        logEvent(QStringLiteral("COM%1 lost: %2").arg(commPort_).arg(text));
        raise(lossError_.number, lossError_.description);
        emit lineLost();
        break;
    }
    case QSerialPort::WriteError: {
        const QString text = port_->errorString();
        port_->clearError();
        raise(CommErrorNumber::WriteFailed, text);
        break;
    }
    default:
        break; // errors of explicit calls are handled where the call is made
    }
}
