#include "app/CorvaneApp.h"
#include "app/StartOptions.h"
#include "app/frmMain.h"
#include "app/frmRack.h"
#include "cli/CliTlsOptions.h"
#include "model/AppIdentity.h"

#include <QApplication>
#include <QCommandLineParser>
#include <cstdio>
#include <cstring>

namespace {
void describe(QCommandLineParser& options, const QCommandLineOption& demo,
              const QCommandLineOption& port, const QCommandLineOption& rack)
{
    options.setApplicationDescription(
        QStringLiteral("Configures synchronizers over an RS-232 line."));
    options.addHelpOption();
    options.addVersionOption();
    options.addOption(demo);
    options.addOption(port);
    options.addOption(rack);
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
                       "N=rfc2217://HOST:PORT or N=tcp://HOST:PORT (rfc2217+tls://, tcp+tls:// "
                       "over TLS)."),
        QStringLiteral("N=URL"));
    const QCommandLineOption rack(
        QStringLiteral("rack"),
        QStringLiteral("Open the rack window with the units of a rack file (one unit a line: "
                       "COM3 channel=3 expect=22/3 file=hall.txt)."),
        QStringLiteral("FILE"));
    describe(options, demo, port, rack);
    CliTlsOptions::add(options);
    // Everything but the window is settled before the application object exists: Qt
    // aborts without a display, and a bad option or port is told as one line.
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    bool platformNamed = false;
    const QStringList own = StartOptions::withoutQtOptions(arguments, &platformNamed);
    if (!options.parse(own)) {
        std::fprintf(stderr, "corvane: %s (corvane --help lists the options)\n",
                     qPrintable(options.errorText()));
        return 3;
    }
    if (asksOnlyForText(argc, argv)) {
        QCoreApplication text(argc, argv);
        nameApplication();
        options.process(own); // prints and exits
        return 0;
    }
    PortMap ports;
    QString error;
    if (!StartOptions::putPorts(ports, qEnvironmentVariable("CORVANE_PORT_MAP"),
                                options.values(port), &error)) {
        std::fprintf(stderr, "%s\n", qPrintable(error));
        return 3;
    }
    ports.setTlsDefaults(CliTlsOptions::read(options, &error));
    if (!error.isEmpty()) {
        std::fprintf(stderr, "corvane: %s\n", qPrintable(error));
        return 3;
    }
    const QString noDisplay = StartOptions::missingDisplay(platformNamed);
    if (!noDisplay.isEmpty()) {
        std::fprintf(stderr, "%s\n", qPrintable(noDisplay));
        return 2;
    }

    QApplication qapp(argc, argv);
    nameApplication();
    // The menu entry's name, so that a desktop matches the windows to it.
    QGuiApplication::setDesktopFileName(QStringLiteral("org.corvane.Corvane"));

    CorvaneApp app;
    app.ports = ports;
    if (options.isSet(demo)) {
        if (!app.startDemo(&error)) {
            std::fprintf(stderr,
                         "corvane: --demo needs a pseudo-terminal for the simulated "
                         "synchronizer, and this system gave none (%s)\n",
                         qPrintable(error));
            return 1;
        }
    }
    startApplication(app);
    if (options.isSet(rack)) {
        app.showRack(&app.main());
        app.rack().openRackFile(options.value(rack));
    }
    return qapp.exec();
}
