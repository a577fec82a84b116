// read, write and verify: what the editor does with a unit and a settings file; the
// dispatch of every command.

#include "cli/CellBackup.h"
#include "cli/CliCommands.h"
#include "cli/CliSession.h"
#include "cli/FileCheck.h"
#include "cli/RackRun.h"
#include "cli/RightUnit.h"
#include "cli/RunOutput.h"
#include "cli/StopRequest.h"
#include "comm/LineAddress.h"
#include "flows/TransferCommands.h"
#include "model/CellAddress.h"
#include "model/CellDecode.h"
#include "settingsfile/SettingsFileIO.h"
#include "settingsfile/SettingsLines.h"
#include "transfer/CompareCells.h"
#include "transfer/SavePlan.h"

#include <QDateTime>
#include <QJsonArray>
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
int checkFileFirst(CliHost& host, const CliRequest& r, bool unlock,
                   FileCheck::PreviewedFile* previewed)
{
    if (const int status = checkSettingsFile(host.voice, r.file))
        return status;
    *previewed = FileCheck::previewFile(host.voice, r.file, unlock);
    return previewed->status;
}

// Up to applying the checked file: the line, the lock, the load, the file. 0 or 1 (the
// load's marks) to go on; else the exit status.
Task<int> loadThenApply(CliHost& host, CliRequest r, bool unlock)
{
    if (const int status = co_await openChosenLine(host, r))
        co_return status;
    if (unlock)
        unlockModelChannel(host);
    const int loaded = co_await load(host);
    if (loaded == ExitCode::LineFailed)
        co_return loaded;
    if (const int status = co_await applySettingsFile(host, r.file))
        co_return status;
    co_return loaded;
}

// The model or channel the unit holds after a save: what the compare read back where it
// read that cell, else what the load read (a locked save leaves both cells alone).
std::optional<int> heldAfterSave(const CellSet& readBack, uint8_t address,
                                 std::optional<int> loaded)
{
    if (!readBack.has(address))
        return loaded;
    const CellBytes bytes = readBack.get(address);
    const int n = CellDecode::number(bytes.d0, bytes.d1);
    return n < 0 ? loaded : std::optional<int>(n);
}

} // namespace

void tellStopped(const CliHost& host)
{
    host.err(QStringLiteral("Stopped by %1 between two frames: %2.")
                 .arg(host.stopCause(), host.report.done()));
    if (const QString undo = host.report.undoHint(); !undo.isEmpty())
        host.err(undo);
}

Task<int> read(CliHost& host, CliRequest r)
{
    if (const int status = checkOutputPath(host.voice, r.output))
        co_return status;
    if (const int status = co_await openChosenLine(host, r))
        co_return status;
    const int loaded = co_await load(host);
    if (loaded == ExitCode::LineFailed)
        co_return loaded;

    const QStringList lines = modFileAccess::BuildSettingsLines(host.editor().model().snapshot(),
                                                                QDateTime::currentDateTime());
    if (r.output.isEmpty()) {
        if (jsonResults())
            host.report.settings = lines;
        if (!host.voice.results)
            co_return loaded;
        const QByteArray bytes = modFileAccess::encodeSettingsLines(lines);
        std::fwrite(bytes.constData(), 1, static_cast<size_t>(bytes.size()), stdout);
        std::fflush(stdout);
        co_return loaded;
    }
    QString reason;
    if (!modFileAccess::writeSettingsFile(r.output, lines, &reason)) {
        host.err(QStringLiteral("corvane-cli: cannot save to %1: %2").arg(r.output, reason));
        co_return ExitCode::BadInput;
    }
    co_return loaded;
}

