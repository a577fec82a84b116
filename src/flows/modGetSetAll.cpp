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
// layer has already tried each three times).
bool readCells(FlowHost& host, CommContext& c, const QVector<uint8_t>& order, CellSet& cells)
{
    for (uint8_t address : order) {
        host.beforeCell(address);
        const modCorvaneComm::CellReply reply = modCorvaneComm::ReadCellReply(c, address);
        if (!reply.good())
            return false;
        cells.set(address, {reply.bytes[0], reply.bytes[1]});
        host.progress().advance();
    }
    return true;
}

// Runs a transfer's body with the commands held off. An unexpected failure is shown once
// in a box named after the procedure and ends the transfer; nothing is tried again.
template <typename Body> int16_t guarded(FlowHost& host, const char* procedure, Body body)
{
    TransferGuard guard(host);
    try {
        return body();
    } catch (const std::exception& e) {
        host.wireLog().event(QStringLiteral("%1 stopped by a program error: %2")
                                 .arg(QLatin1String(procedure), QString::fromLocal8Bit(e.what())));
        host.showMessage(TransferTexts::programError(procedure), false);
        return AlreadyReported;
    } catch (...) {
        host.showMessage(TransferTexts::programError(procedure), false);
        return AlreadyReported;
    }
}

int16_t getAll(FlowHost& host, std::optional<LoadFindings>& findings)
{
    EditorView& view = host.editor();
    EditorModel& editor = view.model();
    CommContext c = host.comm();
    startBar(host, 1);
    if (!modCorvaneComm::SendAttention(c))
        return CommunicationFailed;
    host.progress().advance();
    CellSet cells;
    if (!readCells(host, c, loadReadOrder(), cells))
        return CommunicationFailed;

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
    findings = LoadFindings{cells, loaded, plan, report};
    if (!report.isEmpty())
        host.showMarksReport(report);
    return static_cast<int16_t>(plan.problemCount());
}

int16_t setAll(FlowHost& host, const SavePlan& plan)
{
    if (!plan.ok()) {
        // Nothing has been sent; the user learns which field holds what.
        host.showProblem(plan.problemText);
        return AlreadyReported;
    }
    EditorModel& editor = host.editor().model();
    CommContext c = host.comm();
    modCorvaneComm::ClearHighlights(editor);
    startBar(host, 2);
    if (!modCorvaneComm::SendAttention(c))
        return CommunicationFailed;
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
        if (modCorvaneComm::WriteCell(c, w.address, w.bytes.d0, w.bytes.d1) != 1)
            return CommunicationFailed; // the cells not yet written keep their old values
        if (w.advancesBar)
            host.progress().advance();
    }
    return 0;
}

int16_t compareAll(FlowHost& host, CompareRun& run)
{
    EditorModel& editor = host.editor().model();
    const EditorSnapshot expected = editor.snapshot();
    CommContext c = host.comm();
    modCorvaneComm::ClearHighlights(editor);
    startBar(host, 1);
    if (!modCorvaneComm::SendAttention(c))
        return CommunicationFailed;
    host.progress().advance();
    CellSet cells;
    if (!readCells(host, c, compareReadOrder(expected.ModelChannelUnlocked), cells))
        return CommunicationFailed;

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
    return static_cast<int16_t>(std::min(differences, 32767));
}

} // namespace

int16_t GetAllFromCorvane(FlowHost& host)
{
    return LoadAll(host).status;
}

LoadRun LoadAll(FlowHost& host)
{
    LoadRun run;
    run.status = guarded(host, "GetAllFromCorvane", [&] { return getAll(host, run.findings); });
    if (run.status < 0)
        run.findings.reset();
    return run;
}

int16_t SetAllToCorvane(FlowHost& host, const SavePlan& plan)
{
    return guarded(host, "SetAllToCorvane", [&] { return setAll(host, plan); });
}

int16_t CompareAllFromCorvane(FlowHost& host)
{
    return CompareAll(host).status;
}

CompareRun CompareAll(FlowHost& host)
{
    CompareRun run;
    run.status = guarded(host, "CompareAllFromCorvane", [&] { return compareAll(host, run); });
    return run;
}

} // namespace modGetSetAll
