#include "flows/modGetSetAll.h"

#include "comm/modCorvaneComm.h"
#include "flows/EditorDefaults.h"
#include "flows/EditorView.h"
#include "flows/FlowHost.h"
#include "flows/LoadIntoEditor.h"
#include "flows/ModelChannelLock.h"
#include "flows/TransferGuard.h"
#include "flows/TransferTexts.h"
#include "transfer/CellMap.h"
#include "transfer/CompareCells.h"
#include "transfer/LoadReport.h"
#include "transfer/LoadValidation.h"
#include "transfer/MarkLog.h"
#include "transfer/MarkPlan.h"
#include "transfer/SavePlan.h"

#include <algorithm>
#include <exception>

namespace modGetSetAll {

namespace {

// Every transfer's bar runs to 60.
constexpr int BarMax = 60;

void startBar(FlowHost& host, int value)
{
    host.progress().setBarMax(BarMax);
    host.progress().setBar(value);
}

// Reads the cells in order; false at the first that does not come back (the command
// layer has already tried each three times), with why in `failure`.
Task<bool> readCells(FlowHost& host, CommContext c, QVector<uint8_t> order, CellSet& cells,
                     QString& failure)
{
    for (uint8_t address : order) {
        host.beforeCell(address);
        const modCorvaneComm::CellReply reply = co_await modCorvaneComm::ReadCell(c, address);
        if (!reply.good()) {
            failure = reply.failure;
            co_return false;
        }
        cells.set(address, {reply.bytes[0], reply.bytes[1]});
        host.progress().advance();
    }
    co_return true;
}

// The attention frames; false with why in `failure` when they did not go out.
Task<bool> attention(CommContext c, QString& failure)
{
    const modCorvaneComm::FrameReply sent = co_await modCorvaneComm::SendAttention(c);
    failure = sent.failure;
    co_return sent.sent;
}

// Runs a transfer's body with the commands held off. An unexpected failure is shown once
// in a box named after the procedure and ends the transfer; nothing is tried again.
// `body` starts the coroutine only once the guard is up.
template <typename Body> Task<int16_t> guarded(FlowHost& host, const char* procedure, Body body)
{
    TransferGuard guard(host);
    QString failure;
    try {
        co_return co_await body();
    } catch (const std::exception& e) {
        failure = QString::fromLocal8Bit(e.what());
    } catch (...) {
        failure = QStringLiteral("unknown");
    }
    // A box is awaited outside the handler: a coroutine cannot wait inside one.
    host.wireLog().event(
        QStringLiteral("%1 stopped by a program error: %2").arg(QLatin1String(procedure), failure));
    co_await host.showMessage(TransferTexts::programError(procedure), false);
    co_return AlreadyReported;
}

Task<int16_t> getAll(FlowHost& host, LoadRun& run)
{
    EditorView& view = host.editor();
    EditorModel& editor = view.model();
    CommContext c = host.comm();
    startBar(host, 1);
    if (!co_await attention(c, run.failure))
        co_return CommunicationFailed;
    host.progress().advance();
    CellSet cells;
    if (!co_await readCells(host, c, loadReadOrder(), cells, run.failure))
        co_return CommunicationFailed;

    // Every cell is in: only from here on does the editor change.
    modCorvaneComm::ClearHighlights(editor);
    const LoadResult loaded = decodeAndValidate(cells);
    editor.marks() = loaded.marks;
    host.progress().advance();
    fillEditor(view, loaded.values);
    host.progress().advance();

    const MarkPlan plan = markPlan(loaded.marks, loaded.values.StartMode, loaded.values.EndMode);
    for (const QString& line : describeMarks(loaded.marks, cells, loaded.values))
        host.wireLog().finding(line);
    showLoadMarks(editor, plan);
    const QString report = loadReportText(plan.red, plan.yellow);
    run.findings = LoadFindings{cells, loaded, plan, report};
    if (!report.isEmpty())
        co_await host.showMarksReport(report);
    co_return static_cast<int16_t>(plan.problemCount());
}

Task<int16_t> setAll(FlowHost& host, const SavePlan& plan, SetRun& run)
{
    if (!plan.ok()) {
        // Nothing has been sent; the user learns which field holds what.
        co_await host.showProblem(plan.problemText);
        co_return AlreadyReported;
    }
    EditorModel& editor = host.editor().model();
    CommContext c = host.comm();
    modCorvaneComm::ClearHighlights(editor);
    startBar(host, 2);
    if (!co_await attention(c, run.failure))
        co_return CommunicationFailed;
    host.progress().advance();

    // The compare takes the modes from the record.
    SyncParameters& rec = editor.record();
    rec.StartMode = plan.StartMode;
    rec.EndMode = plan.EndMode;
    rec.OptionBits = plan.OptionBits;
    rec.Synchronize = plan.Synchronize;
    rec.Squelch = plan.Squelch;

    for (const CellWrite& w : plan.writes) {
        host.beforeCell(w.address);
        const modCorvaneComm::FrameReply written =
            co_await modCorvaneComm::WriteCell(c, w.address, w.bytes.d0, w.bytes.d1);
        run.writesSent += written.queued;
        if (!written) {
            run.failure = written.failure;
            co_return CommunicationFailed; // the cells not yet written keep their old values
        }
        if (w.advancesBar)
            host.progress().advance();
    }
    co_return int16_t{0};
}

Task<int16_t> compareAll(FlowHost& host, CompareRun& run)
{
    EditorModel& editor = host.editor().model();
    const EditorSnapshot expected = editor.snapshot();
    CommContext c = host.comm();
    modCorvaneComm::ClearHighlights(editor);
    startBar(host, 1);
    if (!co_await attention(c, run.failure))
        co_return CommunicationFailed;
    host.progress().advance();
    CellSet cells;
    if (!co_await readCells(host, c, compareReadOrder(expected.ModelChannelUnlocked), cells,
                            run.failure))
        co_return CommunicationFailed;

    const SyncParameters& rec = editor.record();
    const QVector<CellDifference> found =
        findDifferences(expected, rec.StartMode, rec.EndMode, cells);
    for (const CellDifference& d : found)
        host.wireLog().finding(describeDifference(d));
    run.differences = found;
    run.readBack = cells;
    const int differences = static_cast<int>(found.size());
    // Model and channel that a load unlocked for correction have now been saved and read
    // back, whatever the count.
    relockIfMarked(editor);
    co_return static_cast<int16_t>(std::min(differences, 32767));
}

} // namespace

Task<int16_t> GetAllFromCorvane(FlowHost& host)
{
    co_return (co_await LoadAll(host)).status;
}

Task<LoadRun> LoadAll(FlowHost& host)
{
    LoadRun run;
    run.status = co_await guarded(host, "GetAllFromCorvane", [&] { return getAll(host, run); });
    if (run.status < 0)
        run.findings.reset();
    co_return run;
}

Task<int16_t> SetAllToCorvane(FlowHost& host, SavePlan plan)
{
    co_return (co_await SetAll(host, std::move(plan))).status;
}

Task<SetRun> SetAll(FlowHost& host, SavePlan plan)
{
    SetRun run;
    run.status = co_await guarded(host, "SetAllToCorvane", [&] { return setAll(host, plan, run); });
    co_return run;
}

Task<int16_t> CompareAllFromCorvane(FlowHost& host)
{
    co_return (co_await CompareAll(host)).status;
}

Task<CompareRun> CompareAll(FlowHost& host)
{
    CompareRun run;
    run.status =
        co_await guarded(host, "CompareAllFromCorvane", [&] { return compareAll(host, run); });
    co_return run;
}

} // namespace modGetSetAll
