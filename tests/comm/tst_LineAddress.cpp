// What an address names: a device path as it is, or a device server's port.

#include "comm/LineAddress.h"
#include "support/TestRunner.h"

#include <QTest>

class LineAddressTest : public QObject
{
    Q_OBJECT
private slots:
    void parse_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("read"); // kind host port, or the error after "text: "
        const auto row = [](const char* text, const char* read) {
            QTest::newRow(text) << QString(text) << QString(read);
        };
        row("/dev/ttyUSB0", "device /dev/ttyUSB0");
        row("rfc2217://rack-a:7001", "rfc2217 rack-a 7001");
        row("tcp://10.0.0.5:1", "tcp 10.0.0.5 1");
        row("socket://10.0.0.5:65535", "tcp 10.0.0.5 65535");
        row("rfc2217://[::1]:7001", "rfc2217 ::1 7001");
        row("rfc2217://rack-a:65536", "error the port must be from 1 to 65535");
        row("rfc2217://rack-a:0", "error the port must be from 1 to 65535");
        row("rfc2217://rack-a", "error not rfc2217://HOST:PORT or tcp://HOST:PORT");
        row("rfc2217://:7001", "error not rfc2217://HOST:PORT or tcp://HOST:PORT");
        row("rfc2217://a b:7001", "error not rfc2217://HOST:PORT or tcp://HOST:PORT");
        row("telnet://rack-a:23", "error unknown kind \"telnet\" (rfc2217 or tcp)");
    }

    void parse()
    {
        QFETCH(QString, text);
        QFETCH(QString, read);
        QString error;
        const LineAddress a = LineAddress::parse(text, &error);
        QString got;
        if (!error.isEmpty())
            got = "error " + error.mid(text.size() + 2);
        else if (a.kind == LineAddress::Device)
            got = "device " + a.path;
        else
            got = QStringLiteral("%1 %2 %3")
                      .arg(a.kind == LineAddress::Rfc2217 ? "rfc2217" : "tcp", a.host)
                      .arg(a.port);
        QCOMPARE(got, read);
        if (error.isEmpty() && a.isNetwork())
            QCOMPARE(LineAddress::parse(a.toString()).toString(), a.toString());
    }
};

CORVANE_TEST_CLASS(LineAddressTest)
#include "tst_LineAddress.moc"
