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

// Runs a wait with limit `ms` on the timer, waking whenever the port reports progress.
bool waitOnPort(CommContext& c, int ms, const std::function<bool()>& condition)
{
    CommTimer& t = c.tmrCommTimer;
    t.setInterval(ms);
    t.setEnabled(true);
    EventWait wait;
    wait.wakeOn(&c.MSComm1, &MSComm::inputArrived)
        .wakeOn(&c.MSComm1, &MSComm::outputProgress)
        .wakeOn(&c.MSComm1, &MSComm::lineLost);
    const bool met = wait.until(t, condition);
    t.setEnabled(false);
    return met;
}

// Waits until every queued byte is on the line. A port that closes meanwhile (the line
// vanished) ends the wait at once as a failure.
Drain waitOutputDrained(CommContext& c, int ms)
{
    MSComm& m = c.MSComm1;
    const bool met = waitOnPort(c, ms, [&m] { return !m.PortOpen() || m.OutBufferCount() == 0; });
    if (m.hasError() || !m.PortOpen())
        return Drain::Failed;
    return met ? Drain::Done : Drain::TimedOut;
}

// Takes the serial control's pending error into LastCommError; true when there was one.
bool takeCommError(CommContext& c)
{
    if (!c.MSComm1.hasError())
        return false;
    c.cmd.LastCommError = c.MSComm1.lastError().description;
    return true;
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

// Queues a frame and waits for it to leave; LastCommError says why when it did not.
Send sendFrameStatus(CommContext& c, const QByteArray& frame, int limitMs)
{
    c.MSComm1.setOutput(frame);
    if (takeCommError(c)) {
        logEvent(c, QStringLiteral("not sent: %1").arg(c.cmd.LastCommError));
        return Send::NotQueued;
    }
    switch (waitOutputDrained(c, limitMs)) {
    case Drain::Done:
        return Send::Sent;
    case Drain::TimedOut:
        c.cmd.LastCommError = TransmitTimedOutText;
        logEvent(c, QStringLiteral("output did not drain within %1 ms: %2")
                        .arg(limitMs)
                        .arg(c.cmd.LastCommError));
        return Send::Failed;
    case Drain::Failed:
        if (!takeCommError(c))
            c.cmd.LastCommError = QStringLiteral("Serial port closed");
        logEvent(c, QStringLiteral("sending failed: %1").arg(c.cmd.LastCommError));
        return Send::Failed;
    }
    return Send::Failed;
}

bool sendFrame(CommContext& c, const QByteArray& frame, int limitMs)
{
    return sendFrameStatus(c, frame, limitMs) == Send::Sent;
}

} // namespace

void Pause(CommContext& c, int ms)
{
    CommTimer& t = c.tmrCommTimer;
    t.setInterval(ms);
    t.setEnabled(true);
    EventWait::pause(t);
    t.setEnabled(false);
}

bool SendAttention(CommContext& c)
{
    MSComm& m = c.MSComm1;
    c.cmd.LastCommError.clear();
    m.clearError();
    discardBoth(m);
    m.setSThreshold(0);
    if (!sendFrame(c, AttentionFrame, c.timing.attentionSendMs))
        return false;
    Pause(c, c.timing.attentionGapMs);
    return sendFrame(c, AttentionFrame, c.timing.attentionSendMs);
}

