// The editor's field handlers: they keep every value in range and every end after its
// start, whether the user or code changed the control.

#include "editor/EditorModel.h"
#include "editor/EditorRules.h"

namespace {
int16_t asShort(int v)
{
    return static_cast<int16_t>(v);
}
} // namespace

void EditorModel::spinnerHandler(SpinField f)
{
    const int v = spin(f).value;
    switch (f) {
    case SpinField::Model:
        putText(TextField::Model, QString::number(v));
        params_.Model = asShort(v);
        break;
    case SpinField::Channel:
        putText(TextField::Channel, QString::number(v));
        params_.Channel = asShort(v);
        break;
    case SpinField::StartTitle:
        startOfPairChanged(SpinField::StartTitle, SpinField::EndTitle, TextField::StartTitle);
        break;
    case SpinField::EndTitle:
        endOfPairChanged(SpinField::StartTitle, SpinField::EndTitle, TextField::EndTitle);
        break;
    case SpinField::StartChapter:
        startOfPairChanged(SpinField::StartChapter, SpinField::EndChapter, TextField::StartChapter);
        break;
    case SpinField::EndChapter:
        endOfPairChanged(SpinField::StartChapter, SpinField::EndChapter, TextField::EndChapter);
        break;
    case SpinField::StartMinutes:
    case SpinField::StartSeconds:
        adjustTime(true);
        break;
    case SpinField::EndMinutes:
    case SpinField::EndSeconds:
        adjustTime(false);
        break;
    }
}

// While linked, both record fields of a title or chapter pair are refreshed together.
void EditorModel::refreshPair(SpinField start, SpinField end)
{
    const bool titles = start == SpinField::StartTitle;
    (titles ? params_.EndTitle : params_.EndChapter) = asShort(spin(end).value);
    (titles ? params_.StartTitle : params_.StartChapter) = asShort(spin(start).value);
}

void EditorModel::startOfPairChanged(SpinField start, SpinField end, TextField startBox)
{
    putText(startBox, QString::number(spin(start).value));
    if (!LinkedFieldsActive)
        return;
    const int moved =
        EditorRules::endAfterStartChange(spin(start).value, spin(end).value, spin(end).max);
    if (moved != spin(end).value)
        putSpinner(end, moved, false);
    refreshPair(start, end);
}

void EditorModel::endOfPairChanged(SpinField start, SpinField end, TextField endBox)
{
    putText(endBox, QString::number(spin(end).value));
    if (!LinkedFieldsActive)
        return;
    const int moved = EditorRules::startAfterEndChange(spin(start).value, spin(end).value);
    if (moved != spin(start).value)
        putSpinner(start, moved, false);
    refreshPair(start, end);
}

// The time handlers keep the end time after the start time. The spinners hold the time;
// the record's minutes and seconds are not written here. The side that did not move is
// set first, then the moved side, each minutes and seconds in the order given. Spinners
// moved inside an adjustment find TimeAdjustBusy and do nothing more.
void EditorModel::adjustTime(bool startMoved)
{
    if (!LinkedFieldsActive || TimeAdjustBusy)
        return;
    TimeAdjustBusy = true;
    const EditorRules::TimeSpinners before{
        spinnerValue(SpinField::StartMinutes), spinnerValue(SpinField::StartSeconds),
        spinnerValue(SpinField::EndMinutes), spinnerValue(SpinField::EndSeconds)};
    const EditorRules::TimeSpinners t = startMoved ? EditorRules::afterStartTimeChange(before)
                                                   : EditorRules::afterEndTimeChange(before);
    const std::pair<SpinField, int> order[2][4] = {{{SpinField::StartMinutes, t.startMinutes},
                                                    {SpinField::StartSeconds, t.startSeconds},
                                                    {SpinField::EndSeconds, t.endSeconds},
                                                    {SpinField::EndMinutes, t.endMinutes}},
                                                   {{SpinField::EndMinutes, t.endMinutes},
                                                    {SpinField::EndSeconds, t.endSeconds},
                                                    {SpinField::StartSeconds, t.startSeconds},
                                                    {SpinField::StartMinutes, t.startMinutes}}};
    for (const auto& [field, value] : order[startMoved ? 1 : 0])
        putSpinner(field, value, false);
    TimeAdjustBusy = false;
}

void EditorModel::applyStartMode()
{
    params_.StartMode = startOption_;
    const bool framed = startOption_ == PointMode::Timecode || startOption_ == PointMode::Frame;
    if (framed && !suspendFrameChecks_)
        commitStartFrame();
}

void EditorModel::applyEndMode()
{
    const PointMode mode = endOption_;
    params_.EndMode = mode;
    // A start value needs room for an end value above it in the field the end mode uses.
    setSpinnerMax(SpinField::StartTitle,
                  mode == PointMode::Title ? Limits::TitleMax - 1 : Limits::TitleMax);
    setSpinnerMax(SpinField::StartChapter,
                  mode == PointMode::Chapter ? Limits::ChapterMax - 1 : Limits::ChapterMax);
    if ((mode == PointMode::Timecode || mode == PointMode::Frame) && !suspendFrameChecks_)
        commitEndFrame();
}

void EditorModel::commitStartFrame()
{
    const EditorRules::FrameResult r = EditorRules::afterStartFrameEdit(
        {text(TextField::StartFrame), text(TextField::EndFrame)}, params_.EndMode);
    putText(TextField::StartFrame, r.boxes.start);
    putText(TextField::EndFrame, r.boxes.end);
    params_.EndFrame = r.endFrame;
    params_.StartFrame = r.startFrame;
}

void EditorModel::commitEndFrame()
{
    const EditorRules::FrameResult r =
        EditorRules::afterEndFrameEdit({text(TextField::StartFrame), text(TextField::EndFrame)});
    putText(TextField::EndFrame, r.boxes.end);
    putText(TextField::StartFrame, r.boxes.start);
    params_.EndFrame = r.endFrame;
    params_.StartFrame = r.startFrame;
}

void EditorModel::commentChanged()
{
    params_.Comment = EditorRules::limitComment(text(TextField::Comment));
    if (params_.Comment != text(TextField::Comment))
        setText(TextField::Comment, params_.Comment);
}

void EditorModel::initStrChanged(int index)
{
    const auto field = static_cast<TextField>(static_cast<int>(TextField::InitStr1) + index);
    const EditorRules::InitStrChange change =
        EditorRules::initStrChange(params_.InitStr, index, text(field));
    params_.InitStr[index] = change.text;
    if (change.overTotal && !(initStrBatchOpen_ && initStrBatchMessageShown_)) {
        initStrBatchMessageShown_ = initStrBatchOpen_;
        emit message(QStringLiteral("The Init Strings are limited\r\nto 58 characters total\r\n"
                                    "between all 4 strings."));
    }
    // Writing the shortened text runs this handler again, which checks again: text that
    // exceeds the total by k characters loses its last k characters.
    if (change.text != text(field))
        setText(field, change.text);
}
