#pragma once
// Whom a TLS line to a device server trusts, and what it shows the server of itself.
//
// The server's certificate is checked against the CA certificates in `caFile` (or, without
// one, the system's), or pinned: with `pin` set, exactly the certificate whose SHA-256
// fingerprint it is passes, whatever signed it. `certFile` and `keyFile` are the client
// certificate and its key, for servers that admit only clients they know. Nothing here
// turns the check off.

#include <QByteArray>
#include <QString>

struct TlsTrust
{
    QString caFile;
    QByteArray pin; // 32 bytes, the SHA-256 digest of the server's certificate; empty: none
    QString certFile;
    QString keyFile;

    bool isEmpty() const
    {
        return caFile.isEmpty() && pin.isEmpty() && certFile.isEmpty() && keyFile.isEmpty();
    }
    // What this leaves unset, taken from `defaults` (a certificate and its key together).
    TlsTrust over(const TlsTrust& defaults) const;

    // A fingerprint as the user gives it: 64 hex digits, in pairs separated by ':' or not,
    // optionally after "sha256:" or "SHA256 Fingerprint=" (as openssl prints it); empty
    // when it is none of these.
    static QByteArray parsePin(const QString& text);
    // What a pin must be, for messages: "a SHA-256 fingerprint (64 hex digits, ...)".
    static QString pinForm();
    // A SHA-256 digest as openssl prints it: "AB:CD:...", 32 pairs.
    static QString fingerprintText(const QByteArray& digest);
};

bool operator==(const TlsTrust& a, const TlsTrust& b);
