#include "editor/EditorRules.h"

#include "model/FrameNumber.h"

#include <algorithm>

namespace EditorRules {

int endAfterStartChange(int start, int end, int endMax)
{
    if (end > start)
        return end;
    return start < endMax ? start + 1 : endMax;
}

int startAfterEndChange(int start, int end)
{
    return start >= end ? end - 1 : start;
}

namespace {
int startSecondsOf(const TimeSpinners& t)
{
    return t.startMinutes * 60 + t.startSeconds;
}
int endSecondsOf(const TimeSpinners& t)
{
    return t.endMinutes * 60 + t.endSeconds;
}
} // namespace

TimeSpinners afterStartTimeChange(TimeSpinners t)
{
    const int start = std::clamp(startSecondsOf(t), 0, Limits::StartTimeMax);
    if (endSecondsOf(t) <= start) {
        t.endMinutes = std::min((start + 1) / 60, Limits::MinutesMax);
        t.endSeconds = (start + 1) % 60;
    }
    t.startMinutes = start / 60;
    t.startSeconds = start % 60;
    return t;
}

TimeSpinners afterEndTimeChange(TimeSpinners t)
{
    const int end = std::clamp(endSecondsOf(t), Limits::EndTimeMin, Limits::EndTimeMax);
    if (startSecondsOf(t) >= end) {
        t.startMinutes = (end - 1) / 60;
        t.startSeconds = (end - 1) % 60;
    }
    t.endMinutes = end / 60;
    t.endSeconds = end % 60;
    return t;
}

namespace {
FrameResult settled(const QString& start, const QString& end)
{
    return {{start, end}, FrameNumber::leadingNumber(start), FrameNumber::leadingNumber(end)};
}
} // namespace

FrameResult afterStartFrameEdit(const FrameBoxes& boxes, PointMode endMode)
{
    int32_t n = FrameNumber::leadingNumber(boxes.start);
    if (n < Limits::StartFrameMin)
        n = 1;
    else if (n >= Limits::FrameMax && endMode == PointMode::Frame)
        n = Limits::FrameMax - 1;
    else if (n > Limits::FrameMax)
        n = Limits::FrameMax;
    QString end = boxes.end;
    if (n >= FrameNumber::leadingNumber(end))
        end = QString::number(n >= Limits::FrameMax ? Limits::FrameMax : n + 1);
    return settled(QString::number(n), end);
}

FrameResult afterEndFrameEdit(const FrameBoxes& boxes)
{
    const int32_t n =
        std::clamp(FrameNumber::leadingNumber(boxes.end), Limits::EndFrameMin, Limits::FrameMax);
    QString start = boxes.start;
    if (n <= FrameNumber::leadingNumber(start))
        start = QString::number(static_cast<qint64>(n) - 1);
    return settled(start, QString::number(n));
}

QString limitComment(const QString& text)
{
    return text.left(Limits::CommentMax);
}

int initStrTotal(const std::array<QString, 4>& strings)
{
    int total = 0;
    for (const QString& s : strings)
        total += static_cast<int>(s.size());
    return total;
}

bool initStrTotalExceeded(const std::array<QString, 4>& strings)
{
    return initStrTotal(strings) > Limits::InitStrTotalMax;
}

InitStrChange initStrChange(const std::array<QString, 4>& record, int index, const QString& boxText)
{
    std::array<QString, 4> next = record;
    next[index] = boxText;
    if (initStrTotalExceeded(next))
        return {boxText.left(boxText.size() - 1), true};
    return {boxText.left(Limits::InitStrMax), false};
}

} // namespace EditorRules
