#include "comm/MSComm.h"

#include "comm/LineAddress.h"
#include "comm/LineSettings.h"
#include "comm/NetworkLine.h"
#include "comm/PortMap.h"
#include "comm/SerialDeviceLine.h"

namespace {

const QString NotOpenText = QStringLiteral("Operation valid only when the port is open");
const QString BadValueText = QStringLiteral("Invalid property value");

} // namespace

MSComm::MSComm(const PortMap& ports, QObject* parent) : QObject(parent), ports_(ports) {}

MSComm::~MSComm()
{
    // An open under way is never resumed: its line goes with the control.
    opening_ = nullptr;
    if (line_)
        line_->close();
}

void MSComm::raise(int number, const QString& description) const
{
    error_ = CommError{number, description};
    emit const_cast<MSComm*>(this)->errorRaised(number, description);
}

bool MSComm::requireOpen() const
{
    if (PortOpen())
        return true;
    // After the line vanished, say why the port is closed rather than only that it is.
    if (lossError_.number != 0)
        raise(lossError_);
    else
        raise(CommErrorNumber::PortNotOpen, NotOpenText);
    return false;
}

Line::Setup MSComm::setup() const
{
    return {*LineSettings::parse(settings_), handshaking_, rtsEnable_};
}

void MSComm::setCommPort(int16_t n)
{
    if (PortOpen() || opening_) {
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
        raise(CommErrorNumber::InvalidSettings, BadValueText);
        return;
    }
    settings_ = settings;
    if (PortOpen())
        if (const CommError e = line_->applySettings(setup()); e.number != 0)
            raise(e);
}

void MSComm::setHandshaking(int mode)
{
    if (mode < 0 || mode > 3) {
        raise(CommErrorNumber::InvalidSettings, BadValueText);
        return;
    }
    handshaking_ = mode;
    if (PortOpen())
        if (const CommError e = line_->applySettings(setup()); e.number != 0)
            raise(e);
}

void MSComm::setRTSEnable(bool on)
{
    rtsEnable_ = on;
    if (PortOpen())
        if (const CommError e = line_->applyRts(setup()); e.number != 0)
            raise(e);
}

void MSComm::replaceLine(Line* line)
{
    if (line_) {
        line_->disconnect(this);
        line_->close();
        line_->deleteLater(); // it may be in the middle of emitting
    }
    line_ = line;
    connect(line_, &Line::received, this, &MSComm::inputArrived);
    connect(line_, &Line::progressed, this, &MSComm::outputProgress);
    connect(line_, &Line::lost, this, &MSComm::onLineLost);
    connect(line_, &Line::failed, this, [this](const CommError& e) { raise(e); });
    connect(line_, &Line::note, this, [this](const QString& text) { logEvent(text); });
}

void MSComm::closePort()
{
    if (opening_) {
        Line* line = opening_;
        opening_ = nullptr;
        line->close();
        logEvent(QStringLiteral("COM%1: opening abandoned (%2)").arg(commPort_).arg(openPath_));
        return;
    }
    if (PortOpen()) {
        line_->close();
        logEvent(QStringLiteral("COM%1 closed (%2)").arg(commPort_).arg(openPath_));
    }
}

Task<CommError> MSComm::openPort()
{
    const auto refused = [this](int number, const QString& text) {
        raise(number, text);
        return CommError{number, text};
    };
    if (PortOpen() || opening_)
        co_return refused(CommErrorNumber::PortAlreadyOpen, QStringLiteral("Port already open"));
    const QString path = ports_.devicePath(commPort_);
    if (path.isEmpty())
        co_return refused(CommErrorNumber::InvalidPortNumber,
                          QStringLiteral("There is no serial device for COM%1").arg(commPort_));
    QString addressError;
    const LineAddress address = LineAddress::parse(path, &addressError);
    if (!addressError.isEmpty())
        co_return refused(CommErrorNumber::InvalidPortNumber, addressError);
    lossError_ = CommError{};
    openPath_ = path;
    replaceLine(address.isNetwork() ? static_cast<Line*>(new NetworkLine(address, this))
                                    : new SerialDeviceLine(path, this));
    Line* line = line_;
    opening_ = line;
    const CommError e = co_await line->open(setup());
    if (opening_ != line || line_ != line) {
        // Closed, or opened anew, while this open waited: the port is someone else's now.
        co_return CommError{CommErrorNumber::OpenAbandoned,
                            QStringLiteral("closed before it was open")};
    }
    opening_ = nullptr;
    ++openings_;
    if (e.number != 0) {
        logEvent(QStringLiteral("COM%1 (%2) cannot be opened: %3")
                     .arg(commPort_)
                     .arg(LineAddress::shownName(path), e.description));
        raise(e);
        co_return e;
    }
    logEvent(QStringLiteral("COM%1 opened: %2, %3, handshaking %4, RTS %5")
                 .arg(commPort_)
                 .arg(LineAddress::shownName(path), settings_)
                 .arg(handshaking_)
                 .arg(rtsEnable_ ? QStringLiteral("on") : QStringLiteral("off")));
    co_return CommError{};
}

bool MSComm::PortOpen() const
{
    return line_ && line_->isOpen();
}

QString MSComm::devicePath() const
{
    return PortOpen() ? openPath_ : QString();
}

int MSComm::OutBufferCount() const
{
    if (!requireOpen())
        return 0;
    return line_->unsent();
}

void MSComm::setOutBufferCount(int zero)
{
    if (zero != 0) {
        raise(CommErrorNumber::InvalidSettings, BadValueText);
        return;
    }
    if (requireOpen())
        line_->discardUnsent();
}

int MSComm::InBufferCount() const
{
    if (!requireOpen())
        return 0;
    const QByteArray pending = line_->peekReceived();
    return static_cast<int>(pending.size() - (nullDiscard_ ? pending.count('\0') : 0));
}

void MSComm::setInBufferCount(int zero)
{
    if (zero != 0) {
        raise(CommErrorNumber::InvalidSettings, BadValueText);
        return;
    }
    if (!requireOpen())
        return;
    if (const QByteArray pending = line_->peekReceived(); log_ && !pending.isEmpty())
        log_->event(
            QStringLiteral("discarded received %1").arg(WireLog::describeReceived(pending)));
    line_->discardReceived();
}

void MSComm::setOutput(const QByteArray& bytes)
{
    if (!requireOpen())
        return;
    if (log_)
        log_->sent(bytes);
    if (const CommError e = line_->write(bytes); e.number != 0)
        raise(e);
}

QByteArray MSComm::Input()
{
    if (!requireOpen())
        return {};
    QByteArray bytes = line_->takeReceived();
    if (nullDiscard_)
        bytes.replace(QByteArray(1, '\0'), QByteArray());
    if (log_ && !bytes.isEmpty())
        log_->received(bytes);
    return bytes;
}

void MSComm::onLineLost(const QString& text)
{
    lossError_ = CommError{CommErrorNumber::LineLost, text};
    logEvent(QStringLiteral("COM%1 lost: %2").arg(commPort_).arg(text));
    raise(lossError_);
    emit lineLost();
}
