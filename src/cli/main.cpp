// corvane-cli: find, read, write and verify synchronizers from a script.

#include "cli/CliCommands.h"
#include "cli/CliSession.h"
#include "model/AppIdentity.h"

#include <QCoreApplication>
#include <cstdio>

int main(int argc, char** argv)
{
    QCoreApplication qapp(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("corvane-cli"));
    QCoreApplication::setApplicationVersion(AppIdentity::VersionNumber());

    const ParsedCommandLine parsed = parseCommandLine(QCoreApplication::arguments());
    std::fputs(qPrintable(parsed.out), stdout);
    std::fputs(qPrintable(parsed.err), stderr);
    if (!parsed.request)
        return parsed.exitCode;

    CliHost host;
    const QString map = qEnvironmentVariable("CORVANE_PORT_MAP");
    QString error;
    if (!map.isEmpty() && !CliSession::applyPortMap(host.ports, map, &error)) {
        CliSession::err(QStringLiteral("corvane-cli: ") + error);
        return ExitCode::BadInput;
    }
    return CliCommands::run(host, *parsed.request);
}
