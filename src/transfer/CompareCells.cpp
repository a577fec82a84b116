#include "transfer/CompareCells.h"

#include "model/CellDecode.h"
#include "transfer/CellMap.h"
#include "transfer/TextImages.h"
#include "transfer/WholeNumber.h"

namespace {

// A number cell against a box's text; a text that is no number never matches.
int numberDiffers(CellBytes cell, const QString& text)
{
    const int stored = CellDecode::number(cell);
    const std::optional<int64_t> shown = parseWholeNumber(text);
    return stored < 0 || !shown || *shown != stored ? 1 : 0;
}

int pointDifferences(const CellSet& cells, uint8_t first, PointMode mode, const QString& frameText,
                     int minutes, int seconds)
{
    std::array<CellBytes, 4> pointCells;
    for (int i = 0; i < CellAddress::PointCells; ++i)
        pointCells[i] = cells.get(static_cast<uint8_t>(first + i));
    const CellDecode::PointReading p = CellDecode::point(pointCells);
    if (!p.readable())
        return 1;
    if (mode == PointMode::Timecode)
        return (p.minutes != minutes ? 1 : 0) + (p.seconds != seconds ? 1 : 0);
    const std::optional<int64_t> shown = parseWholeNumber(frameText);
    return !shown || *shown != p.frame ? 1 : 0;
}

template <size_t N>
int imageDifferences(const CellSet& cells, uint8_t first, const std::array<uint8_t, N>& expected)
{
    int count = 0;
    for (size_t i = 0; i < (N - 1) / 2; ++i) {
        const CellBytes got = cells.get(static_cast<uint8_t>(first + i));
        const CellBytes want = imageCell(expected, int(i));
        if (CellDecode::filterInitChar(got.d0) != want.d0 ||
            CellDecode::filterInitChar(got.d1) != want.d1)
            ++count;
    }
    return count;
}

} // namespace

int countDifferences(const EditorSnapshot& e, PointMode startMode, PointMode endMode,
                     const CellSet& cells)
{
    using namespace CellAddress;
    int count = 0;
    if (e.ModelChannelUnlocked) {
        count += numberDiffers(cells.get(Model), e.txtModel);
        count += numberDiffers(cells.get(Channel), e.txtChannel);
    }

    const CellBytes mode = cells.get(Mode);
    if (CellDecode::startModeCode(mode) != static_cast<int>(startMode) ||
        CellDecode::endModeCode(mode) != static_cast<int>(endMode))
        ++count;

    count += pointDifferences(cells, StartPoint, startMode, e.txtStartFrame, e.scrStartMinutes,
                              e.scrStartSeconds);
    count +=
        pointDifferences(cells, EndPoint, endMode, e.txtEndFrame, e.scrEndMinutes, e.scrEndSeconds);

    count += numberDiffers(cells.get(StartTitle), e.txtStartTitle);
    count += numberDiffers(cells.get(EndTitle), e.txtEndTitle);
    count += numberDiffers(cells.get(StartChapter), e.txtStartChapter);
    count += numberDiffers(cells.get(EndChapter), e.txtEndChapter);

    const uint8_t options = cells.get(Option).d1;
    if (((options & Limits::SynchronizeBit) != 0) != e.chkSynchronize)
        ++count;
    if (((options & Limits::SquelchBit) != 0) != e.chkSquelch)
        ++count;

    count += imageDifferences(cells, Comment, commentImage(e.txtComment));
    count += imageDifferences(cells, InitStr, initImage(e.txtInitStr));
    return count;
}
