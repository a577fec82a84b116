#include "cli/RackRun.h"

#include "cli/CliCommands.h"
#include "cli/CliSession.h"
#include "cli/RackFile.h"
#include "cli/RunOutput.h"
#include "cli/SideBySide.h"
#include "cli/StderrBoard.h"
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
#include <algorithm>
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

QList<RackUnit> unitsOf(const CliRequest& r, QList<RackMistake>* mistakes)
{
    if (!r.rack.isEmpty()) {
        QFile f(r.rack);
        if (!f.open(QIODevice::ReadOnly)) {
            *mistakes << RackMistake{0, QStringLiteral("cannot be read: ") + f.errorString()};
            return {};
        }
        return RackFile::parse(QString::fromUtf8(f.readAll()), QFileInfo(r.rack).absolutePath(),
                               mistakes);
    }
    QList<RackUnit> units;
    for (int port : r.ports)
        units << RackUnit{0, port, {}, {}, {}, {}, {}, {}, {}};
    for (const QString& device : r.devices)
        units << RackUnit{0, std::nullopt, device, {}, {}, {}, {}, {}, {}};
    return units;
}

// What a unit is, whatever it was called: a device by its real path (a port by the device
// behind it), a device server's port by its kind, host and port.
QString identity(const QString& device)
{
    const LineAddress address = LineAddress::parse(device);
    if (address.isNetwork())
        return address.displayName().toLower();
    const QString real = QFileInfo(device).canonicalFilePath();
    return real.isEmpty() ? QFileInfo(device).absoluteFilePath() : real;
}

// Why a unit's file cannot be read, as a single unit's command says it; "" when it can.
QString whyUnreadable(const QString& path)
{
    if (QFileInfo(path).isDir())
        return QStringLiteral("it is a folder");
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? QString() : f.errorString();
}

bool takesFile(const QString& command)
{
    return command == QLatin1String("write") || command == QLatin1String("verify") ||
           command == QLatin1String("restore");
}

// Each unit's device, file and name, and every reason nothing may start: a port without a
// device, a device that is not there, an address that is not one, a file that cannot be
// read or is not given, or one unit named twice.
void prepare(const CliRequest& r, const PortMap& ports, std::vector<Running>& units,
             QList<RackMistake>* mistakes)
{
    QMap<QString, QString> seen; // identity -> the name it was first given
    for (Running& u : units) {
        const auto mistake = [&](const QString& why) {
            *mistakes << RackMistake{u.unit.line, why};
        };
        if (u.unit.port) {
            u.label = QStringLiteral("COM%1").arg(*u.unit.port);
            u.device = ports.devicePath(*u.unit.port);
            if (u.device.isEmpty()) {
                mistake(u.label + QStringLiteral(": this machine has no serial device for it"));
                continue;
            }
        } else {
            u.label = u.device = u.unit.device;
        }
        QString addressError;
        const LineAddress address = LineAddress::parse(u.device, &addressError);
        if (!addressError.isEmpty()) {
            mistake(addressError);
            continue;
        }
        if (!u.unit.trust.isEmpty() && !address.tls) {
            mistake(QStringLiteral("%1: ca=, pin=, cert= and key= are for TLS addresses "
                                   "(rfc2217+tls:// or tcp+tls://)")
                        .arg(LineAddress::shownName(u.device)));
            continue;
        }
        if (!LineAddress::looksLikeNetwork(u.device) && !QFileInfo::exists(u.device)) {
            mistake(u.device + QStringLiteral(": no such device"));
            continue;
        }
        const QString id = identity(u.device);
        if (seen.contains(id))
            mistake(QStringLiteral("%1 is %2 again: one unit, named twice")
                        .arg(u.label, seen.value(id)));
        seen.insert(id, u.label);
        if (u.unit.file.isEmpty())
            u.unit.file = r.file;
        if (takesFile(r.command) && u.unit.file.isEmpty())
            mistake(QStringLiteral("no file= on the line and no %1 on the command line")
                        .arg(r.command == QLatin1String("restore")
                                 ? QStringLiteral("cell IMAGE")
                                 : QStringLiteral("settings FILE")));
        else if (!u.unit.file.isEmpty() && !whyUnreadable(u.unit.file).isEmpty())
            mistake(
                QStringLiteral("cannot read %1: %2").arg(u.unit.file, whyUnreadable(u.unit.file)));
    }
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
    one.json = one.events = false;
    // A port stays its COM number, so the unit's messages and backup name it as the user did.
    one.port = u.unit.port;
    one.device = u.unit.port ? QString() : u.device;
    one.file = u.unit.file;
    one.expectModel = u.unit.expectModel;
    one.expectChannel = u.unit.expectChannel;
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

// One unit's command; its board line says the result once it has ended.
Task<int> runOnBoard(CliHost& host, CliRequest request, int row)
{
    const int status = co_await CliCommands::runUnit(host, request);
    StderrBoard::set(row, host.report.result());
    co_return status;
}

} // namespace