Task<int> write(CliHost& host, CliRequest r)
{
    const bool unlock = r.unlock || r.model || r.channel;
    FileCheck::PreviewedFile file;
    if (const int status = checkFileFirst(host, r, unlock, &file))
        co_return status;
    // A value of the file's own that no unit can hold is found before the first frame.
    if (const QVector<SaveProblem> own = FileCheck::problemsInFile(file.made, file.kept);
        !own.isEmpty()) {
        host.err(FileCheck::writeProblemText(r.file, own));
        co_return ExitCode::BadInput;
    }
    if (const int status = CellBackup::prepareFolder(host.voice, r))
        co_return status;
    const int loaded = co_await loadThenApply(host, r, unlock);
    if (loaded > ExitCode::Attention)
        co_return loaded;
    // Not the unit the rack expects (its adapters renumbered, a unit swapped): nothing sent.
    if (const QString wrong =
            RightUnit::mismatch(host.unitName(), host.report.model, host.report.channel,
                                r.expectModel, r.expectChannel);
        !wrong.isEmpty()) {
        host.err(wrong + QStringLiteral(": not written"));
        host.report.refused = true;
        co_return ExitCode::BadInput;
    }
    if (r.model)
        host.editor().model().setSpinner(SpinField::Model, *r.model);
    if (r.channel)
        host.editor().model().setSpinner(SpinField::Channel, *r.channel);
    // A unit that already holds every cell the save would write is left as it is.
    if (RightUnit::holdsAll(*host.loadedCells, buildSavePlan(host.editor().model().snapshot()))) {
        host.err(QStringLiteral("%1 already holds what %2 makes of it: nothing was written.")
                     .arg(host.unitName(), r.file));
        host.report.alreadyHeld = true;
        co_return loaded;
    }
    // The load's cells and the eight it left out.
    if (const int status = co_await CellBackup::takeBeforeWriting(host, r))
        co_return status;

    const int problems = host.problems.size();
    const int messages = host.messages.size();
    using Outcome = TransferCommands::Outcome;
    const TransferCommands::SaveOutcome saved = co_await TransferCommands::SaveToSynchronizer(host);
    host.report.writesSent = saved.writesSent;
    host.report.writesPlanned = saved.writesPlanned;
    tellShown(host, problems, messages);
    if (saved.outcome == Outcome::Done || saved.outcome == Outcome::Differences) {
        host.report.model = heldAfterSave(saved.readBack, CellAddress::Model, host.report.model);
        host.report.channel =
            heldAfterSave(saved.readBack, CellAddress::Channel, host.report.channel);
    }
    switch (saved.outcome) {
    case Outcome::Done:
        host.err(QStringLiteral("Saved to %1 and compared: no differences.").arg(host.unitName()));
        co_return ExitCode::Success;
    case Outcome::Differences:
        for (const CellDifference& d : differencesByField(
                 saved.differences, host.editor().model().snapshot(), saved.readBack)) {
            host.report.differences << UnitReport::Difference{d.field, d.read, d.expected};
            host.out(QStringLiteral("%1: wrote %2, read back %3").arg(d.field, d.expected, d.read));
        }
        co_return ExitCode::Attention;
    case Outcome::Refused:
        co_return ExitCode::BadInput;
    default:
        co_return worse(ExitCode::LineFailed, loaded);
    }
}

Task<int> verify(CliHost& host, CliRequest r)
{
    FileCheck::PreviewedFile file;
    if (const int status = checkFileFirst(host, r, r.unlock, &file))
        co_return status;
    // A value of the file's own that no unit can hold is found before the first frame.
    const QVector<SaveProblem> own = FileCheck::problemsInFile(file.made, file.kept);
    if (!own.isEmpty()) {
        host.err(FileCheck::verifyProblemText(r.file, own, true));
        co_return ExitCode::BadInput;
    }
    const int loaded = co_await loadThenApply(host, r, r.unlock);
    if (loaded > ExitCode::Attention)
        co_return loaded;
    const EditorSnapshot expected = host.editor().model().snapshot();
    // The modes and switches as a save would store them; a value no unit can hold means
    // the file cannot be what the unit holds.
    const SavePlan plan = buildSavePlan(expected);
    if (!plan.ok()) {
        host.err(FileCheck::verifyProblemText(r.file, plan.problems, false));
        co_return ExitCode::BadInput;
    }
    const QVector<CellDifference> found =
        findDifferences(expected, plan.StartMode, plan.EndMode, *host.loadedCells);
    for (const CellDifference& d : found)
        host.wireLog().finding(describeDifference(d));
    const QVector<CellDifference> byField = differencesByField(found, expected, *host.loadedCells);
    for (const CellDifference& d : byField) {
        host.report.differences << UnitReport::Difference{d.field, d.read, d.expected};
        host.out(QStringLiteral("%1: the file makes %2, the unit holds %3")
                     .arg(d.field, d.expected, d.read));
    }
    if (found.isEmpty())
        host.err(QStringLiteral("%1 holds what %2 makes of it.").arg(host.unitName(), r.file));
    else
        host.err(QStringLiteral("%1 field%2 differ.")
                     .arg(byField.size())
                     .arg(byField.size() == 1 ? QString() : QStringLiteral("s")));
    co_return found.isEmpty() ? ExitCode::Success : ExitCode::Attention;
}

