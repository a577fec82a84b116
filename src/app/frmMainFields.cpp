// The editor's field handlers: they keep every value in range and every end after its
// start, whether the user or code changed the control.

#include "app/CorvaneApp.h"
#include "app/OptionGroup.h"
#include "app/Spinner.h"
#include "app/frmMain.h"
#include "editor/EditorRules.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <algorithm>

namespace {
QString digits(qint64 n)
{
    return QString::number(n);
}

// A title or chapter pair: the start side pushes the end up, the end side pushes the start
// down. While linked, both record fields of the pair are refreshed together.
struct Pair
{
    Spinner* start;
    Spinner* end;
    int16_t& recordStart;
    int16_t& recordEnd;

    void refreshRecord()
    {
        recordEnd = static_cast<int16_t>(end->Value());
        recordStart = static_cast<int16_t>(start->Value());
    }
};

void startOfPairChanged(Pair p, QLineEdit* box, bool linked)
{
    box->setText(digits(p.start->Value()));
    if (!linked)
        return;
    const int end =
        EditorRules::endAfterStartChange(p.start->Value(), p.end->Value(), p.end->Max());
    if (end != p.end->Value())
        p.end->setValueClamped(end);
    p.refreshRecord();
}

void endOfPairChanged(Pair p, QLineEdit* box, bool linked)
{
    box->setText(digits(p.end->Value()));
    if (!linked)
        return;
    const int start = EditorRules::startAfterEndChange(p.start->Value(), p.end->Value());
    if (start != p.start->Value())
        p.start->setValueClamped(start);
    p.refreshRecord();
}

// Moves a spinner only when its value differs: an unchanged one runs no handler.
void moveTo(Spinner* s, int value)
{
    if (s->Value() != value)
        s->setValueClamped(value);
}

void showFields(std::initializer_list<QWidget*> widgets, bool visible)
{
    for (QWidget* w : widgets)
        w->setVisible(visible);
}
} // namespace

void frmMain::scrModel_Change()
{
    txtModel->setText(digits(scrModel->Value()));
    params.Model = static_cast<int16_t>(scrModel->Value());
}

void frmMain::scrChannel_Change()
{
    txtChannel->setText(digits(scrChannel->Value()));
    params.Channel = static_cast<int16_t>(scrChannel->Value());
}

void frmMain::scrStartTitle_Change()
{
    startOfPairChanged({scrStartTitle, scrEndTitle, params.StartTitle, params.EndTitle},
                       txtStartTitle, app.g.LinkedFieldsActive);
}

void frmMain::scrEndTitle_Change()
{
    endOfPairChanged({scrStartTitle, scrEndTitle, params.StartTitle, params.EndTitle}, txtEndTitle,
                     app.g.LinkedFieldsActive);
}

void frmMain::scrStartChapter_Change()
{
    startOfPairChanged({scrStartChapter, scrEndChapter, params.StartChapter, params.EndChapter},
                       txtStartChapter, app.g.LinkedFieldsActive);
}

void frmMain::scrEndChapter_Change()
{
    endOfPairChanged({scrStartChapter, scrEndChapter, params.StartChapter, params.EndChapter},
                     txtEndChapter, app.g.LinkedFieldsActive);
}

// The time handlers keep the end time after the start time. The spinners hold the time;
// the record's minutes and seconds are not written here. Spinners set inside an
// adjustment run their handlers nested; those find TimeAdjustBusy and only update
// their boxes.
void frmMain::AdjustStartTime()
{
    if (!app.g.LinkedFieldsActive || app.g.TimeAdjustBusy)
        return;
    app.g.TimeAdjustBusy = true;
    const EditorRules::TimeSpinners t =
        EditorRules::afterStartTimeChange({scrStartMinutes->Value(), scrStartSeconds->Value(),
                                           scrEndMinutes->Value(), scrEndSeconds->Value()});
    moveTo(scrEndMinutes, t.endMinutes);
    moveTo(scrEndSeconds, t.endSeconds);
    moveTo(scrStartSeconds, t.startSeconds);
    moveTo(scrStartMinutes, t.startMinutes);
    app.g.TimeAdjustBusy = false;
}

void frmMain::AdjustEndTime()
{
    if (!app.g.LinkedFieldsActive || app.g.TimeAdjustBusy)
        return;
    app.g.TimeAdjustBusy = true;
    const EditorRules::TimeSpinners t =
        EditorRules::afterEndTimeChange({scrStartMinutes->Value(), scrStartSeconds->Value(),
                                         scrEndMinutes->Value(), scrEndSeconds->Value()});
    moveTo(scrStartMinutes, t.startMinutes);
    moveTo(scrStartSeconds, t.startSeconds);
    moveTo(scrEndSeconds, t.endSeconds);
    moveTo(scrEndMinutes, t.endMinutes);
    app.g.TimeAdjustBusy = false;
}

void frmMain::scrStartMinutes_Change()
{
    AdjustStartTime();
    txtStartMinutes->setText(digits(scrStartMinutes->Value()));
}

