// ports and find: what the finder window does, on standard output.

#include "cli/CliCommands.h"
#include "cli/CliSession.h"
#include "cli/RunOutput.h"
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

Task<int> ports(CliHost& host)
{
    CommContext c = host.comm();
    // The finder's status lines are not wanted here; the listing says it all.
    const bool any = co_await modCorvaneComm::ListSerialPorts(c);
    for (const PortListEntry& p : host.portAccess.PortList)
        out(QStringLiteral("%1  %2").arg(p.label, -5).arg(p.device));
    for (const QString& line : host.portAccess.PortTroubles)
        out(line.trimmed());
    if (jsonResults()) {
        QJsonArray usable, troubles;
        for (const PortListEntry& p : host.portAccess.PortList)
            usable.append(QJsonObject{{QStringLiteral("port"), p.label},
                                      {QStringLiteral("device"), host.ports.deviceName(p.port)},
                                      {QStringLiteral("about"), p.device}});
        for (const QString& line : host.portAccess.PortTroubles)
            troubles.append(line.trimmed());
        RunOutput::finish(
            any ? ExitCode::Success : ExitCode::LineFailed, {},
            {{QStringLiteral("ports"), usable}, {QStringLiteral("troubles"), troubles}});
    }
    if (!any) {
        err(QStringLiteral("No Serial Ports are avaliable!!"));
        co_return ExitCode::LineFailed;
    }
    co_return ExitCode::Success;
}

namespace {

QString numberText(int n)
{
    return n < 0 ? QStringLiteral("?") : QString::number(n);
}

} // namespace

Task<int> find(CliHost& host, CliRequest r)
{
    if (!r.port && r.device.isEmpty())
        co_return co_await findEverywhere(host, r);
    int16_t port = 0;
    if (const int status = choosePort(host, r, &port))
        co_return status;
    CommContext c = host.comm();
    // The finder's status lines, without its blank ones.
    QObject::connect(&host.finderStatus, &FinderStatus::line, [&host](const QString& line) {
        if (!line.trimmed().isEmpty())
            host.err(line);
    });
    if (!co_await modCorvaneComm::ListSerialPorts(c))
        co_return ExitCode::LineFailed;
    if (port != 0 && !host.portAccess.PortPresent[port]) {
        host.err(QStringLiteral("COM%1 cannot be used").arg(port));
        co_return ExitCode::LineFailed;
    }
    const int tickMs = c.timing.probeTickMs;
    const int ticks = std::max(1, static_cast<int>(std::ceil(r.timeoutSeconds * 1000 / tickMs)));
    // RESET is asked for once the port listens: a unit reset before would go unheard.
    const QString listening =
        QStringLiteral("Press RESET on the synchronizer now: listening %1 s on %2.")
            .arg(ticks * tickMs / 1000.0)
            .arg(port == 0 ? QStringLiteral("each port in turn")
                           : QStringLiteral("COM%1").arg(port));
    bool told = false;
    host.progressShown = [&](const QString& text) {
        if (told || text.isEmpty())
            return;
        told = true;
        host.err(listening);
        if (host.listening)
            host.listening();
    };

    PortLeaseHold lease(host.lease(), QStringLiteral("find"));
    const std::optional<modCorvaneComm::FoundUnit> unit = co_await modCorvaneComm::FindSynchronizer(
        c, host.progress(), host.probeCancel, port, {}, ticks);
    host.progressShown = nullptr;
    if (!unit)
        co_return ExitCode::LineFailed;
    // The probe read both numbers; a channel it did not read (the model was doubtful) is
    // read now, so the line tells all the unit answered.
    int channel = unit->channel;
    if (channel < 0) {
        const modCorvaneComm::CellReply reply =
            co_await modCorvaneComm::ReadCell(c, CellAddress::Channel);
        if (reply.good())
            channel = modCorvaneComm::DecodeReplyNumber(reply.bytes);
    }
    if (unit->model >= 0)
        host.report.model = unit->model;
    if (channel >= 0)
        host.report.channel = channel;
    host.out(
        QStringLiteral("COM%1 %2 model %3 channel %4")
            .arg(unit->port)
            .arg(host.ports.deviceName(unit->port), numberText(unit->model), numberText(channel)));
    co_return unit->doubtful ? ExitCode::Attention : ExitCode::Success;
}

} // namespace CliCommands
