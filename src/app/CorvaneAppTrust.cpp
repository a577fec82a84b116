// First contact with a TLS device server from the window: the certificate is looked at
// before the port is added, and one that nothing here vouches for is shown with its
// fingerprint, to be pinned only when the user says yes.

#include "app/CorvaneApp.h"
#include "app/frmFinder.h"
#include "comm/CertificateLook.h"
#include "comm/LineAddress.h"

Task<QString> CorvaneApp::trustedAddress(QString address)
{
    LineAddress a =
        LineAddress::parse(LineAddress::withTrustDefaults(address, ports.tlsDefaults()));
    if (!a.tls)
        co_return address;
    frmFinder& f = finder();
    const CertificateLook look = co_await lookAtCertificate(a);
    if (!look.failure.isEmpty()) {
        const QString text =
            QStringLiteral("%1 cannot be added: %2").arg(a.displayName(), look.failure);
        co_await modal.messageBox(&f, text, true);
        co_return QString();
    }
    wireLog().event(
        QStringLiteral("%1 shows the certificate %2, SHA-256 %3")
            .arg(a.displayName(), look.subject, TlsTrust::fingerprintText(look.digest)));
    if (look.trusted)
        co_return address;
    const QString text =
        QStringLiteral("%1 shows a certificate that is not trusted here:\n%2\n\n"
                       "Issued to: %3\nFingerprint (SHA-256):\n%4\n\n"
                       "Compare the fingerprint with the server's own certificate (openssl x509 "
                       "-noout -fingerprint -sha256 -in FILE). Trust exactly this certificate "
                       "for this port?")
            .arg(a.displayName(), look.problems, look.subject,
                 TlsTrust::fingerprintText(look.digest));
    if (!co_await modal.question(&f, text))
        co_return QString();
    LineAddress pinned = LineAddress::parse(address);
    pinned.trust.pin = look.digest;
    co_return pinned.toString();
}
