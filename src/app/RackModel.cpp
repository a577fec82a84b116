#include "app/RackModel.h"

#include "cli/CliCommands.h"
#include "cli/SideBySide.h"
#include "comm/modCorvaneComm.h"

#include <QDir>
#include <QElapsedTimer>
#include <algorithm>
#include <memory>
#include <vector>

namespace {

constexpr int ProgressEveryMs = 250;

// The request of one row's command, as corvane-cli would run it for this rack line.
CliRequest requestFor(const QString& command, const RackRow& row, const QString& file,
                      const QString& backupFolder)
{
    CliRequest r;
    r.command = command;
    r.port = row.unit.port;
    // A port whose rack line adds trust is reached by its address, which carries it.
    r.device = row.unit.port && row.unit.trust.isEmpty() ? QString() : row.device;
    r.file = file;
    r.quiet = true;
    r.expectModel = row.unit.expectModel;
    r.expectChannel = row.unit.expectChannel;
    r.backupDir = backupFolder;
    r.backup = !backupFolder.isEmpty();
    if (command == QLatin1String("write")) {
        r.model = row.unit.model;
        r.channel = row.unit.channel;
    }
    // A backup goes back whole, model and channel with the rest.
    if (command == QLatin1String("restore"))
        r.unlock = true;
    if (command == QLatin1String("backup"))
        r.output = QDir(backupFolder).absolutePath() + QLatin1Char('/');
    return r;
}

// What a scan found. (Kept out of the coroutines: GCC 12 miscompiles ?: over temporaries
// in a coroutine's body.)
QString scanSummary(int answering, int ports, const QStringList& silent)
{
    QString text = QStringLiteral("%1 of %2 ports answered").arg(answering).arg(ports);
    if (silent.isEmpty())
        return text + QLatin1Char('.');
    return text + QStringLiteral("; no answer on ") + silent.join(QStringLiteral(", ")) +
           QStringLiteral(" (a unit may need RESET).");
}

QString missingFileText(const QString& command, const QString& label)
{
    if (command == QLatin1String("restore"))
        return QStringLiteral("no backup of %1 to restore").arg(label);
    return QStringLiteral("no settings file for %1").arg(label);
}

} // namespace

Task<QList<int>> RackModel::usablePorts()
{
    CliHost lister(timing_);
    lister.ports = ports_;
    CommContext c = lister.comm();
    co_await modCorvaneComm::ListSerialPorts(c);
    QList<int> ports;
    for (const PortListEntry& p : lister.portAccess.PortList)
        ports << p.port;
    co_return ports;
}

Task<> RackModel::scan()
{
    busy_ = true;
    const QList<int> ports = co_await usablePorts();
    SideBySide hosts(timing_);
    for (int n : ports) {
        hosts.add(int16_t(n), ports_.devicePath(n), UnitVoice{QString(), false, false});
        if (const int at = rowOf(ports_.devicePath(n)); at >= 0) {
            rows_[at].state = QStringLiteral("asking");
            changed(at);
        }
    }
    const QVector<int> statuses = co_await hosts.runAll([](CliHost& host) {
        CliRequest r;
        r.command = QStringLiteral("scan");
        r.port = host.unitPort;
        r.quiet = true;
        return CliCommands::runUnit(host, r);
    });
    QStringList silent;
    int answering = 0;
    for (size_t i = 0; i < hosts.hosts().size(); ++i) {
        const CliHost& host = *hosts.hosts()[i];
        const QString device = ports_.devicePath(host.unitPort);
        int at = rowOf(device);
        if (statuses[int(i)] != 0) {
            silent << QStringLiteral("COM%1").arg(host.unitPort);
            if (at >= 0) {
                rows_[at].state = QStringLiteral("no answer");
                changed(at);
            }
            continue;
        }
        ++answering;
        if (at < 0) {
            RackRow row;
            row.unit.port = host.unitPort;
            row.label = QStringLiteral("COM%1").arg(host.unitPort);
            row.device = device;
            at = append(row);
        }
        rows_[at].model = host.report.model;
        rows_[at].channel = host.report.channel;
        rows_[at].state = QStringLiteral("answering");
        changed(at);
    }
    busy_ = false;
    tell(scanSummary(answering, int(ports.size()), silent));
}

Task<> RackModel::listen(double seconds)
{
    busy_ = true;
    const QList<int> ports = co_await usablePorts();
    SideBySide hosts(timing_);
    running_ = &hosts;
    QStringList names;
    for (int n : ports) {
        hosts.add(int16_t(n), ports_.devicePath(n), UnitVoice{QString(), false, false});
        names << QStringLiteral("COM%1").arg(n);
        if (const int at = rowOf(ports_.devicePath(n)); at >= 0) {
            rows_[at].state = QStringLiteral("listening");
            changed(at);
        }
    }
    // RESET is asked for once every port listens (or could not): a unit reset before its
    // port listens would go unheard.
    std::vector<bool> settled(ports.size(), false);
    bool told = false;
    const auto settle = [&](size_t i) {
        settled[i] = true;
        if (told || std::find(settled.begin(), settled.end(), false) != settled.end())
            return;
        told = true;
        tell(QStringLiteral("Press RESET on each synchronizer now: listening %1 s on %2 at once.")
                 .arg(seconds)
                 .arg(names.join(QStringLiteral(", "))));
    };
    for (size_t i = 0; i < hosts.hosts().size(); ++i)
        hosts.hosts()[i]->listening = [&settle, i] { settle(i); };
    int heard = 0;
    size_t next = 0;
    std::function<void(size_t)> settleOne = settle;
    co_await hosts.runAll([&](CliHost& host) {
        const size_t i = next++;
        return findRow(host, seconds, &settleOne, i, &heard);
    });
    running_ = nullptr;
    busy_ = false;
    tell(QStringLiteral("%1 unit%2 heard.").arg(heard).arg(QLatin1String(heard == 1 ? "" : "s")));
}