Task<int> runUnit(CliHost& host, CliRequest r)
{
    host.progressLine().setQuiet(r.quiet);
    UnitReport& report = host.report;
    report.command = r.command;
    // The unit as the user named it: its COM number, or the device or address given.
    report.unit = !r.device.isEmpty() ? LineAddress::shownName(r.device)
                  : r.port            ? QStringLiteral("COM%1").arg(*r.port)
                                      : QString();
    // find and scan listen or ask on their own; a stop is how a find ends.
    const bool oneUnit = !report.unit.isEmpty() && r.command != QLatin1String("find") &&
                         r.command != QLatin1String("scan");
    if (oneUnit)
        RunOutput::event(QStringLiteral("unit started"), report.unit,
                         {{QStringLiteral("command"), r.command}});
    int status = ExitCode::BadInput;
    if (r.command == QLatin1String("ports"))
        status = co_await ports(host);
    else if (r.command == QLatin1String("find"))
        status = co_await find(host, r);
    else if (r.command == QLatin1String("scan"))
        status = co_await scan(host, r);
    else if (r.command == QLatin1String("read"))
        status = co_await read(host, r);
    else if (r.command == QLatin1String("write"))
        status = co_await write(host, r);
    else if (r.command == QLatin1String("verify"))
        status = co_await verify(host, r);
    else if (r.command == QLatin1String("backup"))
        status = co_await backup(host, r);
    else if (r.command == QLatin1String("restore"))
        status = co_await restore(host, r);
    if (host.serial().PortOpen())
        host.serial().closePort();
    if (!r.wireLog.isEmpty())
        status = worse(status, writeWireLog(host, r.wireLog));
    report.address = LineAddress::shownName(
        r.device.isEmpty() && r.port ? host.ports.devicePath(*r.port) : r.device);
    // A stop that came after the command's last frame leaves its result as it is.
    report.stopped = host.stopped() && oneUnit && status != ExitCode::Success;
    if (report.stopped)
        status = ExitCode::Stopped;
    report.status = status;
    if (oneUnit)
        RunOutput::event(QStringLiteral("unit done"), report.unit, report.toJson());
    co_return status;
}

Task<int> run(CliHost& host, CliRequest r)
{
    const int status = co_await runUnit(host, r);
    // ports, and find or scan on every port, tell their own documents.
    const bool ownDocument =
        r.command == QLatin1String("ports") ||
        ((r.command == QLatin1String("find") || r.command == QLatin1String("scan")) && !r.port &&
         r.device.isEmpty());
    if (host.report.stopped)
        tellStopped(host);
    if (!ownDocument)
        RunOutput::finish(status, QJsonArray{host.report.toJson()});
    co_return status;
}

Task<int> runCommandLine(QStringList arguments, LineTiming timing)
{
    const ParsedCommandLine parsed = parseCommandLine(arguments);
    std::fputs(qPrintable(parsed.out), stdout);
    std::fputs(qPrintable(parsed.err), stderr);
    if (!parsed.request)
        co_return parsed.exitCode;

    RunOutput::setMode(parsed.request->events ? RunOutput::Mode::Events
                       : parsed.request->json ? RunOutput::Mode::Json
                                              : RunOutput::Mode::Human);
    if (parsed.request->several())
        co_return co_await RackRun::run(*parsed.request, timing);
    const StopRequest::Watch stop;
    CliHost host(timing);
    host.voice.results = !RunOutput::machine();
    const QString map = qEnvironmentVariable("CORVANE_PORT_MAP");
    QString error;
    if (!map.isEmpty() && !applyPortMap(host.ports, map, &error)) {
        err(QStringLiteral("corvane-cli: ") + error);
        co_return ExitCode::BadInput;
    }
    host.ports.setTlsDefaults(parsed.request->trust);
    co_return co_await run(host, *parsed.request);
}

} // namespace CliCommands
