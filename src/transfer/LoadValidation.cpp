#include "transfer/LoadValidation.h"

#include "transfer/CellMap.h"
#include "transfer/TextImages.h"

namespace {

CellDecode::PointReading readPoint(const CellSet& cells, uint8_t first)
{
    std::array<CellBytes, 4> pointCells;
    for (int i = 0; i < CellAddress::PointCells; ++i)
        pointCells[i] = cells.get(static_cast<uint8_t>(first + i));
    return CellDecode::point(pointCells);
}

// The first two columns of a check: a default for an unreadable value, the nearer bound
// for one out of range.
int32_t checked(int32_t value, int32_t whenUnreadable, int32_t lo, int32_t hi, Mark& mark)
{
    if (value < 0) {
        mark.Unreadable = true;
        return whenUnreadable;
    }
    if (value < lo || value > hi) {
        mark.OutOfRange = true;
        return value < lo ? lo : hi;
    }
    return value;
}

// Lowers a start value that leaves no room for the end value above it.
int32_t keepRoomBelow(int32_t value, bool endUsesSameField, int32_t max, Mark& mark)
{
    if (endUsesSameField && value == max) {
        mark.OutOfRange = true;
        return max - 1;
    }
    return value;
}

int32_t timeTotal(const CellDecode::PointReading& p)
{
    return p.readable() ? p.minutes * 60 + p.seconds : -1;
}

} // namespace

CellReading readCells(const CellSet& cells)
{
    using namespace CellAddress;
    CellReading r;
    r.Model = CellDecode::number(cells.get(Model));
    r.Channel = CellDecode::number(cells.get(Channel));
    r.StartMode = static_cast<PointMode>(CellDecode::startModeCode(cells.get(Mode)));
    r.EndMode = static_cast<PointMode>(CellDecode::endModeCode(cells.get(Mode)));
    r.StartPoint = readPoint(cells, StartPoint);
    r.EndPoint = readPoint(cells, EndPoint);
    r.StartTitle = CellDecode::number(cells.get(StartTitle));
    r.EndTitle = CellDecode::number(cells.get(EndTitle));
    r.StartChapter = CellDecode::number(cells.get(StartChapter));
    r.EndChapter = CellDecode::number(cells.get(EndChapter));
    r.OptionBits = cells.get(Option).d1 & (Limits::SynchronizeBit | Limits::SquelchBit);
    r.Comment = walkComment(commentImageFromCells(cells));
    r.InitStr = walkInitStrings(initImageFromCells(cells));
    return r;
}

LoadResult validateReading(const CellReading& r)
{
    using namespace Limits;
    LoadResult out;
    SyncParameters& v = out.values;
    ReadMarks& m = out.marks;

    v.StartMode = r.StartMode;
    v.EndMode = r.EndMode;
    const bool startIsTime = r.StartMode == PointMode::Timecode;
    const bool endIsTime = r.EndMode == PointMode::Timecode;

    v.Model = checked(r.Model, 22, ModelMin, ModelMax, m[MarkKey::Model]);
    v.Channel = checked(r.Channel, 1, ChannelMin, ChannelMax, m[MarkKey::Channel]);

    Mark& startTitle = m[MarkKey::StartTitle];
    v.StartTitle = checked(r.StartTitle, 1, StartTitleMin, TitleMax, startTitle);
    v.StartTitle = keepRoomBelow(v.StartTitle, r.EndMode == PointMode::Title, TitleMax, startTitle);
    v.EndTitle = checked(r.EndTitle, 2, EndTitleMin, TitleMax, m[MarkKey::EndTitle]);

    Mark& startChapter = m[MarkKey::StartChapter];
    v.StartChapter = checked(r.StartChapter, 1, StartChapterMin, ChapterMax, startChapter);
    v.StartChapter =
        keepRoomBelow(v.StartChapter, r.EndMode == PointMode::Chapter, ChapterMax, startChapter);
    v.EndChapter = checked(r.EndChapter, 2, EndChapterMin, ChapterMax, m[MarkKey::EndChapter]);

    Mark& startFrame = m[MarkKey::StartFrame];
    v.StartFrame = checked(r.StartPoint.frame, 1, StartFrameMin, FrameMax, startFrame);
    v.StartFrame = keepRoomBelow(v.StartFrame, r.EndMode == PointMode::Frame, FrameMax, startFrame);
    Mark& endFrame = m[MarkKey::EndFrame];
    v.EndFrame = checked(r.EndPoint.frame, 1000, EndFrameMin, FrameMax, endFrame);
    if (!startIsTime && !endIsTime && v.EndFrame <= v.StartFrame) {
        v.EndFrame = v.StartFrame < FrameMax ? v.StartFrame + 1 : FrameMax;
        endFrame.OutOfRange = true;
    }

    Mark& endTimeMark = m[MarkKey::EndTime];
    const int32_t startTime =
        checked(timeTotal(r.StartPoint), 0, 0, StartTimeMax, m[MarkKey::StartTime]);
    int32_t endTime = checked(timeTotal(r.EndPoint), 60, EndTimeMin, EndTimeMax, endTimeMark);
    if (startIsTime && endIsTime && endTime <= startTime) {
        endTime = startTime + 1;
        endTimeMark.OutOfRange = true;
    }
    v.StartMinutes = startTime / 60;
    v.StartSeconds = startTime % 60;
    v.EndMinutes = endTime / 60;
    v.EndSeconds = endTime % 60;

    v.OptionBits = r.OptionBits;
    v.Synchronize = (r.OptionBits & SynchronizeBit) != 0;
    v.Squelch = (r.OptionBits & SquelchBit) != 0;
    v.BaudCode = Baud9600Code;
    v.Comment = r.Comment;
    v.InitStr = r.InitStr;
    return out;
}
