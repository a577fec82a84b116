#pragma once
// A device server for the tests and the benchmarks: the system's ser2net in the
// foreground, bound to 127.0.0.1 only, in front of one device (a simulated unit's
// pseudo-terminal) or several on consecutive ports, free ones, in the clear or over TLS;
// stopped when the object goes. Also a server of the tests' own that speaks just enough
// Telnet to fail in ways ser2net does not. Qt Core and Network only, so the benchmarks can
// use it without the test library.

#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QThread>
#include <functional>
#include <memory>
#include <vector>

inline quint16 freeTcpPort()
{
    QTcpServer probe;
    return probe.listen(QHostAddress::LocalHost, 0) ? probe.serverPort() : 0;
}

// The first of `count` consecutive ports that are free on 127.0.0.1 (0 when none found).
inline quint16 freeTcpPorts(int count)
{
    for (int attempt = 0; attempt < 20; ++attempt) {
        std::vector<std::unique_ptr<QTcpServer>> held(1);
        held[0] = std::make_unique<QTcpServer>();
        if (!held[0]->listen(QHostAddress::LocalHost, 0))
            return 0;
        const int first = held[0]->serverPort();
        while (int(held.size()) < count && first + int(held.size()) <= 65535) {
            held.push_back(std::make_unique<QTcpServer>());
            if (!held.back()->listen(QHostAddress::LocalHost, quint16(first + held.size() - 1)))
                break;
        }
        if (int(held.size()) == count && held.back()->isListening())
            return quint16(first);
    }
    return 0;
}

struct Ser2net
{
    // A TLS accepter with this certificate and key; with `authDir`, clients must show a
    // certificate whose common name is a user there whose allowed_certs/ admits it.
    struct Tls
    {
        QString cert;
        QString key;
        QString authDir;
    };

    QTemporaryDir dir;
    QProcess process;
    quint16 port = 0; // the first device's; the next ones follow it
    bool ok = false;

    static bool installed()
    {
        return !QStandardPaths::findExecutable("ser2net", {"/usr/sbin", "/usr/bin"}).isEmpty();
    }

    // `rfc2217`: a Telnet port with the COM-PORT option; else raw TCP.
    Ser2net(const QString& device, bool rfc2217, quint16 onPort = 0)
        : Ser2net(QStringList{device}, rfc2217, Tls{}, onPort)
    {
    }
    // A connection for each device, on consecutive ports from `onPort` (or free ones).
    Ser2net(const QStringList& devices, bool rfc2217, const Tls& tls, quint16 onPort = 0)
        : tls_(!tls.cert.isEmpty()), count_(int(devices.size()))
    {
        port = onPort ? onPort : freeTcpPorts(count_);
        QString ssl;
        if (tls_)
            ssl = QStringLiteral("ssl(key=%1,cert=%2%3),")
                      .arg(tls.key, tls.cert, tls.authDir.isEmpty() ? "" : ",clientauth");
        const QString accepter = (rfc2217 ? "telnet(rfc2217)," : "") + ssl + "tcp";
        QFile config(dir.filePath("ser2net.yaml"));
        if (!config.open(QIODevice::WriteOnly))
            return;
        config.write("%YAML 1.1\n---\n");
        for (int i = 0; i < count_; ++i)
            config.write(
                QStringLiteral("connection: &unit%1\n"
                               "  accepter: %2,127.0.0.1,%3\n"
                               "  connector: serialdev,%4,1200n81,local\n"
                               "  options:\n    kickolduser: false\n"
                               "    chardelay: false\n%5")
                    .arg(i + 1)
                    .arg(accepter)
                    .arg(port + i)
                    .arg(devices[i])
                    .arg(tls.authDir.isEmpty() ? QString() : "    authdir: " + tls.authDir + '\n')
                    .toUtf8());
        config.close();
        process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        process.start(QStandardPaths::findExecutable("ser2net", {"/usr/sbin", "/usr/bin"}),
                      {"-n", "-c", config.fileName(), "-P", dir.filePath("pid")});
        ok = port != 0 && process.waitForStarted() && waitListening();
    }
    ~Ser2net() { stop(); }

    // The address of device `n` (from 0), "+tls" on a TLS server.
    QString url(bool rfc2217, int n = 0) const
    {
        return QStringLiteral("%1%2://127.0.0.1:%3")
            .arg(rfc2217 ? "rfc2217" : "tcp", tls_ ? "+tls" : "")
            .arg(port + n);
    }
    void stop()
    {
        if (process.state() == QProcess::NotRunning)
            return;
        process.kill();
        process.waitForFinished(3000);
    }

private:
    bool tls_ = false;
    int count_ = 1;

    bool waitListening()
    {
        for (int n = 0; n < count_; ++n)
            if (!waitListening(quint16(port + n)))
                return false;
        return true;
    }
    bool waitListening(quint16 on)
    {
        for (int i = 0; i < 150; ++i) {
            QTcpSocket s;
            s.connectToHost(QHostAddress::LocalHost, on);
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
