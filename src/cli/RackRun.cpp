#include "cli/RackRun.h"

#include "cli/CliCommands.h"
#include "cli/CliSession.h"
#include "cli/RackFile.h"
#include "cli/SideBySide.h"
#include "cli/StopRequest.h"
#include "cli/UnitReport.h"
#include "comm/LineAddress.h"
#include "comm/PortMap.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <memory>
#include <vector>

using CliSession::err;
using CliSession::out;

namespace {

struct Running
{
    RackUnit unit;
    QString label;  // "COM3", or the device or address
    QString device; // what the unit's line opens
};

QList<RackUnit> unitsOf(const CliRequest& r, QString* error)
{
    if (!r.rack.isEmpty()) {
        QFile f(r.rack);
        if (!f.open(QIODevice::ReadOnly)) {
            *error = QStringLiteral("cannot read %1: %2").arg(r.rack, f.errorString());
            return {};
        }
        QString why;
        const QList<RackUnit> units =
            RackFile::parse(QString::fromUtf8(f.readAll()), QFileInfo(r.rack).absolutePath(), &why);
        if (!why.isEmpty())
            *error = QStringLiteral("%1 %2").arg(r.rack, why);
        return units;
    }
    QList<RackUnit> units;
    for (int port : r.ports)
        units << RackUnit{0, port, {}, {}, {}, {}};
    for (const QString& device : r.devices)
        units << RackUnit{0, std::nullopt, device, {}, {}, {}};
    return units;
}

// What a unit is, whatever it was called: a device by its real path (a port by the device
// behind it), a device server's port by its kind, host and port.
QString identity(const QString& device)
{
    const LineAddress address = LineAddress::parse(device);
    if (address.isNetwork())
        return address.toString().toLower();
    const QString real = QFileInfo(device).canonicalFilePath();
    return real.isEmpty() ? QFileInfo(device).absoluteFilePath() : real;
}

// Each unit's device, file and name, or the first reason nothing may start: a port
// without a device, a device that is not there, an address that is not one, a file that
// cannot be read, or one unit named twice.
QString prepare(const CliRequest& r, const PortMap& ports, std::vector<Running>& units)
{
    QMap<QString, QString> seen; // identity -> the name it was first given
    for (Running& u : units) {
        const QString where =
            u.unit.line ? QStringLiteral("%1 line %2: ").arg(r.rack).arg(u.unit.line) : QString();
        if (u.unit.port) {
            u.label = QStringLiteral("COM%1").arg(*u.unit.port);
            u.device = ports.devicePath(*u.unit.port);
            if (u.device.isEmpty())
                return where + u.label +
                       QStringLiteral(": this machine has no serial device for it");
        } else {
            u.label = u.device = u.unit.device;
        }
        QString addressError;
        LineAddress::parse(u.device, &addressError);
        if (!addressError.isEmpty())
            return where + addressError;
        if (!LineAddress::looksLikeNetwork(u.device) && !QFileInfo::exists(u.device))
            return where + u.device + QStringLiteral(": no such device");
        const QString id = identity(u.device);
        if (seen.contains(id))
            return where + QStringLiteral("%1 is %2 again: one unit, named twice")
                               .arg(u.label, seen.value(id));
        seen.insert(id, u.label);
        if (u.unit.file.isEmpty())
            u.unit.file = r.file;
        if (!r.file.isEmpty() || !u.unit.file.isEmpty())
            if (!QFileInfo(u.unit.file).isFile())
                return where + QStringLiteral("cannot read %1").arg(u.unit.file);
    }
    return {};
}

QString fileName(const QString& label)
{
    QString name = label;
    name.replace(QRegularExpression(QStringLiteral("[^A-Za-z0-9._-]+")), QStringLiteral("_"));
    return name;
}

bool setsNumbers(const QString& command)
{
    return command == QLatin1String("write");
}

// The request one unit's host runs: the rack's, for this unit's line, file and numbers.
CliRequest requestFor(const CliRequest& r, const Running& u)
{
    CliRequest one = r;
    one.ports.clear();
    one.devices.clear();
    one.rack.clear();
    one.quiet = true;
    one.json = false;
    // A port stays its COM number, so the unit's messages and backup name it as the user did.
    one.port = u.unit.port;
    one.device = u.unit.port ? QString() : u.device;
    one.file = u.unit.file;
    if (setsNumbers(r.command)) {
        one.model = u.unit.model ? u.unit.model : r.model;
        one.channel = u.unit.channel ? u.unit.channel : r.channel;
    }
    one.wireLog =
        r.wireLog.isEmpty() ? QString() : QDir(r.wireLog).filePath(fileName(u.label) + ".log");
    const bool image = r.command == QLatin1String("backup");
    one.output = r.output.isEmpty()
                     ? QString()
                     : QDir(r.output).filePath(fileName(u.label) + (image ? ".cells" : ".txt"));
    return one;
}

// model= and channel= on the line of a command that sets neither: taken, and said so.
void tellNumbersUnused(const CliRequest& r, const Running& u, const UnitVoice& voice)
{
    if (setsNumbers(r.command) || (!u.unit.model && !u.unit.channel))
        return;
    QStringList given;
    if (u.unit.model)
        given << QStringLiteral("model=%1").arg(*u.unit.model);
    if (u.unit.channel)
        given << QStringLiteral("channel=%1").arg(*u.unit.channel);
    voice.err(QStringLiteral("%1 on its line: %2 sets nothing").arg(given.join(' '), r.command));
}

void tellSummary(const std::vector<Running>& units, SideBySide& hosts)
{
    const auto number = [](const std::optional<int>& v) {
        return v ? QString::number(*v) : QStringLiteral("?");
    };
    int width = 4;
    for (const Running& u : units)
        width = std::max(width, int(u.label.size()));
    out(QStringLiteral("%1  Model  Channel  Done            Result")
            .arg(QStringLiteral("Unit"), -width));
    for (size_t i = 0; i < units.size(); ++i) {
        const UnitReport& report = hosts.hosts()[i]->report;
        out(QStringLiteral("%1  %2  %3  %4  %5")
                .arg(units[i].label, -width)
                .arg(number(report.model), -5)
                .arg(number(report.channel), -7)
                .arg(report.done(), -14)
                .arg(report.result()));
    }
}

} // namespace

