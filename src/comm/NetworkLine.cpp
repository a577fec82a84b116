#include "comm/NetworkLine.h"

#include "comm/EventWait.h"
#include "comm/KeepAlive.h"
#include "comm/TlsSession.h"

using namespace rfc2217;

namespace {

uint8_t parityCode(QSerialPort::Parity p)
{
    switch (p) {
    case QSerialPort::OddParity:
        return 2;
    case QSerialPort::EvenParity:
        return 3;
    case QSerialPort::MarkParity:
        return 4;
    case QSerialPort::SpaceParity:
        return 5;
    default:
        return 1;
    }
}

uint8_t stopCode(QSerialPort::StopBits s)
{
    return s == QSerialPort::TwoStop ? 2 : s == QSerialPort::OneAndHalfStop ? 3 : 1;
}

// SET-CONTROL values: flow control none, XON/XOFF, hardware; RTS on and off.
uint8_t flowCode(int handshaking)
{
    return handshaking == 0 ? 1 : handshaking == 1 ? 2 : 3;
}

} // namespace

NetworkLine::NetworkLine(const LineAddress& address, QObject* parent)
    : Line(parent), address_(address)
{
    connect(&socket_, &QTcpSocket::readyRead, this, &NetworkLine::onReadyRead);
    connect(&socket_, &QTcpSocket::disconnected, this, &NetworkLine::onDisconnected);
    connect(&socket_, &QTcpSocket::bytesWritten, this, &Line::progressed);
    connect(&socket_, &QSslSocket::sslErrors, this,
            [this](const QList<QSslError>& errors) { sslErrors_ = errors; });
}

NetworkLine::~NetworkLine()
{
    socket_.disconnect(this);
    socket_.abort();
}

Task<bool> NetworkLine::waitFor(std::function<bool()> done, int ms)
{
    if (done())
        co_return true;
    deadline_.setInterval(ms);
    deadline_.setEnabled(true);
    EventWait wait(deadline_, [this, done] {
        return done() || abandoned_ || socket_.state() == QAbstractSocket::UnconnectedState;
    });
    wait.wakeOn(&socket_, &QTcpSocket::connected)
        .wakeOn(&socket_, &QTcpSocket::readyRead)
        .wakeOn(&socket_, &QTcpSocket::stateChanged)
        .wakeOn(&socket_, &QTcpSocket::errorOccurred)
        .wakeOn(&socket_, &QSslSocket::encrypted);
    co_await wait;
    deadline_.setEnabled(false);
    co_return done();
}

CommError NetworkLine::failure(const QString& reason)
{
    emit note(QStringLiteral("%1: %2").arg(name(), reason));
    socket_.abort();
    input_.clear();
    open_ = false;
    return {reason.contains(QLatin1String("another client")) ? CommErrorNumber::AccessDenied
                                                             : CommErrorNumber::OpenFailed,
            reason};
}

QString NetworkLine::closedReason()
{
    if (abandoned_)
        return QStringLiteral("closed before the connection was made");
    // The close may wake the open before the text sent ahead of it has been read.
    if (socket_.bytesAvailable() > 0)
        onReadyRead();
    // ser2net tells a second client "Port already in use" before it closes.
    if (input_.contains("in use"))
        return QStringLiteral("held by another client");
    if (!heard_ && address_.tls)
        return TlsSession::closedAfterHandshake(address_.trust);
    // A TLS server takes the Telnet greeting for a broken handshake and hangs up.
    if (!heard_ && isRfc2217())
        return QStringLiteral("closed by the server before the Telnet negotiation (if it "
                              "speaks TLS, name it rfc2217+tls://)");
    return QStringLiteral("closed by the server");
}