void frmMain::scrStartSeconds_Change()
{
    AdjustStartTime();
    txtStartSeconds->setText(digits(scrStartSeconds->Value()));
}

void frmMain::scrEndMinutes_Change()
{
    AdjustEndTime();
    txtEndMinutes->setText(digits(scrEndMinutes->Value()));
}

void frmMain::scrEndSeconds_Change()
{
    AdjustEndTime();
    txtEndSeconds->setText(digits(scrEndSeconds->Value()));
}

void frmMain::ApplyStartMode()
{
    const std::optional<PointMode> selected =
        selectedMode({optStartTitle, optStartChapter, optStartTimecode, optStartFrame});
    if (!selected)
        return;
    const PointMode mode = *selected;
    params.StartMode = mode;
    showFields({lblStartChapter, txtStartChapter, scrStartChapter}, mode == PointMode::Chapter);
    showFields({lblStartMinutes, txtStartMinutes, scrStartMinutes, lblStartSeconds, txtStartSeconds,
                scrStartSeconds},
               mode == PointMode::Timecode);
    showFields({lblStartFrame, txtStartFrame}, mode == PointMode::Frame);
    if ((mode == PointMode::Timecode || mode == PointMode::Frame) && !SuspendModeFrameChecks)
        txtStartFrame_LostFocus();
}

void frmMain::ApplyEndMode()
{
    const std::optional<PointMode> selected =
        selectedMode({optEndTitle, optEndChapter, optEndTimecode, optEndFrame});
    if (!selected)
        return;
    const PointMode mode = *selected;
    params.EndMode = mode;
    showFields({lblEndTitle, txtEndTitle, scrEndTitle}, mode == PointMode::Title);
    showFields({lblEndChapter, txtEndChapter, scrEndChapter}, mode == PointMode::Chapter);
    showFields(
        {lblEndMinutes, txtEndMinutes, scrEndMinutes, lblEndSeconds, txtEndSeconds, scrEndSeconds},
        mode == PointMode::Timecode);
    showFields({lblEndFrame, txtEndFrame}, mode == PointMode::Frame);
    // A start value needs room for an end value above it in the field the end mode uses.
    // Lowering a bound below a spinner's value moves the value and runs its handler.
    scrStartTitle->setMax(mode == PointMode::Title ? Limits::TitleMax - 1 : Limits::TitleMax);
    scrStartChapter->setMax(mode == PointMode::Chapter ? Limits::ChapterMax - 1
                                                       : Limits::ChapterMax);
    if ((mode == PointMode::Timecode || mode == PointMode::Frame) && !SuspendModeFrameChecks)
        txtEndFrame_LostFocus();
}

void frmMain::txtStartFrame_LostFocus()
{
    const EditorRules::FrameResult r = EditorRules::afterStartFrameEdit(
        {txtStartFrame->text(), txtEndFrame->text()}, params.EndMode);
    txtStartFrame->setText(r.boxes.start);
    txtEndFrame->setText(r.boxes.end);
    params.EndFrame = r.endFrame;
    params.StartFrame = r.startFrame;
}

void frmMain::txtEndFrame_LostFocus()
{
    const EditorRules::FrameResult r =
        EditorRules::afterEndFrameEdit({txtStartFrame->text(), txtEndFrame->text()});
    txtEndFrame->setText(r.boxes.end);
    txtStartFrame->setText(r.boxes.start);
    params.EndFrame = r.endFrame;
    params.StartFrame = r.startFrame;
}

void frmMain::chkSynchronize_Click()
{
    params.Synchronize = chkSynchronize->isChecked();
    if (params.Synchronize)
        params.OptionBits |= Limits::SynchronizeBit;
    else
        params.OptionBits &= static_cast<uint16_t>(~Limits::SynchronizeBit);
}

void frmMain::chkSquelch_Click()
{
    params.Squelch = chkSquelch->isChecked();
    if (params.Squelch)
        params.OptionBits |= Limits::SquelchBit;
    else
        params.OptionBits &= static_cast<uint16_t>(~Limits::SquelchBit);
}

void frmMain::txtComment_Change()
{
    params.Comment = EditorRules::limitComment(txtComment->text());
    if (params.Comment != txtComment->text())
        txtComment->setText(params.Comment);
}

void frmMain::txtInitStr_Change(int index)
{
    QLineEdit* box = txtInitStr[index];
    const EditorRules::InitStrChange change =
        EditorRules::initStrChange(params.InitStr, index, box->text());
    params.InitStr[index] = change.text;
    if (change.overTotal)
        showInitStrLimitMessage();
    // Writing the shortened text runs this handler again, which checks again: text that
    // exceeds the total by k characters loses its last k characters.
    if (change.text != box->text())
        box->setText(change.text);
}

void frmMain::showInitStrLimitMessage()
{
    if (initStrBatchOpen_) {
        if (initStrBatchMessageShown_)
            return;
        initStrBatchMessageShown_ = true;
    }
    app.modal.messageBox(this,
                         QStringLiteral("The Init Strings are limited\r\nto 58 characters total\r\n"
                                        "between all 4 strings."),
                         false);
}
