#pragma once
// What stands behind a COM number: a serial device path of this machine, or a port of a
// device server, written "rfc2217://HOST:PORT" (the line set by the client) or
// "tcp://HOST:PORT" (raw bytes; the server's line is set by hand).
//
// "rfc2217+tls://" and "tcp+tls://" are the same inside TLS. Whom such an address trusts
// may follow it as a query, so it travels wherever an address does (port maps, rack files):
// "rfc2217+tls://rack-a:7001?pin=AB:CD:...&cert=/etc/corvane/me.crt&key=/etc/corvane/me.key"
// (keys ca, pin, cert and key; values percent-encoded where they hold '&', ',' or blanks).

#include "comm/TlsTrust.h"

#include <QString>

struct LineAddress
{
    enum Kind
    {
        Device,
        Rfc2217,
        RawTcp
    };
    Kind kind = Device;
    QString path;     // Device: the device path
    QString host;     // network kinds
    quint16 port = 0; // network kinds
    bool tls = false;
    TlsTrust trust; // TLS only

    bool isNetwork() const { return kind != Device; }
    // As it is written: the path, or "rfc2217://HOST:PORT" and "tcp://HOST:PORT" (with
    // "+tls" and the trust query as given).
    QString toString() const;
    // As messages and logs name the line: without the trust query.
    QString displayName() const;

    // A device path is taken as it is; a network address must have a host and a port from
    // 1 to 65535, else *error says what is wrong and the result is a Device with no path.
    static LineAddress parse(const QString& text, QString* error = nullptr);
    // True for anything written as a network address ("scheme://"), valid or not.
    static bool looksLikeNetwork(const QString& text);
    // `text` with what its trust leaves unset taken from `defaults`; anything but a valid
    // TLS address comes back as it is.
    static QString withTrustDefaults(const QString& text, const TlsTrust& defaults);
    // The name of `text` for messages: a network address without its query.
    static QString shownName(const QString& text);
};