Task<CommError> NetworkLine::connectToServer()
{
    emit note(QStringLiteral("connecting to %1").arg(name()));
    if (address_.tls)
        if (const QString why = TlsSession::configure(socket_, address_.trust); !why.isEmpty())
            co_return failure(why);
    socket_.connectToHost(address_.host, address_.port);
    if (!co_await waitFor([this] { return socket_.state() == QAbstractSocket::ConnectedState; },
                          ConnectMs)) {
        if (abandoned_)
            co_return failure(closedReason());
        switch (socket_.error()) {
        case QAbstractSocket::ConnectionRefusedError:
            co_return failure(QStringLiteral("connection refused"));
        case QAbstractSocket::HostNotFoundError:
            co_return failure(QStringLiteral("host not found"));
        case QAbstractSocket::UnknownSocketError:
            if (socket_.state() == QAbstractSocket::HostLookupState)
                co_return failure(
                    QStringLiteral("host not found (no answer from the name service)"));
            co_return failure(QStringLiteral("no answer within %1 seconds").arg(ConnectMs / 1000));
        default:
            co_return failure(socket_.errorString());
        }
    }
    socket_.setSocketOption(QAbstractSocket::LowDelayOption, 1);
    socket_.setSocketOption(QAbstractSocket::KeepAliveOption, 1);
    tuneKeepAlive(socket_.socketDescriptor(), KeepAliveIdleS, KeepAliveIntervalS, KeepAliveProbes);
    emit note(QStringLiteral("connected to %1").arg(name()));
    if (address_.tls)
        co_return co_await shakeHands();
    co_return CommError{};
}

Task<CommError> NetworkLine::shakeHands()
{
    sslErrors_.clear();
    socket_.startClientEncryption();
    if (!co_await waitFor([this] { return socket_.isEncrypted(); }, HandshakeMs)) {
        if (abandoned_)
            co_return failure(closedReason());
        if (socket_.state() == QAbstractSocket::UnconnectedState || !sslErrors_.isEmpty())
            co_return failure(TlsSession::handshakeFailure(socket_, sslErrors_));
        co_return failure(QStringLiteral("TLS handshake failed: no answer within %1 seconds "
                                         "(is it a TLS port?)")
                              .arg(HandshakeMs / 1000));
    }
    if (const QString why = TlsSession::checkPeer(socket_, address_.trust); !why.isEmpty())
        co_return failure(why);
    heard_ = false;
    emit note(QStringLiteral("TLS: %1").arg(TlsSession::sessionText(socket_)));
    co_return CommError{};
}

Task<CommError> NetworkLine::open(Setup setup)
{
    input_.clear();
    acknowledged_.clear();
    heard_ = false;
    refused_ = false;
    abandoned_ = false;
    opening_ = true;
    stream_ = Stream{};
    CommError result = co_await connectToServer();
    if (result.number == 0) {
        if (!isRfc2217()) {
            // A server that refuses a second client says so and closes at once; over TLS
            // it says so and keeps the connection.
            co_await waitFor([this] { return busyTold(); }, 100);
            if (busyTold())
                result = failure(QStringLiteral("held by another client"));
            else if (abandoned_ || socket_.state() != QAbstractSocket::ConnectedState)
                result = failure(closedReason());
            else
                open_ = true;
        } else {
            result = co_await negotiate(setup);
        }
    }
    opening_ = false;
    co_return result;
}

Task<CommError> NetworkLine::negotiate(Setup setup)
{
    socket_.write(Stream::greeting() + Stream::command(Signature, {}));
    if (CommError e = applySettings(setup); e.number != 0)
        co_return failure(e.description);
    socket_.write(Stream::setByte(SetControl, setup.rts ? 11 : 12));
    const auto acknowledgedAll = [this] {
        return stream_.comPortAccepted() && acknowledged_.count(SetBaud) &&
               acknowledged_.count(SetDataSize) && acknowledged_.count(SetParity) &&
               acknowledged_.count(SetStopSize);
    };
    const std::function<bool()> settled = [&] {
        return refused_ || busyTold() || acknowledgedAll();
    };
    co_await waitFor(settled, SetupMs);
    if (abandoned_ || socket_.state() != QAbstractSocket::ConnectedState)
        co_return failure(closedReason());
    if (busyTold())
        co_return failure(QStringLiteral("held by another client"));
    if (refused_)
        co_return failure(QStringLiteral("the server refused the COM-PORT option"));
    if (!stream_.comPortAccepted())
        co_return failure(QStringLiteral("the server does not offer the COM-PORT option"));
    if (!acknowledgedAll())
        co_return failure(QStringLiteral("the server did not acknowledge the line settings "
                                         "(speed, data size, parity, stop bits)"));
    open_ = true;
    co_return CommError{};
}

