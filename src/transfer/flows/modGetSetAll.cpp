#include "transfer/flows/modGetSetAll.h"

#include "app/CorvaneApp.h"
#include "app/EditorDefaults.h"
#include "app/Modal.h"
#include "app/frmMain.h"
#include "app/frmProgress.h"
#include "comm/modCorvaneComm.h"
#include "transfer/CellMap.h"
#include "transfer/CompareCells.h"
#include "transfer/LoadReport.h"
#include "transfer/LoadValidation.h"
#include "transfer/MarkPlan.h"
#include "transfer/SavePlan.h"
#include "transfer/flows/EditorReading.h"
#include "transfer/flows/LoadIntoEditor.h"
#include "transfer/flows/ModelChannelLock.h"
#include "transfer/flows/TransferGuard.h"
#include "transfer/flows/TransferTexts.h"

#include <QProgressBar>
#include <algorithm>

namespace modGetSetAll {

namespace {

// Every transfer's bar runs to 60.
constexpr int BarMax = 60;

std::function<void(uint8_t)>& cellHook()
{
    static std::function<void(uint8_t)> hook;
    return hook;
}

void beforeCell(uint8_t address)
{
    if (cellHook())
        cellHook()(address);
}

void startBar(frmMain& main, int value)
{
    frmProgress& p = main.app.progress();
    p.ProgressBar1->setMaximum(BarMax);
    p.setBar(value);
}

void advanceBar(frmMain& main)
{
    main.app.progress().advance();
}

// Reads the cells in order; false at the first that does not come back (the command
// layer has already tried each three times).
bool readCells(frmMain& main, CommContext& c, const QVector<uint8_t>& order, CellSet& cells)
{
    for (uint8_t address : order) {
        beforeCell(address);
        if (modCorvaneComm::ReadCell(c, address) != modCorvaneComm::ReadGood)
            return false;
        cells.set(address, {c.g.ReplyBytes[0], c.g.ReplyBytes[1]});
        advanceBar(main);
    }
    return true;
}

// Runs a transfer's body with the commands held off. An unexpected failure is shown once
// in a box named after the procedure and ends the transfer; nothing is tried again.
template <typename Body> int16_t guarded(frmMain& main, const char* procedure, Body body)
{
    TransferGuard guard(main);
    try {
        return body();
    } catch (...) {
        Modal::messageBox(&main, TransferTexts::programError(procedure), false);
        return AlreadyReported;
    }
}

int16_t getAll(frmMain& main)
{
    CommContext c = main.app.comm();
    startBar(main, 1);
    if (!modCorvaneComm::SendAttention(c))
        return CommunicationFailed;
    advanceBar(main);
    CellSet cells;
    if (!readCells(main, c, loadReadOrder(), cells))
        return CommunicationFailed;

    // Every cell is in: only from here on does the editor change.
    modCorvaneComm::ClearHighlights(main);
    const LoadResult loaded = decodeAndValidate(cells);
    main.app.g.marks = loaded.marks;
    advanceBar(main);
    fillEditor(main, loaded.values);
    advanceBar(main);

    const MarkPlan plan = markPlan(loaded.marks, loaded.values.StartMode, loaded.values.EndMode);
    showLoadMarks(main, plan);
    const QString report = loadReportText(plan.red, plan.yellow);
    if (!report.isEmpty())
        Modal::messageBox(&main, report, true);
    return static_cast<int16_t>(plan.problemCount());
}

int16_t setAll(frmMain& main)
{
    const SavePlan plan = buildSavePlan(readEditor(main));
    if (!plan.ok()) {
        // Nothing has been sent; the user learns which field holds what.
        main.app.showProblem(plan.problemText);
        return AlreadyReported;
    }
    CommContext c = main.app.comm();
    modCorvaneComm::ClearHighlights(main);
    startBar(main, 2);
    if (!modCorvaneComm::SendAttention(c))
        return CommunicationFailed;
    advanceBar(main);

    // The compare takes the modes from the record.
    SyncParameters& rec = main.params;
    rec.StartMode = plan.StartMode;
    rec.EndMode = plan.EndMode;
    rec.OptionBits = plan.OptionBits;
    rec.Synchronize = plan.Synchronize;
    rec.Squelch = plan.Squelch;

    for (const CellWrite& w : plan.writes) {
        beforeCell(w.address);
        if (modCorvaneComm::WriteCell(c, w.address, w.bytes.d0, w.bytes.d1) != 1)
            return CommunicationFailed; // the cells not yet written keep their old values
        if (w.advancesBar)
            advanceBar(main);
    }
    return 0;
}

int16_t compareAll(frmMain& main)
{
    const EditorSnapshot expected = readEditor(main);
    CommContext c = main.app.comm();
    modCorvaneComm::ClearHighlights(main);
    startBar(main, 1);
    if (!modCorvaneComm::SendAttention(c))
        return CommunicationFailed;
    advanceBar(main);
    CellSet cells;
    if (!readCells(main, c, compareReadOrder(expected.ModelChannelUnlocked), cells))
        return CommunicationFailed;

    const int differences =
        countDifferences(expected, main.params.StartMode, main.params.EndMode, cells);
    // Model and channel that a load unlocked for correction have now been saved and read
    // back, whatever the count.
    relockIfMarked(main);
    return static_cast<int16_t>(std::min(differences, 32767));
}

} // namespace

int16_t GetAllFromCorvane(frmMain& main)
{
    return guarded(main, "GetAllFromCorvane", [&] { return getAll(main); });
}

int16_t SetAllToCorvane(frmMain& main)
{
    return guarded(main, "SetAllToCorvane", [&] { return setAll(main); });
}

int16_t CompareAllFromCorvane(frmMain& main)
{
    return guarded(main, "CompareAllFromCorvane", [&] { return compareAll(main); });
}

void setCellHook(std::function<void(uint8_t address)> hook)
{
    cellHook() = std::move(hook);
}

} // namespace modGetSetAll
