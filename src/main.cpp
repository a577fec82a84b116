#include "app/CorvaneApp.h"
#include "model/AppIdentity.h"

#include <QApplication>
#include <QCommandLineParser>
#include <cstdio>
#include <cstring>

namespace {
void describe(QCommandLineParser& options, const QCommandLineOption& demo)
{
    options.setApplicationDescription(
        QStringLiteral("Configures synchronizers over an RS-232 line."));
    options.addHelpOption();
    options.addVersionOption();
    options.addOption(demo);
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
    describe(options, demo);
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
