#include "simunit/UnitEngine.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <unistd.h>

namespace simsync {

namespace {

const QByteArray Announcement("ATS0=1\n\r");

QByteArray replyFor(Fault fault, uint8_t d0, uint8_t d1)
{
    const char good[] = {static_cast<char>(d0), static_cast<char>(d1), '\n', '\r'};
    switch (fault) {
    case Fault::None:
        return QByteArray(good, 4);
    case Fault::Silence:
        return {};
    case Fault::Short3:
        return QByteArray(good, 3);
    case Fault::Long5:
        return QByteArray(good, 4) + '\r';
    case Fault::WrongTerminator:
        return QByteArray(good, 2) + "\r\n";
    case Fault::Garbage:
        return QByteArray("\xA5Z\xFF\x01", 4);
    }
    return {};
}

} // namespace

double UnitEngine::msSinceStart(Clock::time_point t) const
{
    return std::chrono::duration<double, std::milli>(t - t0).count();
}

void UnitEngine::scheduleSend(const QByteArray& bytes, Duration extraDelay)
{
    const Clock::time_point now = Clock::now();
    Clock::time_point at = std::max(now, txLineFree_) + extraDelay;
    at += byteTime * bytes.size();
    txLineFree_ = at;
    schedule_.emplace(at, Action{Action::Send, bytes});
    ++pendingSends;
}

void UnitEngine::pressReset(int pieces, int pauseMs, const QByteArray& noise)
{
    if (lineClosed)
        return;
    if (!noise.isEmpty())
        scheduleSend(noise);
    pieces = std::clamp(pieces, 1, static_cast<int>(Announcement.size()));
    int from = 0;
    for (int i = 0; i < pieces; ++i) {
        const int to = static_cast<int>(Announcement.size()) * (i + 1) / pieces;
        const Duration pause = i == 0 ? Duration::zero() : std::chrono::milliseconds(pauseMs);
        scheduleSend(Announcement.mid(from, to - from), pause);
        from = to;
    }
}

void UnitEngine::closeLine()
{
    if (lineClosed)
        return;
    lineClosed = true;
    pendingSends = 0;
    schedule_.clear();
    parser_ = FrameParser();
    if (dropLine)
        dropLine();
}

void UnitEngine::reopenLine()
{
    lineClosed = false;
    rxLineFree_ = txLineFree_ = Clock::time_point{};
}

void UnitEngine::onFrame(ParsedFrame::Kind kind, const QByteArray& f, Clock::time_point at)
{
    log.append(WireEntry{msSinceStart(at), Direction::ToUnit, f});
    ++received;
    if (closeCountdown > 0 && --closeCountdown == 0) {
        closeLine();
        return;
    }
    const int index = static_cast<uint8_t>(f.size() > 1 ? f[1] : 0) - FirstCell;
    const bool known = index >= 0 && index < CellCount;
    if (kind == ParsedFrame::Read) {
        Fault fault = standing;
        if (!faults.empty()) {
            fault = faults.front();
            faults.pop_front();
        }
        const auto c = known ? cells[index] : std::array<uint8_t, 2>{'0', '0'};
        const QByteArray reply = replyFor(fault, c[0], c[1]);
        if (!reply.isEmpty())
            scheduleSend(reply);
    } else if (kind == ParsedFrame::Write && known && !frozenAll && !frozenCell[index]) {
        cells[index] = {static_cast<uint8_t>(f[2]), static_cast<uint8_t>(f[3])};
    }
}

void UnitEngine::onReceived(const char* bytes, long n)
{
    const Clock::time_point now = Clock::now();
    for (long i = 0; i < n; ++i) {
        Clock::time_point arrival = now;
        if (byteTime.count() > 0) {
            arrival = std::max(now, rxLineFree_) + byteTime;
            rxLineFree_ = arrival;
        }
        parser_.feed(bytes[i]);
        while (auto frame = parser_.next()) {
            const auto kind = frame->kind == ParsedFrame::Junk ? Action::Junk : Action::Receive;
            schedule_.emplace(arrival, Action{kind, frame->bytes, frame->kind});
        }
    }
}

void UnitEngine::runDue(Duration early)
{
    const Clock::time_point now = Clock::now() + early;
    while (!schedule_.empty() && schedule_.begin()->first <= now && !lineClosed) {
        auto node = schedule_.extract(schedule_.begin());
        const Action& a = node.mapped();
        switch (a.kind) {
        case Action::Receive:
            onFrame(a.frameKind, a.bytes, node.key());
            break;
        case Action::Junk:
            log.append(WireEntry{msSinceStart(node.key()), Direction::ToUnit, a.bytes});
            break;
        case Action::Send:
            if (writeLine)
                writeLine(a.bytes);
            log.append(WireEntry{msSinceStart(Clock::now()), Direction::FromUnit, a.bytes});
            --pendingSends;
            break;
        }
    }
}

std::optional<UnitEngine::Clock::time_point> UnitEngine::nextDue() const
{
    if (schedule_.empty() || lineClosed)
        return std::nullopt;
    return schedule_.begin()->first;
}

QStringList UnitEngine::frames(Direction dir) const
{
    QStringList names;
    for (const WireEntry& e : log)
        if (e.dir == dir)
            names << describeFrame(e.bytes, dir);
    return names;
}

} // namespace simsync
