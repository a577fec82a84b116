#include "app/CorvaneApp.h"
#include "model/AppIdentity.h"

#include <QApplication>
#include <QCommandLineParser>
#include <cstdio>

int main(int argc, char** argv)
{
    QApplication qapp(argc, argv);
    QApplication::setApplicationName(QStringLiteral("corvane"));
    QApplication::setApplicationVersion(AppIdentity::VersionNumber());

    QCommandLineParser options;
    options.setApplicationDescription(
        QStringLiteral("Configures synchronizers over an RS-232 line."));
    options.addHelpOption();
    options.addVersionOption();
    const QCommandLineOption demo(
        QStringLiteral("demo"),
        QStringLiteral("Start with a simulated synchronizer on COM1 (the machine's ports follow "
                       "from COM2), to try the tool without hardware."));
    options.addOption(demo);
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
