#include "comm/TlsSession.h"

#include <QFile>
#include <QSslCipher>
#include <QSslKey>
#include <QSslSocket>

namespace TlsSession {

namespace {

QString protocolText(QSsl::SslProtocol p)
{
    switch (p) {
    case QSsl::TlsV1_3:
        return QStringLiteral("TLS 1.3");
    case QSsl::TlsV1_2:
        return QStringLiteral("TLS 1.2");
    default:
        return QStringLiteral("TLS (version %1)").arg(int(p));
    }
}

// A PEM or DER key of any algorithm Qt reads; null when the file holds none.
QSslKey readKey(const QByteArray& data)
{
    for (const QSsl::KeyAlgorithm algorithm : {QSsl::Rsa, QSsl::Ec, QSsl::Dsa})
        for (const QSsl::EncodingFormat format : {QSsl::Pem, QSsl::Der}) {
            QSslKey key(data, algorithm, format);
            if (!key.isNull())
                return key;
        }
    return {};
}

QByteArray fileBytes(const QString& path, QString* why)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) {
        *why = f.errorString();
        return {};
    }
    return f.readAll();
}

// The PEM certificates in `path`; none, with `why` said, when there are none.
QList<QSslCertificate> readCertificates(const QString& path, QString* why)
{
    why->clear();
    const QList<QSslCertificate> found = QSslCertificate::fromData(fileBytes(path, why), QSsl::Pem);
    if (found.isEmpty() && why->isEmpty())
        *why = QStringLiteral("no PEM certificate in it");
    return found;
}

} // namespace

QString findings(const QList<QSslError>& errors)
{
    QStringList texts;
    for (const QSslError& e : errors)
        if (!texts.contains(e.errorString()))
            texts << e.errorString();
    return texts.join(QStringLiteral("; "));
}

QString configure(QSslSocket& socket, const TlsTrust& trust)
{
    QSslConfiguration conf = QSslConfiguration::defaultConfiguration();
    conf.setProtocol(QSsl::TlsV1_2OrLater);
    QString why;
    if (!trust.caFile.isEmpty()) {
        const QList<QSslCertificate> cas = readCertificates(trust.caFile, &why);
        if (cas.isEmpty())
            return QStringLiteral("cannot read the CA file %1 (%2)").arg(trust.caFile, why);
        conf.setCaCertificates(cas);
    }
    if (!trust.certFile.isEmpty()) {
        const QList<QSslCertificate> mine = readCertificates(trust.certFile, &why);
        if (mine.isEmpty())
            return QStringLiteral("cannot read the client certificate %1 (%2)")
                .arg(trust.certFile, why);
        const QSslKey key = readKey(fileBytes(trust.keyFile, &why));
        if (key.isNull())
            return QStringLiteral("cannot read the key %1 (%2)")
                .arg(trust.keyFile,
                     why.isEmpty() ? QStringLiteral("no key without a passphrase in it") : why);
        conf.setLocalCertificateChain(mine);
        conf.setPrivateKey(key);
    }
    // A pinned certificate passes whoever signed it; checkPeer() compares it. Otherwise the
    // chain and the host name must hold, and the handshake stops where they do not.
    conf.setPeerVerifyMode(trust.pin.isEmpty() ? QSslSocket::VerifyPeer : QSslSocket::QueryPeer);
    socket.setSslConfiguration(conf);
    return {};
}

QString peerFingerprint(const QSslSocket& socket)
{
    const QSslCertificate peer = socket.peerCertificate();
    return peer.isNull() ? QStringLiteral("none shown")
                         : TlsTrust::fingerprintText(peer.digest(QCryptographicHash::Sha256));
}

QString checkPeer(const QSslSocket& socket, const TlsTrust& trust)
{
    if (trust.pin.isEmpty())
        return {};
    const QSslCertificate peer = socket.peerCertificate();
    if (!peer.isNull() && peer.digest(QCryptographicHash::Sha256) == trust.pin)
        return {};
    return QStringLiteral("certificate not trusted (fingerprint %1): not the pinned certificate")
        .arg(peerFingerprint(socket));
}

QString handshakeFailure(const QSslSocket& socket, const QList<QSslError>& errors)
{
    if (!errors.isEmpty())
        return QStringLiteral("certificate not trusted (fingerprint %1): %2")
            .arg(peerFingerprint(socket), findings(errors));
    const QString text = socket.errorString();
    // Servers that send an alert before they close say so in it.
    if (text.contains(QLatin1String("certificate required"), Qt::CaseInsensitive))
        return QStringLiteral("the server asked for a client certificate");
    if (text.contains(QLatin1String("unknown ca"), Qt::CaseInsensitive) ||
        text.contains(QLatin1String("bad certificate"), Qt::CaseInsensitive))
        return QStringLiteral("the server did not accept the client certificate (%1)").arg(text);
    return QStringLiteral("TLS handshake failed: %1").arg(text);
}

QString closedAfterHandshake(const TlsTrust& trust)
{
    return trust.certFile.isEmpty()
               ? QStringLiteral("the server asked for a client certificate")
               : QStringLiteral("the server did not accept the client certificate %1")
                     .arg(trust.certFile);
}

QString sessionText(const QSslSocket& socket)
{
    return QStringLiteral("%1, cipher %2, server certificate SHA-256 %3")
        .arg(protocolText(socket.sessionProtocol()), socket.sessionCipher().name(),
             peerFingerprint(socket));
}

} // namespace TlsSession