Task<int> RackRun::run(CliRequest r, LineTiming timing)
{
    PortMap ports;
    QString error;
    const QString map = qEnvironmentVariable("CORVANE_PORT_MAP");
    if (!map.isEmpty() && !CliSession::applyPortMap(ports, map, &error)) {
        err(QStringLiteral("corvane-cli: ") + error);
        co_return ExitCode::BadInput;
    }
    std::vector<Running> units;
    for (const RackUnit& unit : unitsOf(r, &error))
        units.push_back(Running{unit, {}, {}});
    if (error.isEmpty())
        error = prepare(r, ports, units);
    for (const QString& folder : {r.wireLog, r.output})
        if (error.isEmpty() && !folder.isEmpty() && !QDir().mkpath(folder))
            error = QStringLiteral("cannot make the folder %1").arg(folder);
    if (!error.isEmpty()) {
        err(QStringLiteral("corvane-cli: %1; nothing was sent").arg(error));
        co_return ExitCode::BadInput;
    }

    // Every unit a host of its own, side by side in this process.
    SideBySide hosts(timing);
    std::vector<CliRequest> requests;
    for (const Running& u : units) {
        const UnitVoice voice{u.label + QStringLiteral(": "), true, false};
        CliHost& host = hosts.add(0, QString(), voice);
        host.ports = ports;
        requests.push_back(requestFor(r, u));
        tellNumbersUnused(r, u, voice);
    }
    // Ctrl+C or a stop sent to the process: each unit stops between two frames and reports.
    const StopRequest::Watch stop([&hosts] { hosts.cancelProbes(); });
    size_t next = 0;
    const QVector<int> statuses = co_await hosts.runAll(
        [&](CliHost& host) { return CliCommands::runUnit(host, requests[next++]); });
    if (StopRequest::requested()) {
        for (const std::unique_ptr<CliHost>& host : hosts.hosts())
            host->err(QStringLiteral("Stopped by Ctrl+C between two frames: %1.")
                          .arg(host->report.done()));
        err(QStringLiteral("Stopped by Ctrl+C: the summary says what each unit got."));
    }

    int worst = ExitCode::Success;
    QJsonArray all;
    for (size_t i = 0; i < units.size(); ++i) {
        QJsonObject report = hosts.hosts()[i]->report.toJson();
        report.insert(QStringLiteral("unit"), units[i].label);
        worst = std::max(worst, statuses[int(i)]);
        all.append(report);
    }
    if (CliSession::jsonResults()) {
        const QJsonObject doc{{QStringLiteral("units"), all}, {QStringLiteral("status"), worst}};
        std::fprintf(stdout, "%s\n", QJsonDocument(doc).toJson(QJsonDocument::Compact).constData());
        std::fflush(stdout);
    } else {
        tellSummary(units, hosts);
    }
    co_return worst;
}
