#include "transfer/SavePlan.h"

#include "transfer/CellEncode.h"
#include "transfer/CellMap.h"
#include "transfer/TextImages.h"
#include "transfer/WholeNumber.h"

namespace {

// Only called once the checks have passed, so the text is a number in range.
int32_t numberIn(const QString& text)
{
    return static_cast<int32_t>(*parseWholeNumber(text));
}

int32_t pointValue(PointMode mode, const QString& frameText, int minutes, int seconds)
{
    if (mode == PointMode::Timecode)
        return CellEncode::timePointValue(minutes, seconds);
    return numberIn(frameText);
}

void addPoint(QVector<CellWrite>& writes, uint8_t first, int32_t value)
{
    const std::array<CellBytes, 4> cells = CellEncode::point(value);
    for (int i = 0; i < CellAddress::PointCells; ++i)
        writes.append({static_cast<uint8_t>(first + i), cells[i]});
}

template <size_t N>
void addImage(QVector<CellWrite>& writes, uint8_t first, const std::array<uint8_t, N>& image)
{
    for (size_t i = 0; i < (N - 1) / 2; ++i) // the last element is never sent
        writes.append({static_cast<uint8_t>(first + i), imageCell(image, int(i))});
}

} // namespace

SavePlan buildSavePlan(const EditorSnapshot& e)
{
    using namespace CellAddress;
    SavePlan plan;
    plan.StartMode = e.StartMode;
    plan.EndMode = e.EndMode;
    plan.Synchronize = e.chkSynchronize;
    plan.Squelch = e.chkSquelch;
    plan.OptionBits =
        (e.chkSynchronize ? Limits::SynchronizeBit : 0) | (e.chkSquelch ? Limits::SquelchBit : 0);

    plan.problems = checkSaveValues(e);
    if (!plan.ok()) {
        plan.problemText = saveProblemText(plan.problems);
        return plan;
    }

    QVector<CellWrite>& w = plan.writes;
    if (e.ModelChannelUnlocked) {
        w.append({Model, CellEncode::twoDigit(numberIn(e.txtModel)), false});
        w.append({Channel, CellEncode::twoDigit(numberIn(e.txtChannel)), false});
    }
    w.append({Mode, CellEncode::modeCell(e.StartMode, e.EndMode)});
    addPoint(w, StartPoint,
             pointValue(e.StartMode, e.txtStartFrame, e.scrStartMinutes, e.scrStartSeconds));
    addPoint(w, EndPoint, pointValue(e.EndMode, e.txtEndFrame, e.scrEndMinutes, e.scrEndSeconds));
    w.append({StartTitle, CellEncode::twoDigit(numberIn(e.txtStartTitle))});
    w.append({EndTitle, CellEncode::twoDigit(numberIn(e.txtEndTitle))});
    w.append({StartChapter, CellEncode::twoDigit(numberIn(e.txtStartChapter))});
    w.append({EndChapter, CellEncode::twoDigit(numberIn(e.txtEndChapter))});
    w.append({Option, CellEncode::optionCell(plan.OptionBits)});
    addImage(w, Comment, commentImage(e.txtComment));
    addImage(w, InitStr, initImage(e.txtInitStr));
    return plan;
}
