#include "editor/EditorModel.h"

#include <algorithm>

EditorModel::EditorModel()
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
    const std::pair<SpinField, TextField> shown[] = {
        {SpinField::StartTitle, TextField::StartTitle},
        {SpinField::EndTitle, TextField::EndTitle},
        {SpinField::StartChapter, TextField::StartChapter},
        {SpinField::EndChapter, TextField::EndChapter}};
    for (const auto& [s, t] : shown)
        boxes_[static_cast<int>(t)] = QString::number(spin(s).value);
    boxes_[static_cast<int>(TextField::Model)] = QStringLiteral("0");
    boxes_[static_cast<int>(TextField::Channel)] = QStringLiteral("0");
    boxes_[static_cast<int>(TextField::StartFrame)] = QStringLiteral("1000");
    boxes_[static_cast<int>(TextField::EndFrame)] = QStringLiteral("5000");
    // Both groups start on Title, with their handlers run as on the window's first show.
    applyStartMode();
    applyEndMode();
}

EditorSnapshot EditorModel::snapshot() const
{
    EditorSnapshot e;
    e.ModelChannelUnlocked = ModelChannelUnlocked;
    e.txtModel = text(TextField::Model);
    e.txtChannel = text(TextField::Channel);
    e.StartMode = startOption_;
    e.EndMode = endOption_;
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

bool EditorModel::isChecked(CheckField f) const
{
    return f == CheckField::Synchronize ? synchronize_ : squelch_;
}

bool EditorModel::isTextEnabled(TextField f) const
{
    if (f == TextField::Model || f == TextField::Channel)
        return ModelChannelUnlocked;
    return true;
}

void EditorModel::setSpinner(SpinField f, int value)
{
    putSpinner(f, value, true);
}

void EditorModel::moveSpinner(SpinField f, int value)
{
    putSpinner(f, value, false);
}

void EditorModel::setSpinnerMax(SpinField f, int max)
{
    Spin& s = spin(f);
    if (s.max == max)
        return;
    s.max = max;
    s.min = std::min(s.min, max);
    const bool moved = s.value > max;
    if (moved)
        s.value = max;
    emit spinnerChanged(f);
    if (moved)
        spinnerHandler(f);
}

// The value held in the spinner's bounds; its handler runs when the value changed, or
// always when `notify`.
void EditorModel::putSpinner(SpinField f, int value, bool notify)
{
    Spin& s = spin(f);
    const int held = std::clamp(value, s.min, s.max);
    const bool changed = held != s.value;
    s.value = held;
    if (changed)
        emit spinnerChanged(f);
    if (changed || notify)
        spinnerHandler(f);
}

void EditorModel::putText(TextField f, const QString& text)
{
    QString& box = boxes_[static_cast<int>(f)];
    if (box == text)
        return;
    box = text;
    emit textChanged(f);
}

void EditorModel::setText(TextField f, const QString& text)
{
    if (this->text(f) == text)
        return; // an unchanged box runs no handler
    putText(f, text);
    switch (f) {
    case TextField::Comment:
        commentChanged();
        break;
    case TextField::InitStr1:
    case TextField::InitStr2:
    case TextField::InitStr3:
    case TextField::InitStr4:
        initStrChanged(static_cast<int>(f) - static_cast<int>(TextField::InitStr1));
        break;
    default:
        break; // the number and frame boxes have no change handler
    }
}

void EditorModel::selectOption(OptionField option)
{
    const int i = static_cast<int>(option);
    const auto mode = static_cast<PointMode>(i % 4);
    const bool startGroup = i < 4;
    PointMode& group = startGroup ? startOption_ : endOption_;
    if (group == mode)
        return; // an option already selected runs no handler
    group = mode;
    emit optionChanged(startGroup);
    if (startGroup)
        applyStartMode();
    else
        applyEndMode();
}

void EditorModel::setCheck(CheckField f, bool on)
{
    bool& state = f == CheckField::Synchronize ? synchronize_ : squelch_;
    if (state == on)
        return;
    state = on;
    emit checkChanged(f);
    const uint16_t bit = f == CheckField::Synchronize ? Limits::SynchronizeBit : Limits::SquelchBit;
    (f == CheckField::Synchronize ? params_.Synchronize : params_.Squelch) = on;
    if (on)
        params_.OptionBits |= bit;
    else
        params_.OptionBits &= static_cast<uint16_t>(~bit);
}

void EditorModel::setBaudIndex(int index)
{
    if (baudIndex_ == index)
        return;
    baudIndex_ = index;
    emit baudIndexChanged(index);
}

void EditorModel::beginInitStrBatch()
{
    initStrBatchOpen_ = true;
    initStrBatchMessageShown_ = false;
}

void EditorModel::setModelChannelUnlocked(bool unlocked)
{
    ModelChannelUnlocked = unlocked;
    emit lockChanged(unlocked);
}

const QStringList& EditorModel::markShapes()
{
    static const QStringList shapes = {
        "shpHiLiteModel",        "shpHiLiteChannel",      "shpHiLiteStartTitle",
        "shpHiLiteEndTitle",     "shpHiLiteStartChapter", "shpHiLiteEndChapter",
        "shpHiLiteStartMinutes", "shpHiLiteStartSeconds", "shpHiLiteEndMinutes",
        "shpHiLiteEndSeconds",   "shpHiLiteStartFrame",   "shpHiLiteEndFrame",
        "shpHiLiteComment",      "shpHiLiteInitStr"};
    return shapes;
}

bool EditorModel::showMark(const QString& shape, MarkColour colour)
{
    if (!markShapes().contains(shape))
        return false;
    shown_[shape] = colour;
    emit marksChanged();
    return true;
}

void EditorModel::clearMarks()
{
    shown_.clear();
    marks_.clear();
    emit marksChanged();
}
