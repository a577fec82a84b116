// ports and find: what the finder window does, on standard output.

#include "cli/CliCommands.h"
#include "cli/CliSession.h"
#include "comm/Probe.h"
#include "comm/modCorvaneComm.h"
#include "model/CellAddress.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <cmath>
#include <cstdio>

using namespace CliSession;

namespace CliCommands {

int ports(CliHost& host)
{
    CommContext c = host.comm();
    // The finder's status lines are not wanted here; the listing says it all.
    QObject::connect(&host.portAccess, &PortAccess::statusLine, [](const QString&) {});
    const bool any = modCorvaneComm::ListSerialPorts(c);
    for (const PortListEntry& p : host.portAccess.PortList)
        out(QStringLiteral("%1  %2").arg(p.label, -5).arg(p.device));
    for (const QString& line : host.portAccess.PortTroubles)
        out(line.trimmed());
    if (jsonResults()) {
        QJsonArray usable, troubles;
        for (const PortListEntry& p : host.portAccess.PortList)
            usable.append(QJsonObject{{QStringLiteral("port"), p.label},
                                      {QStringLiteral("device"), host.ports.devicePath(p.port)},
                                      {QStringLiteral("about"), p.device}});
        for (const QString& line : host.portAccess.PortTroubles)
            troubles.append(line.trimmed());
        const QJsonObject doc{{QStringLiteral("ports"), usable},
                              {QStringLiteral("troubles"), troubles}};
        std::fprintf(stdout, "%s\n", QJsonDocument(doc).toJson(QJsonDocument::Compact).constData());
    }
    if (!any) {
        err(QStringLiteral("No Serial Ports are avaliable!!"));
        return ExitCode::LineFailed;
    }
    return ExitCode::Success;
}

namespace {

// The model or channel cell as a number, or -1.
int readNumber(CliHost& host, uint8_t address)
{
    CommContext c = host.comm();
    if (modCorvaneComm::ReadCell(c, address) != modCorvaneComm::ReadGood)
        return -1;
    return modCorvaneComm::DecodeReplyNumber(c.cmd);
}

QString numberText(int n)
{
    return n < 0 ? QStringLiteral("?") : QString::number(n);
}

} // namespace

int find(CliHost& host, const CliRequest& r)
{
    if (!r.port && r.device.isEmpty())
        return findEverywhere(host, r);
    int16_t port = 0;
    if (const int status = choosePort(host, r, &port))
        return status;
    CommContext c = host.comm();
    // The finder's status lines, without its blank ones.
    QObject::connect(&host.portAccess, &PortAccess::statusLine, [](const QString& line) {
        if (!line.trimmed().isEmpty())
            err(line);
    });
    if (!modCorvaneComm::ListSerialPorts(c))
        return ExitCode::LineFailed;
    if (port != 0 && !host.portAccess.PortPresent[port]) {
        err(QStringLiteral("COM%1 cannot be used").arg(port));
        return ExitCode::LineFailed;
    }
    const int tickMs = c.timing.probeTickMs;
    const int ticks = std::max(1, static_cast<int>(std::ceil(r.timeoutSeconds * 1000 / tickMs)));
    err(QStringLiteral("Press RESET on the synchronizer now: listening %1 s on %2.")
            .arg(ticks * tickMs / 1000.0)
            .arg(port == 0 ? QStringLiteral("each port in turn")
                           : QStringLiteral("COM%1").arg(port)));

    PortLeaseHold lease(host.lease(), QStringLiteral("find"));
    if (!modCorvaneComm::FindSynchronizer(c, host.progress(), port, {}, ticks))
        return ExitCode::LineFailed;
    const int16_t found = host.portAccess.SyncPort;
    const int model = readNumber(host, CellAddress::Model);
    const int channel = readNumber(host, CellAddress::Channel);
    if (model >= 0)
        host.report.model = model;
    if (channel >= 0)
        host.report.channel = channel;
    out(QStringLiteral("COM%1 %2 model %3 channel %4")
            .arg(found)
            .arg(host.ports.devicePath(found), numberText(model), numberText(channel)));
    const bool doubtful = model < 1 || model > 99 || channel < 1 || channel > 99;
    return doubtful ? ExitCode::Attention : ExitCode::Success;
}

} // namespace CliCommands
