#pragma once
// A first look at a TLS server's certificate, before anyone trusts it: connects, shakes
// hands far enough to see the certificate, and hangs up, sending nothing of its own. Lets
// a window show the fingerprint and ask the user whether this is the server they meant.

#include "comm/Await.h"
#include "comm/LineAddress.h"

#include <QByteArray>
#include <QString>

struct CertificateLook
{
    QString failure;      // "" when a certificate was seen; else why not
    QByteArray digest;    // SHA-256 of the server's certificate
    bool trusted = false; // it passes the address's trust as it stands (CA, pin or the system's)
    QString subject;      // the certificate's common name, for the user to recognise
    QString problems;     // why it does not pass: the check's findings, or not the pinned one
};

// Within `ms` for the connection and as long again for the handshake.
Task<CertificateLook> lookAtCertificate(LineAddress address, int ms = 3000);