void RackModel::stop()
{
    if (!running_)
        return;
    running_->cancelProbes();
    for (const std::unique_ptr<CliHost>& host : running_->hosts())
        host->stopAsked = true;
}

QList<int> RackModel::failedRows() const
{
    QList<int> out;
    for (int i = 0; i < rows_.size(); ++i)
        if (rows_[i].failed())
            out << i;
    return out;
}

Task<> RackModel::write(QList<int> chosen, QString file)
{
    // Named first: a temporary passed to a coroutine is not safe with GCC 12.
    const QString command = QStringLiteral("write");
    return runOnRows(command, chosen, file);
}

Task<> RackModel::verify(QList<int> chosen, QString file)
{
    // Named first: a temporary passed to a coroutine is not safe with GCC 12.
    const QString command = QStringLiteral("verify");
    return runOnRows(command, chosen, file);
}

Task<> RackModel::backup(QList<int> chosen)
{
    const QString command = QStringLiteral("backup"), none;
    return runOnRows(command, chosen, none);
}

Task<> RackModel::restore(QList<int> chosen, QString image)
{
    const QString command = QStringLiteral("restore");
    return runOnRows(command, chosen, image);
}

Task<> RackModel::runOnRows(QString command, QList<int> chosen, QString file)
{
    busy_ = true;
    SideBySide hosts(timing_);
    std::vector<CliRequest> requests;
    std::vector<int> rowOfHost;
    for (int i : chosen) {
        RackRow& row = rows_[i];
        row.said.clear();
        row.differences.clear();
        row.result.clear();
        QString own = file;
        if (own.isEmpty() && command == QLatin1String("restore"))
            own = row.backup;
        else if (own.isEmpty())
            own = row.unit.file;
        const bool needsFile = command != QLatin1String("backup");
        if (needsFile && own.isEmpty()) {
            row.said << missingFileText(command, row.label);
            row.result = QStringLiteral("bad input");
            row.state = QStringLiteral("done");
            changed(i);
            continue;
        }
        if (command == QLatin1String("backup") && backupFolder.isEmpty()) {
            row.said << QStringLiteral("no backup folder");
            row.result = QStringLiteral("bad input");
            row.state = QStringLiteral("done");
            changed(i);
            continue;
        }
        UnitVoice voice{QString(), false, false};
        voice.told = [this, i](const QString& line) { rows_[i].said << line; };
        CliHost& host = hosts.add(0, QString(), voice);
        host.ports = ports_;
        // A unit's progress told at most four times a second: sixteen units each telling
        // every percent kept the window redrawing and relaying out its rows all the time.
        auto told = std::make_shared<QElapsedTimer>();
        host.progressShown = [this, i, told](const QString& text) {
            const QString state = text.isEmpty() ? QStringLiteral("working") : text;
            if (state == rows_[i].state ||
                (!text.isEmpty() && told->isValid() && told->elapsed() < ProgressEveryMs))
                return;
            told->start();
            rows_[i].state = state;
            changed(i);
        };
        requests.push_back(requestFor(command, row, own, backupFolder));
        rowOfHost.push_back(i);
        row.state = QStringLiteral("working");
        changed(i);
    }
    size_t next = 0;
    running_ = &hosts;
    co_await hosts.runAll([&](CliHost& host) {
        const size_t k = next++;
        return runRow(host, requests[k], rowOfHost[k]);
    });
    running_ = nullptr;
    busy_ = false;
    int good = 0;
    for (int i : chosen)
        good += rows_[i].failed() ? 0 : 1;
    tell(QStringLiteral("%1: %2 of %3 ok.").arg(command).arg(good).arg(chosen.size()));
}

// (Members, not coroutine lambdas: GCC 12 destroys a coroutine lambda's by-value
// parameters twice.)
Task<int> RackModel::runRow(CliHost& host, CliRequest r, int i)
{
    const int status = co_await CliCommands::runUnit(host, r);
    // Each row says its result as soon as its unit is done.
    RackRow& row = rows_[i];
    const UnitReport& report = host.report;
    if (report.stopped)
        CliCommands::tellStopped(host);
    if (report.model)
        row.model = report.model;
    if (report.channel)
        row.channel = report.channel;
    row.result = report.result();
    row.differences = report.differences;
    if (!report.backup.isEmpty())
        row.backup = report.backup;
    row.state = QStringLiteral("done");
    changed(i);
    co_return status;
}

Task<int> RackModel::findRow(CliHost& host, double seconds,
                             const std::function<void(size_t)>* settled, size_t index, int* heard)
{
    CliRequest r;
    r.command = QStringLiteral("find");
    r.port = host.unitPort;
    r.timeoutSeconds = seconds;
    r.quiet = true;
    const int status = co_await CliCommands::runUnit(host, r);
    (*settled)(index);
    // Each unit's row as soon as its port has heard it, in the order heard.
    const QString device = ports_.devicePath(host.unitPort);
    int at = rowOf(device);
    if (status <= ExitCode::Attention) {
        ++*heard;
        if (at < 0) {
            RackRow row;
            row.unit.port = host.unitPort;
            row.label = QStringLiteral("COM%1").arg(host.unitPort);
            row.device = device;
            at = append(row);
        }
        rows_[at].model = host.report.model;
        rows_[at].channel = host.report.channel;
        rows_[at].state = QStringLiteral("answering");
        changed(at);
    } else if (at >= 0) {
        rows_[at].state = QStringLiteral("not heard");
        changed(at);
    }
    co_return status;
}
