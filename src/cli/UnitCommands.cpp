// read, write and verify: what the editor does with a unit and a settings file; the
// dispatch of every command.

#include "cli/CellBackup.h"
#include "cli/CliCommands.h"
#include "cli/CliSession.h"
#include "cli/FileCheck.h"
#include "cli/RackRun.h"
#include "cli/StopRequest.h"
#include "flows/TransferCommands.h"
#include "settingsfile/SettingsFileIO.h"
#include "settingsfile/SettingsLines.h"
#include "transfer/CompareCells.h"
#include "transfer/SavePlan.h"

#include <QDateTime>
#include <QJsonDocument>
#include <cstdio>

using namespace CliSession;

namespace CliCommands {

namespace {

// The worse of two statuses: bad input over a failed line over attention.
int worse(int a, int b)
{
    return std::max(a, b);
}

// The file read and previewed before the line is opened, locked or unlocked as the
// command will be: 0 with `previewed` filled, or 3.
int checkFileFirst(const CliRequest& r, bool unlock, FileCheck::PreviewedFile* previewed)
{
    if (const int status = checkSettingsFile(r.file))
        return status;
    *previewed = FileCheck::previewFile(r.file, unlock);
    return previewed->status;
}

// Up to applying the checked file: the line, the lock, the load, the file. 0 or 1 (the
// load's marks) to go on; else the exit status.
int loadThenApply(CliHost& host, const CliRequest& r, bool unlock)
{
    if (const int status = openChosenLine(host, r))
        return status;
    if (unlock)
        unlockModelChannel(host);
    const int loaded = load(host);
    if (loaded == ExitCode::LineFailed)
        return loaded;
    if (const int status = applySettingsFile(host, r.file))
        return status;
    return loaded;
}

} // namespace

int read(CliHost& host, const CliRequest& r)
{
    if (const int status = openChosenLine(host, r))
        return status;
    const int loaded = load(host);
    if (loaded == ExitCode::LineFailed)
        return loaded;

    const QStringList lines = modFileAccess::BuildSettingsLines(host.editor().model().snapshot(),
                                                                QDateTime::currentDateTime());
    if (r.output.isEmpty()) {
        if (jsonResults())
            return loaded;
        const QByteArray bytes = modFileAccess::encodeSettingsLines(lines);
        std::fwrite(bytes.constData(), 1, static_cast<size_t>(bytes.size()), stdout);
        std::fflush(stdout);
        return loaded;
    }
    QString reason;
    if (!modFileAccess::writeSettingsFile(r.output, lines, &reason)) {
        err(QStringLiteral("corvane-cli: cannot save to %1: %2").arg(r.output, reason));
        return ExitCode::BadInput;
    }
    return loaded;
}

int write(CliHost& host, const CliRequest& r)
{
    const bool unlock = r.unlock || r.model || r.channel;
    FileCheck::PreviewedFile file;
    if (const int status = checkFileFirst(r, unlock, &file))
        return status;
    if (const int status = CellBackup::prepareFolder(r))
        return status;
    const int loaded = loadThenApply(host, r, unlock);
    if (loaded > ExitCode::Attention)
        return loaded;
    // A read of its own: the load leaves out eight cells.
    if (const int status = CellBackup::takeBeforeWriting(host, r))
        return status;
    if (r.model)
        host.editor().model().setSpinner(SpinField::Model, *r.model);
    if (r.channel)
        host.editor().model().setSpinner(SpinField::Channel, *r.channel);

    const int problems = host.problems.size();
    const int messages = host.messages.size();
    using Outcome = TransferCommands::Outcome;
    const TransferCommands::SaveOutcome saved = TransferCommands::SaveToSynchronizer(host);
    tellShown(host, problems, messages);
    switch (saved.outcome) {
    case Outcome::Done:
        err(QStringLiteral("Saved to COM%1 and compared: no differences.")
                .arg(host.portAccess.SyncPort));
        return ExitCode::Success;
    case Outcome::Differences:
        for (const CellDifference& d : differencesByField(
                 saved.differences, host.editor().model().snapshot(), saved.readBack))
            host.report.differences
                << QStringLiteral("%1: wrote %2, read back %3").arg(d.field, d.expected, d.read);
        for (const QString& line : host.report.differences)
            out(line);
        return ExitCode::Attention;
    case Outcome::Refused:
        return ExitCode::BadInput;
    default:
        return worse(ExitCode::LineFailed, loaded);
    }
}

int verify(CliHost& host, const CliRequest& r)
{
    FileCheck::PreviewedFile file;
    if (const int status = checkFileFirst(r, r.unlock, &file))
        return status;
    // A value of the file's own that no unit can hold is found before the first frame.
    const QVector<SaveProblem> own = FileCheck::problemsInFile(file.made, file.kept);
    if (!own.isEmpty()) {
        err(FileCheck::verifyProblemText(r.file, own, true));
        return ExitCode::BadInput;
    }
    const int loaded = loadThenApply(host, r, r.unlock);
    if (loaded > ExitCode::Attention)
        return loaded;
    const EditorSnapshot expected = host.editor().model().snapshot();
    // The modes and switches as a save would store them; a value no unit can hold means
    // the file cannot be what the unit holds.
    const SavePlan plan = buildSavePlan(expected);
    if (!plan.ok()) {
        err(FileCheck::verifyProblemText(r.file, plan.problems, false));
        return ExitCode::BadInput;
    }
    const QVector<CellDifference> found =
        findDifferences(expected, plan.StartMode, plan.EndMode, *host.loadedCells);
    for (const CellDifference& d : found)
        host.wireLog().finding(describeDifference(d));
    const QVector<CellDifference> byField = differencesByField(found, expected, *host.loadedCells);
    for (const CellDifference& d : byField)
        host.report.differences << QStringLiteral("%1: the file makes %2, the unit holds %3")
                                       .arg(d.field, d.expected, d.read);
    for (const QString& line : host.report.differences)
        out(line);
    if (found.isEmpty())
        err(QStringLiteral("COM%1 holds what %2 makes of it.")
                .arg(host.portAccess.SyncPort)
                .arg(r.file));
    else
        err(QStringLiteral("%1 field%2 differ.")
                .arg(byField.size())
                .arg(byField.size() == 1 ? QString() : QStringLiteral("s")));
    return found.isEmpty() ? ExitCode::Success : ExitCode::Attention;
}

int run(CliHost& host, const CliRequest& r)
{
    host.progressLine().setQuiet(r.quiet);
    int status = ExitCode::BadInput;
    if (r.command == QLatin1String("ports"))
        status = ports(host);
    else if (r.command == QLatin1String("find"))
        status = find(host, r);
    else if (r.command == QLatin1String("scan"))
        status = scan(host, r);
    else if (r.command == QLatin1String("read"))
        status = read(host, r);
    else if (r.command == QLatin1String("write"))
        status = write(host, r);
    else if (r.command == QLatin1String("verify"))
        status = verify(host, r);
    else if (r.command == QLatin1String("backup"))
        status = backup(host, r);
    else if (r.command == QLatin1String("restore"))
        status = restore(host, r);
    if (host.serial().PortOpen())
        host.serial().setPortOpen(false);
    if (!r.wireLog.isEmpty())
        status = worse(status, writeWireLog(host, r.wireLog));
    // ports, and find or scan on every port, tell their own documents.
    const bool ownDocument =
        r.command == QLatin1String("ports") ||
        ((r.command == QLatin1String("find") || r.command == QLatin1String("scan")) && !r.port &&
         r.device.isEmpty());
    UnitReport& report = host.report;
    report.command = r.command;
    report.address = r.device.isEmpty() && r.port ? host.ports.devicePath(*r.port) : r.device;
    report.writesSent = host.wireLog().lines().filter(QStringLiteral("  > W ")).size();
    report.status = status;
    if (StopRequest::requested())
        err(QStringLiteral("Stopped by Ctrl+C between two frames: %1.").arg(report.done()));
    if (r.json && !ownDocument) {
        const QByteArray doc = QJsonDocument(report.toJson()).toJson(QJsonDocument::Compact);
        std::fprintf(stdout, "%s\n", doc.constData());
        std::fflush(stdout);
    }
    return status;
}

int runCommandLine(const QStringList& arguments, const LineTiming& timing)
{
    const ParsedCommandLine parsed = parseCommandLine(arguments);
    std::fputs(qPrintable(parsed.out), stdout);
    std::fputs(qPrintable(parsed.err), stderr);
    if (!parsed.request)
        return parsed.exitCode;

    setJsonResults(parsed.request->json);
    if (parsed.request->several())
        return RackRun::run(*parsed.request);
    const StopRequest::Watch stop;
    CliHost host(timing);
    const QString map = qEnvironmentVariable("CORVANE_PORT_MAP");
    QString error;
    if (!map.isEmpty() && !applyPortMap(host.ports, map, &error)) {
        err(QStringLiteral("corvane-cli: ") + error);
        return ExitCode::BadInput;
    }
    return run(host, *parsed.request);
}

} // namespace CliCommands
