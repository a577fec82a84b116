#include "cli/HeadlessEditor.h"

#include "editor/EditorRules.h"

namespace {

QString digits(int n)
{
    return QString::number(n);
}

TextField boxOf(SpinField f)
{
    switch (f) {
    case SpinField::Model:
        return TextField::Model;
    case SpinField::Channel:
        return TextField::Channel;
    case SpinField::StartTitle:
        return TextField::StartTitle;
    case SpinField::EndTitle:
        return TextField::EndTitle;
    case SpinField::StartChapter:
        return TextField::StartChapter;
    default:
        return TextField::EndChapter;
    }
}

int16_t asShort(int v)
{
    return static_cast<int16_t>(v);
}

} // namespace

HeadlessEditor::HeadlessEditor(Globals& g) : g_(g)
{
    // The record holds what the boxes show: the init-string boxes start empty.
    params_.InitStr = {};
    auto bounds = [this](SpinField f, int min, int max, int value) { spin(f) = {min, max, value}; };
    bounds(SpinField::Model, Limits::ModelMin, Limits::ModelMax, Limits::ModelMin);
    bounds(SpinField::Channel, Limits::ChannelMin, Limits::ChannelMax, Limits::ChannelMin);
    bounds(SpinField::StartTitle, Limits::StartTitleMin, Limits::TitleMax, Limits::StartTitleMin);
    bounds(SpinField::EndTitle, Limits::EndTitleMin, Limits::TitleMax, 2);
    bounds(SpinField::StartChapter, Limits::StartChapterMin, Limits::ChapterMax,
           Limits::StartChapterMin);
    bounds(SpinField::EndChapter, Limits::EndChapterMin, Limits::ChapterMax, 2);
    bounds(SpinField::StartMinutes, 0, Limits::MinutesMax, 0);
    bounds(SpinField::StartSeconds, 0, Limits::SecondsMax, 0);
    bounds(SpinField::EndMinutes, 0, Limits::MinutesMax, 1);
    bounds(SpinField::EndSeconds, 0, Limits::SecondsMax, 0);
    // As the window shows after it loaded: model and channel "0", the others their
    // spinners' values, no mode selected, model and channel locked.
    for (SpinField f : {SpinField::StartTitle, SpinField::EndTitle, SpinField::StartChapter,
                        SpinField::EndChapter})
        box(boxOf(f)) = digits(spin(f).value);
    box(TextField::Model) = QStringLiteral("0");
    box(TextField::Channel) = QStringLiteral("0");
}

EditorSnapshot HeadlessEditor::snapshot() const
{
    EditorSnapshot e;
    e.ModelChannelUnlocked = g_.ModelChannelUnlocked;
    e.txtModel = boxes_[static_cast<int>(TextField::Model)];
    e.txtChannel = boxes_[static_cast<int>(TextField::Channel)];
    e.StartMode = startOption_.value_or(params_.StartMode);
    e.EndMode = endOption_.value_or(params_.EndMode);
    e.txtStartTitle = text(TextField::StartTitle);
    e.txtEndTitle = text(TextField::EndTitle);
    e.txtStartChapter = text(TextField::StartChapter);
    e.txtEndChapter = text(TextField::EndChapter);
    e.txtStartFrame = text(TextField::StartFrame);
    e.txtEndFrame = text(TextField::EndFrame);
    e.scrStartMinutes = spinnerValue(SpinField::StartMinutes);
    e.scrStartSeconds = spinnerValue(SpinField::StartSeconds);
    e.scrEndMinutes = spinnerValue(SpinField::EndMinutes);
    e.scrEndSeconds = spinnerValue(SpinField::EndSeconds);
    e.chkSynchronize = synchronize_;
    e.chkSquelch = squelch_;
    e.txtComment = text(TextField::Comment);
    const TextField inits[4] = {TextField::InitStr1, TextField::InitStr2, TextField::InitStr3,
                                TextField::InitStr4};
    for (int i = 0; i < 4; ++i)
        e.txtInitStr[i] = text(inits[i]);
    return e;
}

bool HeadlessEditor::isTextEnabled(TextField field) const
{
    if (field == TextField::Model || field == TextField::Channel)
        return modelChannelEnabled_;
    return true;
}

void HeadlessEditor::setSpinner(SpinField field, int value)
{
    moveSpinner(field, value, true);
}

void HeadlessEditor::setSpinnerMax(SpinField field, int max)
{
    Spin& s = spin(field);
    s.max = max;
    s.min = std::min(s.min, max);
    if (s.value > max)
        moveSpinner(field, max, false);
}

