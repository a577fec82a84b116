// find and scan on every usable port at once: one corvane-cli per port, side by side, each
// reported as soon as it has something to say.

#include "cli/CliCommands.h"
#include "cli/CliSession.h"
#include "cli/RackFile.h"
#include "cli/UnitProcesses.h"
#include "comm/modCorvaneComm.h"
#include "model/CellAddress.h"
#include "model/WholeFile.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <cstdio>

using namespace CliSession;

namespace CliCommands {

namespace {

QString numberText(const QJsonValue& v)
{
    return v.isDouble() ? QString::number(v.toInt()) : QStringLiteral("?");
}

// The usable ports, listed as the finder lists them; every other one's reason told.
QList<int> usablePorts(CliHost& host)
{
    CommContext c = host.comm();
    QObject::connect(&host.portAccess, &PortAccess::statusLine, [](const QString&) {});
    modCorvaneComm::ListSerialPorts(c);
    for (const QString& line : host.portAccess.PortTroubles)
        err(line.trimmed());
    QList<int> ports;
    for (const PortListEntry& p : host.portAccess.PortList)
        ports << p.port;
    return ports;
}

// One corvane-cli per port, each told `command` and `extra` for its own device.
void startPerPort(UnitProcesses& units, CliHost& host, const QList<int>& ports,
                  const QString& command, const QStringList& extra)
{
    for (int n : ports)
        units.start(QStringLiteral("COM%1").arg(n),
                    QStringList{command, QStringLiteral("--device"), host.ports.devicePath(n),
                                QStringLiteral("--json"), QStringLiteral("--quiet")} +
                        extra);
}

QString unitLine(CliHost& host, const UnitProcesses::Child& c)
{
    const int port = c.label.mid(3).toInt();
    return QStringLiteral("%1 %2 model %3 channel %4")
        .arg(c.label, host.ports.devicePath(port), numberText(c.report.value("model")),
             numberText(c.report.value("channel")));
}

// With --json: the reports of the units that were heard or answered, as one document.
void tellJson(const UnitProcesses& units, bool (*include)(const QJsonObject&), int status)
{
    QJsonArray all;
    for (const UnitProcesses::Child& c : units.children())
        if (include(c.report)) {
            QJsonObject o = c.report;
            o.insert(QStringLiteral("unit"), c.label);
            all.append(o);
        }
    const QJsonObject doc{{QStringLiteral("units"), all}, {QStringLiteral("status"), status}};
    std::fprintf(stdout, "%s\n", QJsonDocument(doc).toJson(QJsonDocument::Compact).constData());
    std::fflush(stdout);
}

bool answered(const QJsonObject& report)
{
    return report.value("status").toInt(ExitCode::LineFailed) <= ExitCode::Attention;
}

bool doubtful(const QJsonObject& report)
{
    const int model = report.value("model").toInt(0), channel = report.value("channel").toInt(0);
    return model < 1 || model > 99 || channel < 1 || channel > 99;
}

} // namespace

int findEverywhere(CliHost& host, const CliRequest& r)
{
    const QList<int> ports = usablePorts(host);
    if (ports.isEmpty()) {
        err(QStringLiteral("No Serial Ports are avaliable!!"));
        return ExitCode::LineFailed;
    }
    QStringList names;
    for (int n : ports)
        names << QStringLiteral("COM%1").arg(n);
    err(QStringLiteral("Press RESET on each synchronizer now: listening %1 s on %2 at once.")
            .arg(r.timeoutSeconds)
            .arg(names.join(QStringLiteral(", "))));
    UnitProcesses units;
    QList<RackUnit> heard;
    int status = ExitCode::Success;
    units.onEnded = [&](UnitProcesses::Child& c) {
        const int childStatus = c.report.value("status").toInt(ExitCode::LineFailed);
        if (childStatus > ExitCode::Attention)
            return; // nothing heard there
        out(unitLine(host, c));
        status = std::max(status, doubtful(c.report) ? int(ExitCode::Attention) : 0);
        RackUnit unit;
        unit.port = c.label.mid(3).toInt();
        if (c.report.value("channel").isDouble())
            unit.channel = c.report.value("channel").toInt();
        heard << unit;
    };
    startPerPort(units, host, ports, QStringLiteral("find"),
                 {QStringLiteral("--timeout"), QString::number(r.timeoutSeconds)});
    units.wait([&] { return r.count > 0 && heard.size() >= r.count; });
    if (jsonResults())
        tellJson(units, answered, heard.isEmpty() ? int(ExitCode::LineFailed) : status);
    if (heard.isEmpty()) {
        err(QStringLiteral(" !! NO Synchronizer was Found !!"));
        return ExitCode::LineFailed;
    }
    if (!r.rackOut.isEmpty()) {
        QStringList lines{QStringLiteral("# found by corvane-cli find")};
        for (const RackUnit& u : heard)
            lines << RackFile::line(u);
        QString reason;
        if (!writeWholeFile(r.rackOut, (lines.join('\n') + '\n').toUtf8(), &reason)) {
            err(QStringLiteral("corvane-cli: cannot write %1: %2").arg(r.rackOut, reason));
            return ExitCode::BadInput;
        }
    }
    return status;
}

int scanOne(CliHost& host, const CliRequest& r)
{
    int16_t port = 0;
    if (const int status = choosePort(host, r, &port))
        return status;
    if (const int status = openLine(host, port))
        return status;
    CommContext c = host.comm();
    const auto number = [&](uint8_t address) {
        return modCorvaneComm::ReadCell(c, address) == modCorvaneComm::ReadGood
                   ? std::optional<int>(modCorvaneComm::DecodeReplyNumber(c.cmd))
                   : std::nullopt;
    };
    if (modCorvaneComm::SendAttention(c))
        host.report.model = number(CellAddress::Model);
    if (host.report.model)
        host.report.channel = number(CellAddress::Channel);
    if (!host.report.model || !host.report.channel) {
        err(QStringLiteral("COM%1 %2: no answer (a unit may need RESET before it answers)")
                .arg(port)
                .arg(host.ports.devicePath(port)));
        return ExitCode::LineFailed;
    }
    out(QStringLiteral("COM%1 %2 model %3 channel %4")
            .arg(port)
            .arg(host.ports.devicePath(port))
            .arg(*host.report.model)
            .arg(*host.report.channel));
    return ExitCode::Success;
}

int scan(CliHost& host, const CliRequest& r)
{
    if (r.port || !r.device.isEmpty())
        return scanOne(host, r);
    const QList<int> ports = usablePorts(host);
    UnitProcesses units;
    startPerPort(units, host, ports, QStringLiteral("scan"), {});
    units.wait();
    int answering = 0;
    for (const UnitProcesses::Child& c : units.children()) {
        if (c.report.value("status").toInt(ExitCode::LineFailed) == ExitCode::Success) {
            out(unitLine(host, c));
            ++answering;
        } else {
            err(QStringLiteral("%1 %2: no answer (a unit may need RESET before it answers)")
                    .arg(c.label, host.ports.devicePath(c.label.mid(3).toInt())));
        }
    }
    const int status = answering > 0 ? ExitCode::Success : ExitCode::LineFailed;
    if (jsonResults())
        tellJson(units, CliCommands::answered, status);
    return status;
}

} // namespace CliCommands
