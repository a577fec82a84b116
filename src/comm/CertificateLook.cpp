#include "comm/CertificateLook.h"

#include "comm/CommTimer.h"
#include "comm/EventWait.h"
#include "comm/TlsSession.h"

#include <QSslSocket>
#include <functional>

namespace {

// Suspends until `done` holds, the connection ends or `ms` pass.
Task<> waitUntil(QSslSocket& socket, CommTimer& deadline, std::function<bool()> done, int ms)
{
    deadline.setInterval(ms);
    deadline.setEnabled(true);
    EventWait wait(deadline, std::move(done));
    wait.wakeOn(&socket, &QSslSocket::stateChanged)
        .wakeOn(&socket, &QSslSocket::encrypted)
        .wakeOn(&socket, &QSslSocket::errorOccurred)
        .wakeOn(&socket, &QSslSocket::sslErrors);
    co_await wait;
    deadline.setEnabled(false);
}

} // namespace

Task<CertificateLook> lookAtCertificate(LineAddress address, int ms)
{
    CertificateLook look;
    QSslSocket socket;
    CommTimer deadline;
    if (const QString why = TlsSession::configure(socket, address.trust); !why.isEmpty()) {
        look.failure = why;
        co_return look;
    }
    QList<QSslError> errors;
    QSslCertificate peer;
    // The certificate is taken as soon as it shows: the check's verdict or the handshake's
    // end, whichever comes.
    QObject::connect(&socket, &QSslSocket::sslErrors, &socket, [&](const QList<QSslError>& e) {
        errors = e;
        peer = socket.peerCertificate();
        look.problems = TlsSession::findings(e);
    });
    QObject::connect(&socket, &QSslSocket::encrypted, &socket, [&] {
        peer = socket.peerCertificate();
        if (!TlsSession::checkPeer(socket, address.trust).isEmpty())
            look.problems = QStringLiteral("it is not the pinned certificate");
    });
    socket.connectToHostEncrypted(address.host, address.port);
    const std::function<bool()> seen = [&] {
        return !peer.isNull() || socket.state() == QAbstractSocket::UnconnectedState;
    };
    const std::function<bool()> connected = [&] {
        return seen() || socket.state() == QAbstractSocket::ConnectedState;
    };
    co_await waitUntil(socket, deadline, connected, ms);
    const bool reached = socket.state() == QAbstractSocket::ConnectedState || !peer.isNull();
    if (!seen() && socket.state() == QAbstractSocket::ConnectedState)
        co_await waitUntil(socket, deadline, seen, ms);
    if (peer.isNull()) {
        if (!reached)
            look.failure = socket.state() == QAbstractSocket::UnconnectedState
                               ? socket.errorString()
                               : QStringLiteral("no answer within %1 seconds").arg(ms / 1000);
        else
            look.failure = socket.state() == QAbstractSocket::UnconnectedState
                               ? TlsSession::handshakeFailure(socket, errors)
                               : QStringLiteral("TLS handshake failed: no answer within %1 "
                                                "seconds (is it a TLS port?)")
                                     .arg(ms / 1000);
        socket.abort();
        co_return look;
    }
    look.digest = peer.digest(QCryptographicHash::Sha256);
    look.subject = peer.subjectInfo(QSslCertificate::CommonName).join(QStringLiteral(", "));
    look.trusted = look.problems.isEmpty();
    socket.abort();
    co_return look;
}
