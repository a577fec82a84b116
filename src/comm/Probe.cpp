#include "comm/Probe.h"

#include "comm/AnnouncementMatcher.h"
#include "comm/EventWait.h"
#include "comm/FinderSteps.h"
#include "comm/PortMap.h"
#include "comm/ProgressView.h"
#include "comm/ResetWatch.h"
#include "comm/modCorvaneComm.h"
#include "model/CellAddress.h"

#include <algorithm>

namespace modCorvaneComm {

namespace {

// "30 seconds left: press RESET on the synchronizer now". A unit announces itself once,
// when RESET is pressed, and only what arrives after the probe has started counts.
QString resetHint(int ticksLeft, int tickMs)
{
    const int seconds = (ticksLeft * tickMs + 999) / 1000;
    return QStringLiteral("%1 second%2 left: press RESET on the synchronizer now")
        .arg(seconds)
        .arg(seconds == 1 ? QString() : QStringLiteral("s"));
}

// Waits in the probe's ticks until the announcement has been heard (true), the
// ticks have run out (false) or the token was cancelled. Each batch of received bytes goes
// to the matcher as a whole, in order.
Task<bool> listenForAnnouncement(CommContext c, ProgressView& p, ProbeCancel& cancel,
                                 int ticksAllowed)
{
    MSComm& m = c.MSComm1;
    CommTimer& t = c.tmrCommTimer;

    t.setEnabled(false);
    const int tickMs = c.timing.probeTickMs;
    t.setInterval(tickMs);
    t.setEnabled(true);

    // The progress window's Cancel cancels the token.
    const QMetaObject::Connection onCancel = QObject::connect(
        &p.cancelNotifier(), &CancelNotifier::cancelled, &cancel, [&cancel] { cancel.cancel(); });
    AnnouncementMatcher matcher;
    EventWait wait(t, [&] { return cancel.cancelled() || m.InBufferCount() > 0; });
    wait.wakeOn(&m, &MSComm::inputArrived).wakeOn(&cancel, &ProbeCancel::cancelRequested);
    int ticks = 0;
    bool found = false;
    p.setProgressHint(resetHint(ticksAllowed, tickMs));
    do {
        co_await wait;
        if (cancel.cancelled())
            break;
        if (!t.Enabled()) {
            ++ticks;
            p.setBar(ticks);
            p.setProgressHint(resetHint(ticksAllowed - ticks, tickMs));
            t.setEnabled(true);
        }
        const int n = m.InBufferCount();
        if (n > 0)
            found = matcher.feed(m.Input().left(n));
    } while (ticks < ticksAllowed && !found);
    QObject::disconnect(onCancel);
    t.setEnabled(false);
    p.setProgressHint(QString());
    co_return found;
}

// ProbeFound for a number from 1 to 99, doubtful for any other answer, unread when the
// cell did not answer; with the number read.
struct NumberCell
{
    int16_t result = ProbeCellsUnread;
    int16_t value = -1;
};

Task<NumberCell> readNumberCell(CommContext c, uint8_t address)
{
    const CellReply reply = co_await ReadCell(c, address);
    if (!reply.good())
        co_return NumberCell{};
    const int16_t value = DecodeReplyNumber(reply.bytes);
    co_return NumberCell{value >= 1 && value <= 99 ? ProbeFound : ProbeNumbersDoubtful, value};
}

} // namespace

Task<ProbeOutcome> ProbeForSynchronizer(CommContext c, ProgressView& p, ProbeCancel& cancel,
                                        int16_t port, int ticks, bool heardBefore)
{
    MSComm& m = c.MSComm1;
    if (ticks <= 0)
        ticks = c.timing.probeTicks;

    c.cmd.LastCommError.clear();
    m.setOutBufferCount(0);
    m.setInBufferCount(0);
    m.setRThreshold(0);

    const ProbeRunning running(cancel);
    WireLog* log = m.wireLog();
    bool found = heardBefore;
    if (heardBefore) {
        if (log)
            log->event(
                QStringLiteral("probe of COM%1: announcement heard before the probe").arg(port));
    } else {
        p.startProgress(QStringLiteral("Testing COM%1").arg(port),
                        QStringLiteral("Probing............."), ticks);
        if (log)
            log->event(QStringLiteral("probe of COM%1: listening %2 s for the reset announcement")
                           .arg(port)
                           .arg(ticks * c.timing.probeTickMs / 1000.0));
        found = co_await listenForAnnouncement(c, p, cancel, ticks);
        // A closed or vanished line only means nothing is heard; its errors are not reported.
        m.clearError();
        if (cancel.cancelled()) {
            if (log)
                log->event(QStringLiteral("probe of COM%1 cancelled").arg(port));
            co_return ProbeOutcome{ProbeCancelled};
        }
        p.hideProgress();
        if (log)
            log->event(found ? QStringLiteral("probe of COM%1: announcement heard").arg(port)
                             : QStringLiteral("probe of COM%1: nothing heard").arg(port));
    }

    ProbeOutcome outcome;
    if (found) {
        if (!co_await SendAttention(c))
            outcome.result = ProbeAttentionFailed;
        else {
            const NumberCell model = co_await readNumberCell(c, CellAddress::Model);
            outcome.result = model.result;
            outcome.model = model.value;
            if (model.result == ProbeFound) {
                const NumberCell channel = co_await readNumberCell(c, CellAddress::Channel);
                outcome.result = channel.result;
                outcome.channel = channel.value;
            }
        }
    }
    if (log && found)
        log->event(QStringLiteral("probe of COM%1 result %2").arg(port).arg(outcome.result));
    co_return outcome;
}

Task<std::optional<FoundUnit>> FindSynchronizer(CommContext c, ProgressView& progress,
                                                ProbeCancel& cancel, int16_t port,
                                                std::function<bool()> abandoned, int ticks)
{
    PortAccess& ports = c.ports;
    MSComm& m = c.MSComm1;
    // Each step told to whoever shows the finder's status; nobody may listen.
    FinderSteps none;
    FinderSteps& steps = c.steps ? *c.steps : none;

    steps.findStarted();
    cancel.rearm();
    std::optional<FoundUnit> unit;
    const int first = port == 0 ? 1 : port;
    const int last = port == 0 ? PortMap::MaxPort : port;
    for (int n = std::max(first, 1); n <= std::min(last, PortMap::MaxPort); ++n) {
        if (!ports.PortPresent[n])
            continue;
        if (abandoned && abandoned())
            break;
        steps.testingPort(static_cast<int16_t>(n));
        const bool heardBefore =
            c.resetWatch &&
            c.resetWatch->takeRecentAnnouncement(static_cast<int16_t>(n), c.timing.resetMemoryMs);
        m.closePort();
        if (const CommError e = co_await OpenSyncPort(c, static_cast<int16_t>(n)); e.number != 0) {
            steps.cannotOpen(static_cast<int16_t>(n), e.description);
            continue;
        }
        // The port stays open after a probe that heard nothing, until the next one opens.
        const ProbeOutcome probed = co_await ProbeForSynchronizer(
            c, progress, cancel, static_cast<int16_t>(n), ticks, heardBefore);
        const int16_t r = probed.result;
        if (r == ProbeCancelled)
            cancel.rearm(); // the next port gets its own probe
        if (r == ProbeFound || r == ProbeNumbersDoubtful) {
            unit = FoundUnit{static_cast<int16_t>(n), probed.model, probed.channel,
                             r == ProbeNumbersDoubtful};
            steps.unitFound(static_cast<int16_t>(n), r == ProbeNumbersDoubtful);
            break;
        }
    }

    if (!unit)
        steps.noUnitFound();
    steps.findFinished();
    co_return unit;
}

} // namespace modCorvaneComm
