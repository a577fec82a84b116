#include "flows/TransferCommands.h"

#include "comm/modCorvaneComm.h"
#include "flows/EditorView.h"
#include "flows/FlowHost.h"
#include "flows/TransferGuard.h"
#include "flows/TransferTexts.h"
#include "flows/modGetSetAll.h"
#include "transfer/SavePlan.h"

namespace TransferCommands {

namespace {

// Every transfer sets its own bar maximum as it starts.
constexpr int BarMaxUntilSet = 100;

// How a transfer ended, for the wire log: the count it returned ("1 problem marked",
// "2 problems marked"), or why it failed.
QString outcome(FlowHost& host, int16_t status, const char* one, const char* many)
{
    if (status == modGetSetAll::CommunicationFailed)
        return QStringLiteral("communication failed: ") + host.comm().cmd.LastCommError;
    if (status == modGetSetAll::AlreadyReported)
        return QStringLiteral("stopped, reported in a box");
    return QStringLiteral("%1 %2").arg(status).arg(QLatin1String(status == 1 ? one : many));
}

// The outcome of a transfer's status: a count above zero is `counted`.
Outcome outcomeOf(int16_t status, Outcome counted)
{
    if (status == modGetSetAll::CommunicationFailed)
        return Outcome::LineFailed;
    if (status == modGetSetAll::AlreadyReported)
        return Outcome::ProgramError;
    return status > 0 ? counted : Outcome::Done;
}

bool portReady(FlowHost& host, const QString& heading)
{
    if (host.comm().MSComm1.PortOpen())
        return true;
    host.showProblem(heading + TransferTexts::PortNotAvailable);
    return false;
}

} // namespace

LoadOutcome LoadWhileHeld(FlowHost& host)
{
    using namespace TransferTexts;
    host.progress().startProgress(LoadCaption, LoadingLine, BarMaxUntilSet);
    modGetSetAll::LoadRun run = modGetSetAll::LoadAll(host);
    const int16_t status = run.status;
    host.wireLog().command(QStringLiteral("load ended: ") +
                           outcome(host, status, "problem marked", "problems marked"));
    host.progress().hideProgress();
    if (status == modGetSetAll::CommunicationFailed)
        host.showProblem(CannotLoad + CommunicationErrors);
    return {outcomeOf(status, Outcome::Marked), std::move(run.findings)};
}

LoadOutcome LoadFromSynchronizer(FlowHost& host)
{
    using namespace TransferTexts;
    PortLeaseHold lease(host.lease(), QStringLiteral("load"));
    if (!lease.held() || !portReady(host, CannotLoad))
        return {};
    TransferGuard guard(host);
    host.progress().startProgress(LoadCaption, LoadingLine, BarMaxUntilSet);
    CommContext c = host.comm();
    // The unit needs a moment after the previous exchange before it takes a whole load.
    modCorvaneComm::Pause(c, c.timing.loadSettleMs);
    return LoadWhileHeld(host);
}

SaveOutcome SaveToSynchronizer(FlowHost& host)
{
    using namespace TransferTexts;
    PortLeaseHold lease(host.lease(), QStringLiteral("save"));
    if (!lease.held() || !portReady(host, CannotSave))
        return {};
    // A value the unit cannot hold stops the save before any window or byte.
    const SavePlan plan = buildSavePlan(host.editor().model().snapshot());
    if (!plan.ok()) {
        host.wireLog().command(QStringLiteral("save refused before the first byte"));
        host.showProblem(plan.problemText);
        return {Outcome::Refused, {}, {}};
    }

    TransferGuard guard(host);
    ProgressView& p = host.progress();
    p.startProgress(SaveCaption, SavingLine, BarMaxUntilSet);
    const int16_t saved = modGetSetAll::SetAllToCorvane(host, plan);
    host.wireLog().command(QStringLiteral("save ended: ") +
                           (saved == 0 ? QStringLiteral("%1 cells written").arg(plan.writes.size())
                                       : outcome(host, saved, "", "")));
    p.hideProgress();
    if (saved == modGetSetAll::CommunicationFailed)
        host.showProblem(CannotSave + CommunicationErrors);
    if (saved != 0)
        return {
            outcomeOf(saved, Outcome::LineFailed), {}, {}}; // an incomplete save is not compared

    p.startProgress(SaveCaption, ComparingLine, BarMaxUntilSet);
    modGetSetAll::CompareRun compared = modGetSetAll::CompareAll(host);
    const int16_t differences = compared.status;
    host.wireLog().command(QStringLiteral("compare ended: ") +
                           outcome(host, differences, "difference", "differences"));
    p.hideProgress();
    if (differences == modGetSetAll::CommunicationFailed)
        host.showProblem(CannotCompare + CommunicationErrors);
    else if (differences > 0)
        host.showProblem(CompareFailed + NotSavedCorrectly);
    return {outcomeOf(differences, Outcome::Differences), std::move(compared.differences),
            std::move(compared.readBack)};
}

} // namespace TransferCommands
