#include "transfer/MarkPlan.h"

namespace {

struct KeyShapes
{
    MarkKey key;
    const char* shape;
    const char* secondShape; // the seconds box of a time, else nullptr
};

// In the order a load marks them.
const KeyShapes Keys[] = {
    {MarkKey::Model, "shpHiLiteModel", nullptr},
    {MarkKey::Channel, "shpHiLiteChannel", nullptr},
    {MarkKey::StartTitle, "shpHiLiteStartTitle", nullptr},
    {MarkKey::EndTitle, "shpHiLiteEndTitle", nullptr},
    {MarkKey::StartChapter, "shpHiLiteStartChapter", nullptr},
    {MarkKey::EndChapter, "shpHiLiteEndChapter", nullptr},
    {MarkKey::StartFrame, "shpHiLiteStartFrame", nullptr},
    {MarkKey::EndFrame, "shpHiLiteEndFrame", nullptr},
    {MarkKey::StartTime, "shpHiLiteStartMinutes", "shpHiLiteStartSeconds"},
    {MarkKey::EndTime, "shpHiLiteEndMinutes", "shpHiLiteEndSeconds"},
};

} // namespace

bool markKeyInUse(MarkKey key, PointMode start, PointMode end)
{
    switch (key) {
    case MarkKey::Model:
    case MarkKey::Channel:
    case MarkKey::StartTitle:
        return true;
    case MarkKey::EndTitle:
        return end == PointMode::Title;
    case MarkKey::StartChapter:
        return start == PointMode::Chapter;
    case MarkKey::EndChapter:
        return end == PointMode::Chapter;
    case MarkKey::StartFrame:
        return start == PointMode::Frame;
    case MarkKey::EndFrame:
        return end == PointMode::Frame;
    case MarkKey::StartTime:
        return start == PointMode::Timecode;
    case MarkKey::EndTime:
        return end == PointMode::Timecode;
    }
    return false;
}

MarkPlan markPlan(const ReadMarks& marks, PointMode startMode, PointMode endMode)
{
    MarkPlan plan;
    for (const KeyShapes& k : Keys) {
        const Mark& mark = marks[k.key];
        const bool used = markKeyInUse(k.key, startMode, endMode);
        MarkColour colour;
        if (mark.Unreadable) {
            ++plan.red;
            colour = MarkColour::Red;
        } else if (mark.OutOfRange && used) {
            ++plan.yellow;
            colour = MarkColour::Yellow;
        } else {
            continue;
        }
        if (!used)
            continue;
        plan.shapes.append({QString::fromLatin1(k.shape), colour});
        if (k.secondShape)
            plan.shapes.append({QString::fromLatin1(k.secondShape), colour});
    }
    const Mark& model = marks[MarkKey::Model];
    const Mark& channel = marks[MarkKey::Channel];
    plan.modelChannelFlagged =
        model.Unreadable || model.OutOfRange || channel.Unreadable || channel.OutOfRange;
    return plan;
}
