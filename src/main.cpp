#include "app/CorvaneApp.h"
#include "comm/LineAddress.h"
#include "model/AppIdentity.h"

#include <QApplication>
#include <QCommandLineParser>
#include <cstdio>
#include <cstring>

namespace {
void describe(QCommandLineParser& options, const QCommandLineOption& demo,
              const QCommandLineOption& port)
{
    options.setApplicationDescription(
        QStringLiteral("Configures synchronizers over an RS-232 line."));
    options.addHelpOption();
    options.addVersionOption();
    options.addOption(demo);
    options.addOption(port);
}

// "N=URL" from --port: a device server's port on COMn for this run.
bool putNetworkPorts(PortMap& ports, const QStringList& items)
{
    for (const QString& item : items) {
        bool ok = false;
        const int n = item.section(QLatin1Char('='), 0, 0).toInt(&ok);
        const QString url = item.section(QLatin1Char('='), 1);
        QString error;
        const LineAddress address = LineAddress::parse(url, &error);
        if (!ok || n < 1 || n > PortMap::MaxPort || !address.isNetwork()) {
            std::fprintf(stderr,
                         "corvane: --port %s: expected N=rfc2217://HOST:PORT or "
                         "N=tcp://HOST:PORT with N from 1 to 16%s%s\n",
                         qPrintable(item), error.isEmpty() ? "" : ": ", qPrintable(error));
            return false;
        }
        ports.setNetworkPort(n, url);
    }
    return true;
}

// --help and --version print a text and end: they need no display, so they work over a
// remote shell too.
bool asksOnlyForText(int argc, char** argv)
{
    for (int i = 1; i < argc; ++i) {
        for (const char* o : {"-h", "--help", "-?", "--help-all", "-v", "--version"})
            if (std::strcmp(argv[i], o) == 0)
                return true;
    }
    return false;
}

void nameApplication()
{
    QCoreApplication::setApplicationName(QStringLiteral("corvane"));
    QCoreApplication::setApplicationVersion(AppIdentity::VersionNumber());
}
} // namespace

int main(int argc, char** argv)
{
    QCommandLineParser options;
    const QCommandLineOption demo(
        QStringLiteral("demo"),
        QStringLiteral("Start with a simulated synchronizer on COM1 (the machine's ports follow "
                       "from COM2), to try the tool without hardware."));
    const QCommandLineOption port(
        QStringLiteral("port"),
        QStringLiteral("Put a device server's port on COMn for this run (repeatable): "
                       "N=rfc2217://HOST:PORT or N=tcp://HOST:PORT."),
        QStringLiteral("N=URL"));
    describe(options, demo, port);
    if (asksOnlyForText(argc, argv)) {
        QCoreApplication text(argc, argv);
        nameApplication();
        options.process(text); // prints and exits
        return 0;
    }

    QApplication qapp(argc, argv);
    nameApplication();
    // The menu entry's name, so that a desktop matches the windows to it.
    QGuiApplication::setDesktopFileName(QStringLiteral("org.corvane.Corvane"));
    options.process(qapp);

    CorvaneApp app;
    if (!putNetworkPorts(app.ports, options.values(port)))
        return 3;
    if (options.isSet(demo)) {
        QString error;
        if (!app.startDemo(&error)) {
            std::fprintf(stderr,
                         "corvane: --demo needs a pseudo-terminal for the simulated "
                         "synchronizer, and this system gave none (%s)\n",
                         qPrintable(error));
            return 1;
        }
    }
    startApplication(app);
    return qapp.exec();
}