namespace {

// One request and its reply; the status of this attempt.
int16_t readAttempt(CommContext& c, uint8_t address)
{
    MSComm& m = c.MSComm1;
    CommandState& state = c.cmd;
    state.LastCommError.clear();
    state.ReplyBytes = {0, 0};
    m.clearError();
    discardBoth(m);
    m.setRThreshold(0);
    m.setSThreshold(0);

    const char request[] = {'R', static_cast<char>(address), '\r'};
    if (!sendFrame(c, QByteArray(request, 3), c.timing.frameSendMs))
        return ReadNotSent;

    const bool arrived =
        waitOnPort(c, c.timing.replyMs, [&m] { return !m.PortOpen() || m.InBufferCount() >= 4; });
    if (!m.PortOpen()) {
        // The line vanished while the reply was awaited: no reply, and why.
        if (!takeCommError(c))
            state.LastCommError = QStringLiteral("Serial port closed");
        return ReadTimedOut;
    }
    if (!arrived) {
        // What did arrive stays in the input buffer; the next attempt discards it.
        state.LastCommError = ReplyTimedOutText;
        logEvent(c, QStringLiteral("no full reply to R %1 within %2 ms (%3 bytes): %4")
                        .arg(hexAddress(address))
                        .arg(c.timing.replyMs)
                        .arg(m.InBufferCount())
                        .arg(state.LastCommError));
        return ReadTimedOut;
    }

    const int n = m.InBufferCount();
    const QByteArray b = m.Input();
    if (b.size() >= 2)
        state.ReplyBytes = {static_cast<uint8_t>(b[0]), static_cast<uint8_t>(b[1])};
    if (n == 4 && b.size() == 4 && b[2] == '\n' && b[3] == '\r')
        return ReadGood;
    state.LastCommError = ReplyGarbledText;
    logEvent(c,
             QStringLiteral("reply to R %1: %2").arg(hexAddress(address)).arg(state.LastCommError));
    return ReadGarbled;
}

} // namespace

int16_t ReadCell(CommContext& c, uint8_t address)
{
    constexpr int Attempts = 3;
    int16_t status = ReadTimedOut;
    for (int attempt = 1; attempt <= Attempts; ++attempt) {
        status = readAttempt(c, address);
        if (status == ReadGood || attempt == Attempts)
            break;
        // A port that has closed cannot recover; the pauses would only delay the news.
        if (!c.MSComm1.PortOpen()) {
            logEvent(c, QStringLiteral("R %1 not tried again: the port is closed (%2)")
                            .arg(hexAddress(address))
                            .arg(c.cmd.LastCommError));
            break;
        }
        logEvent(c, QStringLiteral("retry %1 of %2 for R %3 after: %4")
                        .arg(attempt + 1)
                        .arg(Attempts)
                        .arg(hexAddress(address))
                        .arg(c.cmd.LastCommError));
        Pause(c, c.timing.attentionGapMs);
        if (!SendAttention(c))
            break; // keeps this attempt's status; LastCommError says why attention failed
        Pause(c, c.timing.attentionGapMs);
    }
    c.tmrCommTimer.setEnabled(false);
    if (status != ReadGood)
        logEvent(
            c, QStringLiteral("R %1 failed: %2").arg(hexAddress(address)).arg(c.cmd.LastCommError));
    return status;
}

int16_t WriteCell(CommContext& c, uint8_t address, uint8_t d0, uint8_t d1)
{
    MSComm& m = c.MSComm1;
    c.cmd.LastCommError.clear();
    m.clearError();
    discardBoth(m);
    m.setSThreshold(0);

    const char frame[] = {'W', static_cast<char>(address), static_cast<char>(d0),
                          static_cast<char>(d1), '\r'};
    const Send sent = sendFrameStatus(c, QByteArray(frame, 5), c.timing.frameSendMs);
    if (sent == Send::NotQueued)
        return 0; // nothing went out: no pause
    // The unit needs the time to store the cell, whether or not the frame drained.
    Pause(c, c.timing.afterWriteMs);
    if (sent != Send::Sent)
        logEvent(
            c, QStringLiteral("W %1 failed: %2").arg(hexAddress(address)).arg(c.cmd.LastCommError));
    return sent == Send::Sent ? 1 : 0;
}

CellReply ReadCellReply(CommContext& c, uint8_t address)
{
    CellReply reply;
    reply.status = ReadCell(c, address);
    if (reply.good())
        reply.bytes = c.cmd.ReplyBytes;
    else
        reply.failure = c.cmd.LastCommError;
    return reply;
}

} // namespace modCorvaneComm
