#include "transfer/SaveChecks.h"

#include "transfer/WholeNumber.h"

#include <QStringList>

namespace {

QString timeText(int totalSeconds)
{
    return QStringLiteral("%1:%2")
        .arg(totalSeconds / 60)
        .arg(totalSeconds % 60, 2, 10, QLatin1Char('0'));
}

QString numberRange(int64_t lo, int64_t hi)
{
    return QStringLiteral("a whole number from %1 to %2").arg(lo).arg(hi);
}

class Checker
{
public:
    QVector<SaveProblem> problems;

    // The number in a box, or nothing (with a problem noted) when it is not a whole
    // number within lo to hi.
    std::optional<int64_t> number(const QString& field, const QString& text, int64_t lo, int64_t hi)
    {
        const std::optional<int64_t> n = parseWholeNumber(text);
        if (n && *n >= lo && *n <= hi)
            return n;
        const QString holds =
            text.isEmpty() ? QStringLiteral("nothing") : QStringLiteral("\"%1\"").arg(text);
        problems.append({field, holds, numberRange(lo, hi)});
        return std::nullopt;
    }

    // A spinner's value; the spinners keep these ranges, so this guards only the snapshot.
    bool spinner(const QString& field, int value, int lo, int hi)
    {
        if (value >= lo && value <= hi)
            return true;
        problems.append({field, QString::number(value), numberRange(lo, hi)});
        return false;
    }

    // Minutes and seconds of a time; the total in seconds, or nothing.
    std::optional<int> time(const QString& side, int minutes, int seconds, int lo, int hi)
    {
        const bool minutesOk =
            spinner(side + QStringLiteral(" Minute"), minutes, 0, Limits::MinutesMax);
        const bool secondsOk =
            spinner(side + QStringLiteral(" Second"), seconds, 0, Limits::SecondsMax);
        if (!minutesOk || !secondsOk)
            return std::nullopt;
        const int total = minutes * 60 + seconds;
        if (total >= lo && total <= hi)
            return total;
        problems.append({side + QStringLiteral(" Time"), timeText(total),
                         QStringLiteral("from %1 to %2").arg(timeText(lo), timeText(hi))});
        return std::nullopt;
    }

    void length(const QString& field, int length, int max)
    {
        if (length <= max)
            return;
        problems.append({field, QStringLiteral("%1 characters").arg(length),
                         QStringLiteral("at most %1 characters").arg(max)});
    }
};

} // namespace

QString SaveProblem::sentence() const
{
    return QStringLiteral("%1 holds %2; it must be %3.").arg(field, holds, range);
}

QVector<SaveProblem> checkSaveValues(const EditorSnapshot& e)
{
    using namespace Limits;
    Checker c;
    const bool startIsTime = e.StartMode == PointMode::Timecode;
    const bool endIsTime = e.EndMode == PointMode::Timecode;

    if (e.ModelChannelUnlocked) {
        c.number(QStringLiteral("Model"), e.txtModel, ModelMin, ModelMax);
        c.number(QStringLiteral("Channel"), e.txtChannel, ChannelMin, ChannelMax);
    }

    std::optional<int> startTime;
    std::optional<int64_t> startFrame;
    if (startIsTime) {
        startTime =
            c.time(QStringLiteral("Start"), e.scrStartMinutes, e.scrStartSeconds, 0, StartTimeMax);
    } else {
        const int32_t max = e.EndMode == PointMode::Frame ? FrameMax - 1 : FrameMax;
        startFrame = c.number(QStringLiteral("Start Frame"), e.txtStartFrame, StartFrameMin, max);
    }

    if (endIsTime) {
        // Both times: the end must follow the start, as a load would insist.
        const int lo = startIsTime && startTime ? *startTime + 1 : EndTimeMin;
        c.time(QStringLiteral("End"), e.scrEndMinutes, e.scrEndSeconds, lo, EndTimeMax);
    } else {
        // Both frame numbers: the end must follow the start, except that a start at the
        // last frame leaves the end there too.
        int64_t lo = EndFrameMin;
        if (!startIsTime && startFrame)
            lo = std::min<int64_t>(*startFrame + 1, FrameMax);
        c.number(QStringLiteral("End Frame"), e.txtEndFrame, lo, FrameMax);
    }

    c.number(QStringLiteral("Start Title"), e.txtStartTitle, StartTitleMin,
             e.EndMode == PointMode::Title ? TitleMax - 1 : TitleMax);
    c.number(QStringLiteral("End Title"), e.txtEndTitle, EndTitleMin, TitleMax);
    c.number(QStringLiteral("Start Chapter"), e.txtStartChapter, StartChapterMin,
             e.EndMode == PointMode::Chapter ? ChapterMax - 1 : ChapterMax);
    c.number(QStringLiteral("End Chapter"), e.txtEndChapter, EndChapterMin, ChapterMax);

    c.length(QStringLiteral("Comment"), e.txtComment.size(), CommentMax);
    int total = 0;
    for (int i = 0; i < 4; ++i) {
        c.length(QStringLiteral("Init String %1").arg(i + 1), e.txtInitStr[i].size(), InitStrMax);
        total += e.txtInitStr[i].size();
    }
    c.length(QStringLiteral("Init Strings (58 chars. total)"), total, InitStrTotalMax);
    return c.problems;
}

QString saveProblemText(const QVector<SaveProblem>& problems)
{
    QStringList lines;
    lines << QStringLiteral("Cannot Save! Some fields hold values that the synchronizer "
                            "cannot store:");
    for (const SaveProblem& p : problems)
        lines << p.sentence();
    lines << QStringLiteral("Nothing was sent to the synchronizer. Please correct these "
                            "fields and save again.");
    return lines.join(QStringLiteral("\r\n"));
}