Task<int> RackRun::run(CliRequest r, LineTiming timing)
{
    PortMap ports;
    QString mapError;
    const QString map = qEnvironmentVariable("CORVANE_PORT_MAP");
    if (!map.isEmpty() && !CliSession::applyPortMap(ports, map, &mapError)) {
        err(QStringLiteral("corvane-cli: ") + mapError);
        co_return ExitCode::BadInput;
    }
    ports.setTlsDefaults(r.trust);
    QList<RackMistake> mistakes;
    std::vector<Running> units;
    for (const RackUnit& unit : unitsOf(r, &mistakes))
        units.push_back(Running{unit, {}, {}});
    prepare(r, ports, units, &mistakes);
    for (const QString& folder : {r.wireLog, r.output})
        if (mistakes.isEmpty() && !folder.isEmpty() && !QDir().mkpath(folder))
            mistakes << RackMistake{0, QStringLiteral("cannot make the folder %1").arg(folder)};
    if (!mistakes.isEmpty()) {
        // Every mistake at once, in the order of the lines, so one run finds them all.
        std::stable_sort(
            mistakes.begin(), mistakes.end(),
            [](const RackMistake& a, const RackMistake& b) { return a.line < b.line; });
        for (const RackMistake& m : mistakes)
            err(m.line ? QStringLiteral("corvane-cli: %1 line %2: %3")
                             .arg(r.rack)
                             .arg(m.line)
                             .arg(m.why)
                       : QStringLiteral("corvane-cli: %1%2")
                             .arg(r.rack.isEmpty() ? QString() : r.rack + QLatin1Char(' '), m.why));
        err(QStringLiteral("corvane-cli: %1 mistake%2; nothing was sent")
                .arg(mistakes.size())
                .arg(mistakes.size() == 1 ? QString() : QStringLiteral("s")));
        co_return ExitCode::BadInput;
    }

    // Every unit a host of its own, side by side in this process.
    SideBySide hosts(timing);
    std::vector<QStringList> held(units.size());
    std::vector<CliRequest> requests;
    QStringList labels;
    for (const Running& u : units) {
        // Each unit's results (its differences) are held and told in rack order at the end.
        UnitVoice voice{u.label + QStringLiteral(": "), true, !CliSession::jsonResults()};
        voice.held = &held[size_t(labels.size())];
        CliHost& host = hosts.add(0, QString(), voice);
        host.ports = ports;
        // The line's own trust first, then the command line's.
        host.ports.setTlsDefaults(u.unit.trust.over(r.trust));
        const int row = int(labels.size());
        host.progressShown = [row](const QString& text) {
            StderrBoard::set(row, text.isEmpty() ? QStringLiteral("working") : text);
        };
        labels << u.label;
        requests.push_back(requestFor(r, u));
        tellNumbersUnused(r, u, voice);
    }
    // One progress line per unit on a terminal, unless asked to be quiet.
    if (!r.quiet && RunOutput::mode() != RunOutput::Mode::Events)
        StderrBoard::start(labels);
    // Ctrl+C or a stop sent to the process: each unit stops between two frames and reports.
    const StopRequest::Watch stop([&hosts] { hosts.cancelProbes(); });
    size_t next = 0;
    const QVector<int> statuses = co_await hosts.runAll([&](CliHost& host) {
        const int row = int(next);
        return runOnBoard(host, requests[next++], row);
    });
    StderrBoard::stop();
    if (StopRequest::requested()) {
        for (const std::unique_ptr<CliHost>& host : hosts.hosts())
            if (host->report.stopped)
                CliCommands::tellStopped(*host);
        err(QStringLiteral("Stopped by %1: the summary says what each unit got.")
                .arg(QLatin1String(StopRequest::byWhat())));
    }

    int worst = ExitCode::Success;
    QJsonArray all;
    for (size_t i = 0; i < units.size(); ++i) {
        worst = std::max(worst, statuses[int(i)]);
        all.append(hosts.hosts()[i]->report.toJson());
    }
    if (CliSession::jsonResults()) {
        RunOutput::finish(worst, all);
    } else {
        for (const QStringList& lines : held)
            for (const QString& line : lines)
                out(line);
        tellSummary(units, hosts);
    }
    co_return worst;
}
