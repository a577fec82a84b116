#include "comm/Probe.h"

#include "comm/AnnouncementMatcher.h"
#include "comm/EventWait.h"
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
// ticks have run out (false) or Cancel was pressed (ProbeRunning turned false). Each batch of
// received bytes goes to the matcher as a whole, in order.
Task<bool> listenForAnnouncement(CommContext c, ProgressView& p, int ticksAllowed)
{
    MSComm& m = c.MSComm1;
    CommTimer& t = c.tmrCommTimer;
    PortAccess& ports = c.ports;

    t.setEnabled(false);
    const int tickMs = c.timing.probeTickMs;
    t.setInterval(tickMs);
    t.setEnabled(true);

    // Cancel reaches the probe by its signal alone.
    bool cancelled = false;
    const QMetaObject::Connection onCancel = QObject::connect(
        &p.cancelNotifier(), &CancelNotifier::cancelled, [&cancelled] { cancelled = true; });
    AnnouncementMatcher matcher;
    EventWait wait(t, [&] { return cancelled || m.InBufferCount() > 0; });
    wait.wakeOn(&m, &MSComm::inputArrived).wakeOn(&p.cancelNotifier(), &CancelNotifier::cancelled);
    int ticks = 0;
    bool found = false;
    p.setProgressHint(resetHint(ticksAllowed, tickMs));
    do {
        co_await wait;
        if (cancelled) {
            ports.ProbeRunning = false;
            break;
        }
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

Task<ProbeOutcome> ProbeForSynchronizer(CommContext c, ProgressView& p, int16_t port, int ticks,
                                        bool heardBefore)
{
    PortAccess& ports = c.ports;
    MSComm& m = c.MSComm1;
    if (ticks <= 0)
        ticks = c.timing.probeTicks;

    c.cmd.LastCommError.clear();
    m.setOutBufferCount(0);
    m.setInBufferCount(0);
    m.setRThreshold(0);

    ports.ProbeRunning = true;
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
        found = co_await listenForAnnouncement(c, p, ticks);
        // A closed or vanished line only means nothing is heard; its errors are not reported.
        m.clearError();
        if (!ports.ProbeRunning) {
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
    ports.ProbeRunning = false;
    if (log && found)
        log->event(QStringLiteral("probe of COM%1 result %2").arg(port).arg(outcome.result));
    co_return outcome;
}

Task<std::optional<FoundUnit>> FindSynchronizer(CommContext c, ProgressView& progress,
                                                int16_t port, std::function<bool()> abandoned,
                                                int ticks)
{
    PortAccess& ports = c.ports;
    MSComm& m = c.MSComm1;

    AppendFinderStatus(ports, QStringLiteral("Looking for a Syncronizer"));
    AppendFinderStatus(
        ports, QStringLiteral(" !!! DON'T FORGET TO HIT RESET on your synchronizer !!! --"));
    ports.SyncPort = 0;
    std::optional<FoundUnit> unit;
    const int first = port == 0 ? 1 : port;
    const int last = port == 0 ? PortMap::MaxPort : port;
    for (int n = std::max(first, 1); n <= std::min(last, PortMap::MaxPort); ++n) {
        if (!ports.PortPresent[n])
            continue;
        if (abandoned && abandoned())
            break;
        AppendFinderStatus(ports, QString());
        AppendFinderStatus(ports, QStringLiteral("Testing COM%1").arg(n));
        const bool heardBefore =
            c.resetWatch &&
            c.resetWatch->takeRecentAnnouncement(static_cast<int16_t>(n), c.timing.resetMemoryMs);
        if (m.PortOpen())
            m.setPortOpen(false);
        if (!OpenSyncPort(c, static_cast<int16_t>(n))) {
            AppendFinderStatus(
                ports, QStringLiteral("Unable to Open COM%1 (%2)").arg(n).arg(c.cmd.LastCommError));
            continue;
        }
        // The port stays open after a probe that heard nothing, until the next one opens.
        const ProbeOutcome probed =
            co_await ProbeForSynchronizer(c, progress, static_cast<int16_t>(n), ticks, heardBefore);
        const int16_t r = probed.result;
        if (r == ProbeFound || r == ProbeNumbersDoubtful) {
            ports.SyncPort = static_cast<int16_t>(n);
            unit = FoundUnit{static_cast<int16_t>(n), probed.model, probed.channel,
                             r == ProbeNumbersDoubtful};
            AppendFinderStatus(ports, QString());
            AppendFinderStatus(ports, QStringLiteral("  --- Found synchronizer on COM%1").arg(n));
            if (r == ProbeNumbersDoubtful)
                AppendFinderStatus(
                    ports, QStringLiteral("  --- model and/or channel number may be incorrect"));
            break;
        }
    }

    if (!unit) {
        AppendFinderStatus(ports, QString());
        AppendFinderStatus(ports, QStringLiteral(" !! NO Synchronizer was Found !!"));
    }
    AppendFinderStatus(ports, QString());
    AppendFinderStatus(ports, QStringLiteral(" === Finished Testing ==="));
    AppendFinderStatus(ports, QString());
    co_return unit;
}

} // namespace modCorvaneComm
