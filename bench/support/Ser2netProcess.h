#pragma once
// The system's ser2net in front of one device, on a free port of 127.0.0.1, until this
// object goes: RFC 2217 or raw TCP.

#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QThread>

namespace bench {

class Ser2netProcess
{
public:
    Ser2netProcess(const Ser2netProcess&) = delete;
    Ser2netProcess& operator=(const Ser2netProcess&) = delete;
    Ser2netProcess(const QString& device, bool rfc2217) : rfc2217_(rfc2217)
    {
        QTcpServer probe;
        if (!probe.listen(QHostAddress::LocalHost, 0))
            return;
        port_ = probe.serverPort();
        probe.close();
        QFile config(dir_.filePath("ser2net.yaml"));
        if (!config.open(QIODevice::WriteOnly))
            return;
        config.write(QStringLiteral("%YAML 1.1\n---\nconnection: &unit\n"
                                    "  accepter: %1,127.0.0.1,%2\n"
                                    "  connector: serialdev,%3,1200n81,local\n"
                                    "  options:\n    chardelay: false\n")
                         .arg(rfc2217 ? "telnet(rfc2217),tcp" : "tcp")
                         .arg(port_)
                         .arg(device)
                         .toUtf8());
        config.close();
        const QString exe = QStandardPaths::findExecutable("ser2net", {"/usr/sbin", "/usr/bin"});
        process_.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        process_.start(exe, {"-n", "-c", config.fileName(), "-P", dir_.filePath("pid")});
        if (!process_.waitForStarted(3000))
            return;
        for (int i = 0; i < 100 && !ok_; ++i) {
            QTcpSocket s;
            s.connectToHost(QHostAddress::LocalHost, port_);
            ok_ = s.waitForConnected(100);
            if (!ok_)
                QThread::msleep(20);
        }
    }
    ~Ser2netProcess()
    {
        process_.kill();
        process_.waitForFinished(3000);
    }
    bool ok() const { return ok_; }
    QString url() const
    {
        return QStringLiteral("%1://127.0.0.1:%2").arg(rfc2217_ ? "rfc2217" : "tcp").arg(port_);
    }

private:
    QTemporaryDir dir_;
    QProcess process_;
    bool rfc2217_;
    quint16 port_ = 0;
    bool ok_ = false;
};

} // namespace bench
