// The three frames of the exchange with a synchronizer and the waits around them.

#include "comm/EventWait.h"
#include "comm/WireLog.h"
#include "comm/modCorvaneComm.h"

namespace modCorvaneComm {

namespace {

const QByteArray AttentionFrame("OK\n\r");

void logEvent(CommContext& c, const QString& text)
{
    if (WireLog* log = c.MSComm1.wireLog())
        log->event(text);
}

QString hexAddress(uint8_t address)
{
    return QStringLiteral("%1").arg(address, 2, 16, QLatin1Char('0')).toUpper();
}

enum class Drain
{
    Done,
    TimedOut,
    Failed
};

// Waits with limit `ms` on the line's timer, looking again whenever the port reports
// progress; true when the condition held in time.
Task<bool> waitOnPort(CommContext c, int ms, std::function<bool()> condition)
{
    CommTimer& t = c.tmrCommTimer;
    t.setInterval(ms);
    t.setEnabled(true);
    EventWait wait(t, std::move(condition));
    wait.wakeOn(&c.MSComm1, &MSComm::inputArrived)
        .wakeOn(&c.MSComm1, &MSComm::outputProgress)
        .wakeOn(&c.MSComm1, &MSComm::lineLost);
    const bool met = co_await wait;
    t.setEnabled(false);
    co_return met;
}

// Waits until every queued byte is on the line. A port that closes meanwhile (the line
// vanished) ends the wait at once as a failure.
Task<Drain> waitOutputDrained(CommContext c, int ms)
{
    MSComm& m = c.MSComm1;
    const bool met =
        co_await waitOnPort(c, ms, [&m] { return !m.PortOpen() || m.OutBufferCount() == 0; });
    if (m.hasError() || !m.PortOpen())
        co_return Drain::Failed;
    co_return met ? Drain::Done : Drain::TimedOut;
}

// The serial control's pending error, taken; empty when there was none.
QString takeCommError(CommContext& c)
{
    if (!c.MSComm1.hasError())
        return {};
    return c.MSComm1.lastError().description;
}

void discardBoth(MSComm& m)
{
    m.setOutBufferCount(0);
    m.setInBufferCount(0);
}

enum class Send
{
    Sent,
    NotQueued, // refused at once: nothing went out
    Failed     // queued, but did not drain
};

struct SendResult
{
    Send status = Send::Failed;
    QString failure;
};

// Queues a frame and waits for it to leave; the failure says why when it did not.
Task<SendResult> sendFrame(CommContext c, QByteArray frame, int limitMs)
{
    c.MSComm1.setOutput(frame);
    if (QString refused = takeCommError(c); !refused.isEmpty()) {
        logEvent(c, QStringLiteral("not sent: %1").arg(refused));
        co_return SendResult{Send::NotQueued, refused};
    }
    switch (co_await waitOutputDrained(c, limitMs)) {
    case Drain::Done:
        co_return SendResult{Send::Sent, {}};
    case Drain::TimedOut:
        logEvent(c, QStringLiteral("output did not drain within %1 ms: %2")
                        .arg(limitMs)
                        .arg(TransmitTimedOutText));
        co_return SendResult{Send::Failed, TransmitTimedOutText};
    case Drain::Failed:
        break;
    }
    QString failure = takeCommError(c);
    if (failure.isEmpty())
        failure = QStringLiteral("Serial port closed");
    logEvent(c, QStringLiteral("sending failed: %1").arg(failure));
    co_return SendResult{Send::Failed, failure};
}

// Keeps the reply as the record of the last exchange, and returns it.
CellReply recorded(CommContext& c, CellReply reply)
{
    c.cmd.LastCommError = reply.failure;
    c.cmd.ReplyBytes = reply.bytes;
    return reply;
}

FrameReply recorded(CommContext& c, FrameReply reply)
{
    c.cmd.LastCommError = reply.failure;
    return reply;
}

} // namespace

Task<> Pause(CommContext c, int ms)
{
    CommTimer& t = c.tmrCommTimer;
    t.setInterval(ms);
    t.setEnabled(true);
    EventWait pause(t);
    co_await pause;
    t.setEnabled(false);
}

Task<FrameReply> SendAttention(CommContext c)
{
    MSComm& m = c.MSComm1;
    c.cmd.LastCommError.clear();
    m.clearError();
    discardBoth(m);
    m.setSThreshold(0);
    const SendResult first = co_await sendFrame(c, AttentionFrame, c.timing.attentionSendMs);
    if (first.status != Send::Sent)
        co_return recorded(c, FrameReply{false, first.status != Send::NotQueued, first.failure});
    co_await Pause(c, c.timing.attentionGapMs);
    const SendResult second = co_await sendFrame(c, AttentionFrame, c.timing.attentionSendMs);
    co_return recorded(c, FrameReply{second.status == Send::Sent, second.status != Send::NotQueued,
                                     second.failure});
}

namespace {

// One request and its reply.
Task<CellReply> readAttempt(CommContext c, uint8_t address)
{
    MSComm& m = c.MSComm1;
    c.cmd.LastCommError.clear();
    c.cmd.ReplyBytes = {0, 0};
    m.clearError();
    discardBoth(m);
    m.setRThreshold(0);
    m.setSThreshold(0);

    CellReply reply;
    const char request[] = {'R', static_cast<char>(address), '\r'};
    const SendResult sent = co_await sendFrame(c, QByteArray(request, 3), c.timing.frameSendMs);
    if (sent.status != Send::Sent) {
        reply.status = ReadNotSent;
        reply.failure = sent.failure;
        co_return reply;
    }

    const bool arrived = co_await waitOnPort(
        c, c.timing.replyMs, [&m] { return !m.PortOpen() || m.InBufferCount() >= 4; });
    if (!m.PortOpen()) {
        // The line vanished while the reply was awaited: no reply, and why.
        reply.status = ReadTimedOut;
        reply.failure = takeCommError(c);
        if (reply.failure.isEmpty())
            reply.failure = QStringLiteral("Serial port closed");
        co_return reply;
    }
    if (!arrived) {
        // What did arrive stays in the input buffer; the next attempt discards it.
        reply.status = ReadTimedOut;
        reply.failure = ReplyTimedOutText;
        logEvent(c, QStringLiteral("no full reply to R %1 within %2 ms (%3 bytes): %4")
                        .arg(hexAddress(address))
                        .arg(c.timing.replyMs)
                        .arg(m.InBufferCount())
                        .arg(reply.failure));
        co_return reply;
    }

    const int n = m.InBufferCount();
    const QByteArray b = m.Input();
    if (b.size() >= 2)
        reply.bytes = {static_cast<uint8_t>(b[0]), static_cast<uint8_t>(b[1])};
    if (n == 4 && b.size() == 4 && b[2] == '\n' && b[3] == '\r') {
        reply.status = ReadGood;
        co_return reply;
    }
    reply.status = ReadGarbled;
    reply.failure = ReplyGarbledText;
    logEvent(c, QStringLiteral("reply to R %1: %2").arg(hexAddress(address)).arg(reply.failure));
    co_return reply;
}

} // namespace

Task<CellReply> ReadCell(CommContext c, uint8_t address)
{
    constexpr int Attempts = 3;
    CellReply reply;
    for (int attempt = 1; attempt <= Attempts; ++attempt) {
        reply = recorded(c, co_await readAttempt(c, address));
        if (reply.good() || attempt == Attempts)
            break;
        // A port that has closed cannot recover; the pauses would only delay the news.
        if (!c.MSComm1.PortOpen()) {
            logEvent(c, QStringLiteral("R %1 not tried again: the port is closed (%2)")
                            .arg(hexAddress(address))
                            .arg(reply.failure));
            break;
        }
        logEvent(c, QStringLiteral("retry %1 of %2 for R %3 after: %4")
                        .arg(attempt + 1)
                        .arg(Attempts)
                        .arg(hexAddress(address))
                        .arg(reply.failure));
        if (c.retried)
            c.retried(address, attempt + 1);
        co_await Pause(c, c.timing.attentionGapMs);
        const FrameReply attention = co_await SendAttention(c);
        if (!attention) {
            // This attempt's status stays; the failure says why attention failed.
            reply.failure = attention.failure;
            break;
        }
        co_await Pause(c, c.timing.attentionGapMs);
    }
    c.tmrCommTimer.setEnabled(false);
    if (!reply.good())
        logEvent(c, QStringLiteral("R %1 failed: %2").arg(hexAddress(address)).arg(reply.failure));
    co_return recorded(c, reply);
}

Task<FrameReply> WriteCell(CommContext c, uint8_t address, uint8_t d0, uint8_t d1)
{
    MSComm& m = c.MSComm1;
    c.cmd.LastCommError.clear();
    m.clearError();
    discardBoth(m);
    m.setSThreshold(0);

    const char frame[] = {'W', static_cast<char>(address), static_cast<char>(d0),
                          static_cast<char>(d1), '\r'};
    const SendResult sent = co_await sendFrame(c, QByteArray(frame, 5), c.timing.frameSendMs);
    if (sent.status == Send::NotQueued)
        co_return recorded(c, FrameReply{false, false, sent.failure}); // nothing went out: no pause
    // The unit needs the time to store the cell, whether or not the frame drained.
    co_await Pause(c, c.timing.afterWriteMs);
    if (sent.status != Send::Sent)
        logEvent(c, QStringLiteral("W %1 failed: %2").arg(hexAddress(address)).arg(sent.failure));
    co_return recorded(c, FrameReply{sent.status == Send::Sent, true, sent.failure});
}

} // namespace modCorvaneComm