CommError NetworkLine::applySettings(const Setup& setup)
{
    if (!isRfc2217())
        return {}; // a raw port's line is the server's business
    const LineSettings& s = setup.settings;
    socket_.write(Stream::setBaud(quint32(s.baud)) +
                  Stream::setByte(SetDataSize, uint8_t(s.dataBits)) +
                  Stream::setByte(SetParity, parityCode(s.parity)) +
                  Stream::setByte(SetStopSize, stopCode(s.stopBits)) +
                  Stream::setByte(SetControl, flowCode(setup.handshaking)));
    return {};
}

CommError NetworkLine::applyRts(const Setup& setup)
{
    if (isRfc2217() && setup.handshaking < 2)
        socket_.write(Stream::setByte(SetControl, setup.rts ? 11 : 12));
    return {};
}

void NetworkLine::close()
{
    if (opening_ && !abandoned_) {
        // The open waiting for the server ends now, as a failure.
        abandoned_ = true;
        deadline_.setEnabled(false);
    }
    if (socket_.state() != QAbstractSocket::UnconnectedState) {
        open_ = false;
        socket_.disconnectFromHost();
        if (socket_.state() != QAbstractSocket::UnconnectedState)
            socket_.abort();
    }
    open_ = false;
    input_.clear();
}

CommError NetworkLine::write(const QByteArray& bytes)
{
    // One write per frame, so the frame leaves in one segment.
    const QByteArray wire = isRfc2217() ? Stream::escape(bytes) : bytes;
    if (socket_.write(wire) == wire.size())
        return {};
    return {CommErrorNumber::WriteFailed, socket_.errorString()};
}

QByteArray NetworkLine::takeReceived()
{
    QByteArray out;
    out.swap(input_);
    return out;
}

void NetworkLine::onReadyRead()
{
    // Before the handshake, bytes belong to it; a plain server's words are no data.
    if (address_.tls && !socket_.isEncrypted())
        return;
    const QByteArray bytes = socket_.readAll();
    heard_ = heard_ || !bytes.isEmpty();
    if (!isRfc2217()) {
        input_ += bytes;
        if (!bytes.isEmpty())
            emit received();
        return;
    }
    const Fed fed = stream_.feed(bytes);
    if (!fed.reply.isEmpty())
        socket_.write(fed.reply);
    for (const Notice& n : fed.notices) {
        switch (n.kind) {
        case Notice::ComPortRefused:
            refused_ = true;
            break;
        case Notice::Acknowledged:
            acknowledged_.insert(n.option);
            break;
        case Notice::SignatureText:
            emit note(QStringLiteral("server signature: %1").arg(QString::fromLatin1(n.value)));
            break;
        case Notice::OptionRefused:
            emit note(QStringLiteral("option %1 refused").arg(n.option));
            break;
        default:
            break;
        }
    }
    input_ += fed.data;
    if (!fed.data.isEmpty())
        emit received();
}

void NetworkLine::onDisconnected()
{
    if (!open_)
        return; // during open, open() tells why
    open_ = false;
    emit note(QStringLiteral("%1: closed by the server").arg(name()));
    if (!heard_ && !address_.tls) {
        // A TLS server hangs up on the first frame sent in the clear.
        emit lost(QStringLiteral("Connection closed by the device server (%1) before it sent "
                                 "anything; a TLS port is named tcp+tls://")
                      .arg(name()));
        return;
    }
    emit lost(QStringLiteral("Connection closed by the device server (%1)").arg(name()));
}
