#pragma once
// What stands behind a COM number: a serial device path of this machine, or a port of a
// device server, written "rfc2217://HOST:PORT" (the line set by the client) or
// "tcp://HOST:PORT" (raw bytes; the server's line is set by hand).

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

    bool isNetwork() const { return kind != Device; }
    // As it is written: the path, or "rfc2217://HOST:PORT" and "tcp://HOST:PORT".
    QString toString() const;

    // A device path is taken as it is; a network address must have a host and a port from
    // 1 to 65535, else *error says what is wrong and the result is a Device with no path.
    static LineAddress parse(const QString& text, QString* error = nullptr);
    // True for anything written as a network address ("scheme://"), valid or not.
    static bool looksLikeNetwork(const QString& text);
};