void HeadlessEditor::moveSpinner(SpinField f, int value, bool notify)
{
    Spin& s = spin(f);
    const int held = std::clamp(value, s.min, s.max);
    const bool changed = held != s.value;
    s.value = held;
    if (changed || notify)
        spinnerChanged(f);
}

void HeadlessEditor::spinnerChanged(SpinField f)
{
    const int v = spin(f).value;
    switch (f) {
    case SpinField::Model:
        box(TextField::Model) = digits(v);
        params_.Model = asShort(v);
        break;
    case SpinField::Channel:
        box(TextField::Channel) = digits(v);
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
        adjustStartTime();
        break;
    case SpinField::EndMinutes:
    case SpinField::EndSeconds:
        adjustEndTime();
        break;
    }
}

void HeadlessEditor::refreshPair(SpinField start, SpinField end)
{
    const bool titles = start == SpinField::StartTitle;
    (titles ? params_.EndTitle : params_.EndChapter) = asShort(spin(end).value);
    (titles ? params_.StartTitle : params_.StartChapter) = asShort(spin(start).value);
}

void HeadlessEditor::startOfPairChanged(SpinField start, SpinField end, TextField startBox)
{
    box(startBox) = digits(spin(start).value);
    if (!g_.LinkedFieldsActive)
        return;
    const int moved =
        EditorRules::endAfterStartChange(spin(start).value, spin(end).value, spin(end).max);
    if (moved != spin(end).value)
        moveSpinner(end, moved, false);
    refreshPair(start, end);
}

void HeadlessEditor::endOfPairChanged(SpinField start, SpinField end, TextField endBox)
{
    box(endBox) = digits(spin(end).value);
    if (!g_.LinkedFieldsActive)
        return;
    const int moved = EditorRules::startAfterEndChange(spin(start).value, spin(end).value);
    if (moved != spin(start).value)
        moveSpinner(start, moved, false);
    refreshPair(start, end);
}

// The spinners hold the time; the record's minutes and seconds are not written here.
// Spinners moved inside an adjustment find TimeAdjustBusy and do nothing more.
void HeadlessEditor::adjustStartTime()
{
    if (!g_.LinkedFieldsActive || g_.TimeAdjustBusy)
        return;
    g_.TimeAdjustBusy = true;
    const EditorRules::TimeSpinners t = EditorRules::afterStartTimeChange(
        {spinnerValue(SpinField::StartMinutes), spinnerValue(SpinField::StartSeconds),
         spinnerValue(SpinField::EndMinutes), spinnerValue(SpinField::EndSeconds)});
    moveSpinner(SpinField::EndMinutes, t.endMinutes, false);
    moveSpinner(SpinField::EndSeconds, t.endSeconds, false);
    moveSpinner(SpinField::StartSeconds, t.startSeconds, false);
    moveSpinner(SpinField::StartMinutes, t.startMinutes, false);
    g_.TimeAdjustBusy = false;
}

void HeadlessEditor::adjustEndTime()
{
    if (!g_.LinkedFieldsActive || g_.TimeAdjustBusy)
        return;
    g_.TimeAdjustBusy = true;
    const EditorRules::TimeSpinners t = EditorRules::afterEndTimeChange(
        {spinnerValue(SpinField::StartMinutes), spinnerValue(SpinField::StartSeconds),
         spinnerValue(SpinField::EndMinutes), spinnerValue(SpinField::EndSeconds)});
    moveSpinner(SpinField::StartMinutes, t.startMinutes, false);
    moveSpinner(SpinField::StartSeconds, t.startSeconds, false);
    moveSpinner(SpinField::EndSeconds, t.endSeconds, false);
    moveSpinner(SpinField::EndMinutes, t.endMinutes, false);
    g_.TimeAdjustBusy = false;
}

void HeadlessEditor::setText(TextField field, const QString& text)
{
    if (box(field) == text)
        return; // an unchanged box runs no handler
    box(field) = text;
    switch (field) {
    case TextField::Comment:
        commentChanged();
        break;
    case TextField::InitStr1:
    case TextField::InitStr2:
    case TextField::InitStr3:
    case TextField::InitStr4:
        initStrChanged(static_cast<int>(field) - static_cast<int>(TextField::InitStr1));
        break;
    default:
        break; // the number and frame boxes have no change handler
    }
}

void HeadlessEditor::commentChanged()
{
    params_.Comment = EditorRules::limitComment(text(TextField::Comment));
    if (params_.Comment != text(TextField::Comment))
        setText(TextField::Comment, params_.Comment);
}

