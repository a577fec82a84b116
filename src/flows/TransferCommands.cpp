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
QString outcome(int16_t status, const QString& failure, const char* one, const char* many)
{
    if (status == modGetSetAll::CommunicationFailed)
        return QStringLiteral("communication failed: ") + failure;
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

// A communication failure's text, with the line's own reason on a line of its own when the
// line went away under the transfer (the server closed it, the device vanished); a unit
// that only stopped answering keeps the text alone.
QString communicationProblem(FlowHost& host, const QString& heading)
{
    const CommError lost = host.comm().MSComm1.lossError();
    return heading + TransferTexts::CommunicationErrors +
           (lost.number != 0 ? QStringLiteral("\r\n") + lost.description : QString());
}

Task<bool> portReady(FlowHost& host, QString heading)
{
    if (host.comm().MSComm1.PortOpen())
        co_return true;
    co_await host.showProblem(heading + TransferTexts::PortNotAvailable);
    co_return false;
}

} // namespace

Task<LoadOutcome> LoadWhileHeld(FlowHost& host)
{
    using namespace TransferTexts;
    host.progress().startProgress(LoadCaption, LoadingLine, BarMaxUntilSet);
    modGetSetAll::LoadRun run = co_await modGetSetAll::LoadAll(host);
    const int16_t status = run.status;
    host.wireLog().command(QStringLiteral("load ended: ") +
                           outcome(status, run.failure, "problem marked", "problems marked"));
    host.progress().hideProgress();
    if (status == modGetSetAll::CommunicationFailed)
        co_await host.showProblem(communicationProblem(host, CannotLoad));
    co_return LoadOutcome{outcomeOf(status, Outcome::Marked), std::move(run.findings), run.failure};
}

Task<LoadOutcome> LoadFromSynchronizer(FlowHost& host)
{
    using namespace TransferTexts;
    PortLeaseHold lease(host.lease(), QStringLiteral("load"));
    if (!lease.held())
        co_return LoadOutcome{};
    if (!co_await portReady(host, CannotLoad))
        co_return LoadOutcome{};
    TransferGuard guard(host);
    host.progress().startProgress(LoadCaption, LoadingLine, BarMaxUntilSet);
    CommContext c = host.comm();
    // The unit needs a moment after the previous exchange before it takes a whole load.
    co_await modCorvaneComm::Pause(c, c.timing.loadSettleMs);
    co_return co_await LoadWhileHeld(host);
}

Task<SaveOutcome> SaveToSynchronizer(FlowHost& host)
{
    using namespace TransferTexts;
    PortLeaseHold lease(host.lease(), QStringLiteral("save"));
    if (!lease.held())
        co_return SaveOutcome{};
    if (!co_await portReady(host, CannotSave))
        co_return SaveOutcome{};
    // A value the unit cannot hold stops the save before any window or byte.
    const SavePlan plan = buildSavePlan(host.editor().model().snapshot());
    if (!plan.ok()) {
        host.wireLog().command(QStringLiteral("save refused before the first byte"));
        co_await host.showProblem(plan.problemText);
        co_return SaveOutcome{Outcome::Refused, {}, {}, 0, int(plan.writes.size()), {}};
    }

    TransferGuard guard(host);
    ProgressView& p = host.progress();
    p.startProgress(SaveCaption, SavingLine, BarMaxUntilSet);
    const modGetSetAll::SetRun set = co_await modGetSetAll::SetAll(host, plan);
    const int16_t saved = set.status;
    host.wireLog().command(QStringLiteral("save ended: ") +
                           (saved == 0 ? QStringLiteral("%1 cells written").arg(plan.writes.size())
                                       : outcome(saved, set.failure, "", "")));
    p.hideProgress();
    if (saved == modGetSetAll::CommunicationFailed)
        co_await host.showProblem(communicationProblem(host, CannotSave));
    if (saved != 0) // an incomplete save is not compared
        co_return SaveOutcome{outcomeOf(saved, Outcome::LineFailed),
                              {},
                              {},
                              set.writesSent,
                              int(plan.writes.size()),
                              set.failure};

    p.startProgress(SaveCaption, ComparingLine, BarMaxUntilSet);
    modGetSetAll::CompareRun compared = co_await modGetSetAll::CompareAll(host);
    const int16_t differences = compared.status;
    host.wireLog().command(QStringLiteral("compare ended: ") +
                           outcome(differences, compared.failure, "difference", "differences"));
    p.hideProgress();
    if (differences == modGetSetAll::CommunicationFailed)
        co_await host.showProblem(communicationProblem(host, CannotCompare));
    else if (differences > 0)
        co_await host.showProblem(CompareFailed + NotSavedCorrectly);
    co_return SaveOutcome{outcomeOf(differences, Outcome::Differences),
                          std::move(compared.differences),
                          std::move(compared.readBack),
                          set.writesSent,
                          int(plan.writes.size()),
                          compared.failure};
}

} // namespace TransferCommands
