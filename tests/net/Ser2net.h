#pragma once
// A device server for the tests and the benchmarks: the system's ser2net in the
// foreground, bound to 127.0.0.1 only, in front of one device (a simulated unit's
// pseudo-terminal), on a free port; stopped when the object goes. Also a server of the
// tests' own that speaks just enough Telnet to fail in ways ser2net does not. Qt Core and
// Network only, so the benchmarks can use it without the test library.

#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QThread>
#include <functional>

inline quint16 freeTcpPort()
{
    QTcpServer probe;
    return probe.listen(QHostAddress::LocalHost, 0) ? probe.serverPort() : 0;
}

struct Ser2net
{
    QTemporaryDir dir;
    QProcess process;
    quint16 port = 0;
    bool ok = false;

    static bool installed()
    {
        return !QStandardPaths::findExecutable("ser2net", {"/usr/sbin", "/usr/bin"}).isEmpty();
    }

    // `rfc2217`: a Telnet port with the COM-PORT option; else raw TCP.
    Ser2net(const QString& device, bool rfc2217, quint16 onPort = 0)
    {
        port = onPort ? onPort : freeTcpPort();
        const QString accepter = rfc2217 ? "telnet(rfc2217),tcp" : "tcp";
        QFile config(dir.filePath("ser2net.yaml"));
        if (!config.open(QIODevice::WriteOnly))
            return;
        config.write(QStringLiteral("%YAML 1.1\n---\nconnection: &unit\n"
                                    "  accepter: %1,127.0.0.1,%2\n"
                                    "  connector: serialdev,%3,1200n81,local\n"
                                    "  options:\n    kickolduser: false\n    chardelay: false\n")
                         .arg(accepter)
                         .arg(port)
                         .arg(device)
                         .toUtf8());
        config.close();
        process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        process.start(QStandardPaths::findExecutable("ser2net", {"/usr/sbin", "/usr/bin"}),
                      {"-n", "-c", config.fileName(), "-P", dir.filePath("pid")});
        ok = process.waitForStarted() && waitListening();
    }
    ~Ser2net() { stop(); }

    QString url(bool rfc2217) const
    {
        return QStringLiteral("%1://127.0.0.1:%2").arg(rfc2217 ? "rfc2217" : "tcp").arg(port);
    }
    void stop()
    {
        if (process.state() == QProcess::NotRunning)
            return;
        process.kill();
        process.waitForFinished(3000);
    }

private:
    bool waitListening()
    {
        for (int i = 0; i < 150; ++i) {
            QTcpSocket s;
            s.connectToHost(QHostAddress::LocalHost, port);
            if (s.waitForConnected(100))
                return true;
            QThread::msleep(20); // ser2net starts in a process of its own
        }
        return false;
    }
};

// Accepts connections on 127.0.0.1 and answers whatever arrives with `answer(bytes)`.
struct FakeServer
{
    QTcpServer server;
    std::function<QByteArray(const QByteArray&)> answer;

    explicit FakeServer(std::function<QByteArray(const QByteArray&)> a) : answer(std::move(a))
    {
        server.listen(QHostAddress::LocalHost, 0);
        QObject::connect(&server, &QTcpServer::newConnection, [this] {
            QTcpSocket* s = server.nextPendingConnection();
            QObject::connect(s, &QTcpSocket::readyRead,
                             [this, s] { s->write(answer(s->readAll())); });
        });
    }
    QString url() const
    {
        return QStringLiteral("rfc2217://127.0.0.1:%1").arg(server.serverPort());
    }
};
