// corvane-cli: find, read, write, verify, back up and restore synchronizers from a script.

#include "cli/CliCommands.h"
#include "model/AppIdentity.h"

#include <QCoreApplication>

int main(int argc, char** argv)
{
    QCoreApplication qapp(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("corvane-cli"));
    QCoreApplication::setApplicationVersion(AppIdentity::VersionNumber());
    return CliCommands::runCommandLine(QCoreApplication::arguments());
}
