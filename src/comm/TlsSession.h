#pragma once
// The TLS side of a network line: the configuration a trust makes, the check of the
// server's certificate, and the words for what went wrong, so the line itself only waits.

#include "comm/TlsTrust.h"

#include <QList>
#include <QSslConfiguration>
#include <QSslError>
#include <QString>

class QSslSocket;

namespace TlsSession {

// The socket's configuration for `trust`: its CA certificates (or the system's), its
// client certificate and key; the pinned check is left to checkPeer(). "" when every file
// could be read, else why not (nothing is configured then).
QString configure(QSslSocket& socket, const TlsTrust& trust);

// What the check of a certificate found, each finding once: "The certificate is
// self-signed, and untrusted; ...".
QString findings(const QList<QSslError>& errors);

// After the handshake: "" when the server's certificate is the pinned one (or no pin is
// set), else the reason.
QString checkPeer(const QSslSocket& socket, const TlsTrust& trust);

// The reason for a handshake the socket gave up, from the verification errors it met (if
// any) and its error text.
QString handshakeFailure(const QSslSocket& socket, const QList<QSslError>& errors);

// The reason for a server that closed the connection right after the handshake, before a
// word of its own: it wanted a client certificate it did not get or did not like.
QString closedAfterHandshake(const TlsTrust& trust);

// "TLS 1.3, cipher TLS_AES_256_GCM_SHA384, server certificate SHA-256 AB:CD:...".
QString sessionText(const QSslSocket& socket);

// The SHA-256 fingerprint of the server's certificate, as the user compares it.
QString peerFingerprint(const QSslSocket& socket);

} // namespace TlsSession
