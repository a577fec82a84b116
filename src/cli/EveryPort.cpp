// find and scan on every usable port at once: one host per port in this process, side by
// side, each unit reported as soon as it has something to say.

#include "cli/CliCommands.h"
#include "cli/CliSession.h"
#include "cli/RackFile.h"
#include "cli/RunOutput.h"
#include "cli/SideBySide.h"
#include "cli/StopRequest.h"
#include "comm/StableDeviceName.h"
#include "comm/modCorvaneComm.h"
#include "model/CellAddress.h"
#include "model/WholeFile.h"

#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <algorithm>
#include <cstdio>

using namespace CliSession;

namespace CliCommands {

namespace {

// The usable ports, listed as the finder lists them; every other one's reason told.
Task<QList<int>> usablePorts(CliHost& host)
{
    CommContext c = host.comm();
    co_await modCorvaneComm::ListSerialPorts(c);
    for (const QString& line : host.portAccess.PortTroubles)
        err(line.trimmed());
    QList<int> ports;
    for (const PortListEntry& p : host.portAccess.PortList)
        ports << p.port;
    co_return ports;
}

// One host per port, the port standing for its device as on this machine. The units'
// own messages are not told: each unit's line, or its silence, says it all.
void addPerPort(SideBySide& units, CliHost& host, const QList<int>& ports, bool results)
{
    for (int n : ports)
        units.add(static_cast<int16_t>(n), host.ports.devicePath(n),
                  UnitVoice{QString(), false, results});
}

// The request one port's host runs.
CliRequest perPort(const CliRequest& r, int port)
{
    CliRequest one = r;
    one.port = port;
    one.device.clear();
    one.quiet = true;
    one.json = false;
    one.wireLog.clear();
    one.rackOut.clear();
    one.count = 0;
    return one;
}

// With --json: the reports of the units that answered, as one document.
void tellJson(SideBySide& units, const QVector<int>& statuses, int status)
{
    QJsonArray all;
    for (size_t i = 0; i < units.hosts().size(); ++i)
        if (statuses[int(i)] <= ExitCode::Attention) {
            const CliHost& host = *units.hosts()[i];
            all.append(host.report.toJson());
        }
    RunOutput::finish(status, all);
}

// One port's find, and `heard` told as soon as it heard a unit; `ended` once it is over.
Task<int> findOne(CliHost& unit, CliRequest r, std::function<void()> ended,
                  std::function<void(CliHost&)> heard)
{
    const int status = co_await runUnit(unit, r);
    ended();
    if (status <= ExitCode::Attention && heard)
        heard(unit);
    co_return status;
}

// A unit find heard, as its rack line: a USB adapter by its stable name (which survives
// the machine renumbering its adapters), else its COM number; its channel to keep, and
// what was heard as what the next write must find there.
RackUnit heardUnit(const CliHost& found)
{
    RackUnit u;
    const QString stable = StableDeviceName::of(found.ports.devicePath(found.unitPort));
    if (stable.isEmpty())
        u.port = found.unitPort;
    else
        u.device = stable;
    u.channel = found.report.channel;
    const auto usable = [](std::optional<int> n) {
        return n && *n >= 1 && *n <= 99 ? n : std::nullopt;
    };
    u.expectModel = usable(found.report.model);
    u.expectChannel = usable(found.report.channel);
    return u;
}

// The unit behind one port, asked for its model and channel without RESET.
Task<int> scanOne(CliHost& host, CliRequest r);

} // namespace

Task<int> findEverywhere(CliHost& host, CliRequest r)
{
    // A rack file is often made by hand: it is replaced only when asked to.
    if (!r.rackOut.isEmpty() && QFileInfo::exists(r.rackOut) && !r.force) {
        err(QStringLiteral("corvane-cli: %1 already exists; give --force to replace it, or "
                           "another name; nothing was heard")
                .arg(r.rackOut));
        co_return ExitCode::BadInput;
    }
    const QList<int> ports = co_await usablePorts(host);
    if (ports.isEmpty()) {
        err(QStringLiteral("No Serial Ports are avaliable!!"));
        co_return ExitCode::LineFailed;
    }
    QStringList names;
    for (int n : ports)
        names << QStringLiteral("COM%1").arg(n);
    SideBySide units(host.comm().timing);
    addPerPort(units, host, ports, !jsonResults());
    // RESET is asked for once every port listens (or could not be opened): a unit reset
    // before its port is open would go unheard.
    std::vector<bool> settled(units.hosts().size(), false);
    bool told = false;
    const auto settle = [&](size_t i) {
        settled[i] = true;
        if (told || std::find(settled.begin(), settled.end(), false) != settled.end())
            return;
        told = true;
        err(QStringLiteral("Press RESET on each synchronizer now: listening %1 s on %2 at once.")
                .arg(r.timeoutSeconds)
                .arg(names.join(QStringLiteral(", "))));
    };
    for (size_t i = 0; i < units.hosts().size(); ++i)
        units.hosts()[i]->listening = [&settle, i] { settle(i); };
    QList<RackUnit> heard;
    int status = ExitCode::Success;
    // Ctrl+C ends every probe; so does the count of units asked for, once heard.
    const StopRequest::Watch stop([&units] { units.cancelProbes(); });
    size_t next = 0;
    const QVector<int> statuses = co_await units.runAll([&](CliHost& unit) {
        const size_t i = next++;
        return findOne(
            unit, perPort(r, unit.unitPort), [&settle, i] { settle(i); },
            [&](CliHost& found) {
                status = std::max(status, found.report.status);
                const RackUnit u = heardUnit(found);
                heard << u;
                if (r.count > 0 && heard.size() >= r.count)
                    units.cancelProbes();
            });
    });
    if (jsonResults())
        tellJson(units, statuses, heard.isEmpty() ? int(ExitCode::LineFailed) : status);
    if (heard.isEmpty()) {
        err(QStringLiteral(" !! NO Synchronizer was Found !!"));
        co_return ExitCode::LineFailed;
    }
    if (!r.rackOut.isEmpty()) {
        QStringList lines{QStringLiteral("# found by corvane-cli find")};
        for (const RackUnit& u : heard)
            lines << RackFile::line(u);
        QString reason;
        if (!writeWholeFile(r.rackOut, (lines.join('\n') + '\n').toUtf8(), &reason)) {
            err(QStringLiteral("corvane-cli: cannot write %1: %2").arg(r.rackOut, reason));
            co_return ExitCode::BadInput;
        }
    }
    co_return status;
}

namespace {

Task<int> scanOne(CliHost& host, CliRequest r)
{
    int16_t port = 0;
    if (const int status = choosePort(host, r, &port))
        co_return status;
    if (const int status = co_await openLine(host, port))
        co_return status;
    CommContext c = host.comm();
    const modCorvaneComm::FrameReply attention = co_await modCorvaneComm::SendAttention(c);
    if (attention) {
        const modCorvaneComm::CellReply model =
            co_await modCorvaneComm::ReadCell(c, CellAddress::Model);
        if (model.good()) {
            host.report.model = modCorvaneComm::DecodeReplyNumber(model.bytes);
            const modCorvaneComm::CellReply channel =
                co_await modCorvaneComm::ReadCell(c, CellAddress::Channel);
            if (channel.good())
                host.report.channel = modCorvaneComm::DecodeReplyNumber(channel.bytes);
        }
    }
    if (!host.report.model || !host.report.channel) {
        host.err(QStringLiteral("COM%1 %2: no answer (a unit may need RESET before it answers)")
                     .arg(port)
                     .arg(host.ports.deviceName(port)));
        co_return ExitCode::LineFailed;
    }
    host.out(QStringLiteral("COM%1 %2 model %3 channel %4")
                 .arg(port)
                 .arg(host.ports.deviceName(port))
                 .arg(*host.report.model)
                 .arg(*host.report.channel));
    co_return ExitCode::Success;
}

} // namespace

Task<int> scan(CliHost& host, CliRequest r)
{
    if (r.port || !r.device.isEmpty())
        co_return co_await scanOne(host, r);
    const QList<int> ports = co_await usablePorts(host);
    SideBySide units(host.comm().timing);
    // Each unit's line is told once all have answered or not, in port order.
    addPerPort(units, host, ports, false);
    const QVector<int> statuses = co_await units.runAll(
        [&](CliHost& unit) { return runUnit(unit, perPort(r, unit.unitPort)); });
    int answering = 0;
    for (size_t i = 0; i < units.hosts().size(); ++i) {
        const CliHost& unit = *units.hosts()[i];
        const int n = unit.unitPort;
        if (statuses[int(i)] == ExitCode::Success) {
            out(QStringLiteral("COM%1 %2 model %3 channel %4")
                    .arg(n)
                    .arg(unit.ports.deviceName(n))
                    .arg(*unit.report.model)
                    .arg(*unit.report.channel));
            ++answering;
        } else {
            err(QStringLiteral("COM%1 %2: no answer (a unit may need RESET before it answers)")
                    .arg(n)
                    .arg(unit.ports.deviceName(n)));
        }
    }
    const int status = answering > 0 ? ExitCode::Success : ExitCode::LineFailed;
    if (jsonResults())
        tellJson(units, statuses, status);
    co_return status;
}

} // namespace CliCommands
