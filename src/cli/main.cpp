// corvane-cli: find, read, write, verify, back up and restore synchronizers from a script.

#include "cli/CliCommands.h"
#include "model/AppIdentity.h"

#include <QCoreApplication>

namespace {

// The command runs on the event loop; when it ends, so does the loop.
Task<> runToEnd(QStringList arguments, int* status, bool* ended)
{
    *status = co_await CliCommands::runCommandLine(arguments);
    *ended = true;
    QCoreApplication::exit(*status);
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication qapp(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("corvane-cli"));
    QCoreApplication::setApplicationVersion(AppIdentity::VersionNumber());
    int status = 0;
    bool ended = false;
    Await::start(runToEnd(QCoreApplication::arguments(), &status, &ended));
    // A command that never waited (help, a bad option) has ended already.
    if (ended)
        return status;
    return qapp.exec();
}
