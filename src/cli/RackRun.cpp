#include "cli/RackRun.h"

#include "cli/CliSession.h"
#include "cli/RackFile.h"
#include "cli/StopRequest.h"
#include "cli/UnitProcesses.h"
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
    QString device; // what the unit's own corvane-cli opens
    QJsonObject report;
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

// Each unit's device, file and name, or the first reason nothing may start.
QString prepare(const CliRequest& r, const PortMap& ports, std::vector<Running>& units)
{
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
            if (!LineAddress::looksLikeNetwork(u.device) && !QFileInfo::exists(u.device))
                return where + u.device + QStringLiteral(": no such device");
        }
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

QStringList argumentsFor(const CliRequest& r, const Running& u)
{
    // A port stays its COM number (the map is inherited), so the unit's messages and backup
    // name it as the user did.
    QStringList a{r.command, QStringLiteral("--quiet"), QStringLiteral("--json")};
    a << (u.unit.port ? QStringList{QStringLiteral("--port"), QString::number(*u.unit.port)}
                      : QStringList{QStringLiteral("--device"), u.device});
    if (!u.unit.file.isEmpty())
        a << u.unit.file;
    if (r.unlock)
        a << QStringLiteral("--unlock");
    if (const std::optional<int> model = u.unit.model ? u.unit.model : r.model)
        a << QStringLiteral("--model") << QString::number(*model);
    if (const std::optional<int> channel = u.unit.channel ? u.unit.channel : r.channel)
        a << QStringLiteral("--channel") << QString::number(*channel);
    if (!r.wireLog.isEmpty())
        a << QStringLiteral("--wire-log") << QDir(r.wireLog).filePath(fileName(u.label) + ".log");
    const bool image = r.command == QLatin1String("backup");
    if (!r.output.isEmpty())
        a << QStringLiteral("-o")
          << QDir(r.output).filePath(fileName(u.label) + (image ? ".cells" : ".txt"));
    if (r.command == QLatin1String("write") || r.command == QLatin1String("restore"))
        a << (r.backup ? QStringList{QStringLiteral("--backup-dir"), r.backupDir}
                       : QStringList{QStringLiteral("--no-backup")});
    return a;
}

void tellSummary(const std::vector<Running>& units)
{
    const auto number = [](const QJsonValue& v) {
        return v.isDouble() ? QString::number(v.toInt()) : QStringLiteral("?");
    };
    int width = 4;
    for (const Running& u : units)
        width = std::max(width, int(u.label.size()));
    out(QStringLiteral("%1  Model  Channel  Done            Result")
            .arg(QStringLiteral("Unit"), -width));
    for (const Running& u : units)
        out(QStringLiteral("%1  %2  %3  %4  %5")
                .arg(u.label, -width)
                .arg(number(u.report.value("model")), -5)
                .arg(number(u.report.value("channel")), -7)
                .arg(u.report.value("done").toString(QStringLiteral("untouched")), -14)
                .arg(u.report.value("result").toString(QStringLiteral("no result"))));
}

} // namespace

int RackRun::run(const CliRequest& r)
{
    PortMap ports;
    QString error;
    const QString map = qEnvironmentVariable("CORVANE_PORT_MAP");
    if (!map.isEmpty() && !CliSession::applyPortMap(ports, map, &error)) {
        err(QStringLiteral("corvane-cli: ") + error);
        return ExitCode::BadInput;
    }
    std::vector<Running> units;
    for (const RackUnit& unit : unitsOf(r, &error))
        units.push_back(Running{unit, {}, {}, {}});
    if (error.isEmpty())
        error = prepare(r, ports, units);
    for (const QString& folder : {r.wireLog, r.output})
        if (error.isEmpty() && !folder.isEmpty() && !QDir().mkpath(folder))
            error = QStringLiteral("cannot make the folder %1").arg(folder);
    if (!error.isEmpty()) {
        err(QStringLiteral("corvane-cli: %1; nothing was sent").arg(error));
        return ExitCode::BadInput;
    }

    UnitProcesses processes;
    processes.onErrorLine = [](UnitProcesses::Child& c, const QString& line) {
        err(c.label + QStringLiteral(": ") + line);
    };
    for (const Running& u : units)
        processes.start(u.label, argumentsFor(r, u));
    // Ctrl+C reaches the units from the terminal; a stop sent to this process alone is
    // passed on. Either way each unit stops between two frames and reports.
    const StopRequest::Watch stop([&processes] { processes.stopAll(); });
    processes.wait();
    if (StopRequest::requested())
        err(QStringLiteral("Stopped by Ctrl+C: the summary says what each unit got."));

    int worst = ExitCode::Success;
    QJsonArray all;
    for (size_t i = 0; i < units.size(); ++i) {
        Running& u = units[i];
        u.report = processes.children()[i].report;
        u.report.insert(QStringLiteral("unit"), u.label);
        const int status = u.report.value("status").toInt(ExitCode::LineFailed);
        worst = std::max(worst, status);
        all.append(u.report);
    }
    if (CliSession::jsonResults()) {
        const QJsonObject doc{{QStringLiteral("units"), all}, {QStringLiteral("status"), worst}};
        std::fprintf(stdout, "%s\n", QJsonDocument(doc).toJson(QJsonDocument::Compact).constData());
        std::fflush(stdout);
    } else {
        tellSummary(units);
    }
    return worst;
}