void HeadlessEditor::initStrChanged(int index)
{
    const auto field = static_cast<TextField>(static_cast<int>(TextField::InitStr1) + index);
    const EditorRules::InitStrChange change =
        EditorRules::initStrChange(params_.InitStr, index, text(field));
    params_.InitStr[index] = change.text;
    if (change.overTotal && !(initStrBatchOpen_ && initStrBatchMessageShown_)) {
        initStrBatchMessageShown_ = initStrBatchOpen_;
        if (onMessage)
            onMessage(QStringLiteral("The Init Strings are limited\r\nto 58 characters total\r\n"
                                     "between all 4 strings."));
    }
    // Writing the shortened text runs this handler again, which checks again.
    if (change.text != text(field))
        setText(field, change.text);
}

void HeadlessEditor::beginInitStrBatch()
{
    initStrBatchOpen_ = true;
    initStrBatchMessageShown_ = false;
}

void HeadlessEditor::selectOption(OptionField option)
{
    const int i = static_cast<int>(option);
    const auto mode = static_cast<PointMode>(i % 4);
    std::optional<PointMode>& group = i < 4 ? startOption_ : endOption_;
    if (group == mode)
        return; // an option already selected runs no handler
    group = mode;
    if (i < 4)
        applyStartMode();
    else
        applyEndMode();
}

void HeadlessEditor::applyStartMode()
{
    params_.StartMode = *startOption_;
    const bool framed = *startOption_ == PointMode::Timecode || *startOption_ == PointMode::Frame;
    if (framed && !suspendFrameChecks_)
        startFrameLostFocus();
}

void HeadlessEditor::applyEndMode()
{
    const PointMode mode = *endOption_;
    params_.EndMode = mode;
    // A start value needs room for an end value above it in the field the end mode uses.
    setSpinnerMax(SpinField::StartTitle,
                  mode == PointMode::Title ? Limits::TitleMax - 1 : Limits::TitleMax);
    setSpinnerMax(SpinField::StartChapter,
                  mode == PointMode::Chapter ? Limits::ChapterMax - 1 : Limits::ChapterMax);
    if ((mode == PointMode::Timecode || mode == PointMode::Frame) && !suspendFrameChecks_)
        endFrameLostFocus();
}

void HeadlessEditor::startFrameLostFocus()
{
    const EditorRules::FrameResult r = EditorRules::afterStartFrameEdit(
        {text(TextField::StartFrame), text(TextField::EndFrame)}, params_.EndMode);
    box(TextField::StartFrame) = r.boxes.start;
    box(TextField::EndFrame) = r.boxes.end;
    params_.EndFrame = r.endFrame;
    params_.StartFrame = r.startFrame;
}

void HeadlessEditor::endFrameLostFocus()
{
    const EditorRules::FrameResult r =
        EditorRules::afterEndFrameEdit({text(TextField::StartFrame), text(TextField::EndFrame)});
    box(TextField::EndFrame) = r.boxes.end;
    box(TextField::StartFrame) = r.boxes.start;
    params_.EndFrame = r.endFrame;
    params_.StartFrame = r.startFrame;
}

void HeadlessEditor::setCheck(CheckField field, bool on)
{
    bool& state = field == CheckField::Synchronize ? synchronize_ : squelch_;
    if (state == on)
        return;
    state = on;
    const uint16_t bit =
        field == CheckField::Synchronize ? Limits::SynchronizeBit : Limits::SquelchBit;
    (field == CheckField::Synchronize ? params_.Synchronize : params_.Squelch) = on;
    if (on)
        params_.OptionBits |= bit;
    else
        params_.OptionBits &= static_cast<uint16_t>(~bit);
}

bool HeadlessEditor::showMark(const QString& shape, MarkColour colour)
{
    static const QStringList shapes = {
        "shpHiLiteModel",        "shpHiLiteChannel",      "shpHiLiteStartTitle",
        "shpHiLiteEndTitle",     "shpHiLiteStartChapter", "shpHiLiteEndChapter",
        "shpHiLiteStartMinutes", "shpHiLiteStartSeconds", "shpHiLiteEndMinutes",
        "shpHiLiteEndSeconds",   "shpHiLiteStartFrame",   "shpHiLiteEndFrame",
        "shpHiLiteComment",      "shpHiLiteInitStr"};
    if (!shapes.contains(shape))
        return false;
    marks_[shape] = colour;
    return true;
}
