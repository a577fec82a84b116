#pragma once
// One ser2net (Debian's, version 4) in front of several devices: run in the foreground
// with a configuration of its own in a temporary folder, each device on a Telnet port with
// the COM-PORT option (RFC 2217), bound to 127.0.0.1 only. Stopped when the object goes.

#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <sys/types.h>

class Ser2netFront
{
public:
    static QString executable(); // "" when ser2net is not installed

    ~Ser2netFront() { stop(); }

    // Serves devices[i] on TCP port basePort + i. basePort 0: the first block of free ports
    // from 17001 up. False with errorString() when ser2net cannot be started or does not
    // listen on every port.
    bool start(const QStringList& devices, int basePort);
    void stop();

    int port(int index) const { return basePort_ + index; }
    QString address(int index) const;
    QString errorString() const { return error_; }

private:
    bool waitListening(int count);
    QString logPath() const;
    QString messages() const; // what ser2net wrote to standard error

    QTemporaryDir dir_;
    pid_t pid_ = -1;
    int basePort_ = 0;
    QString error_;
};
