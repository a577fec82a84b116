// The editor's field handlers: they keep every value in range and every end after its
// start, whether the user or code changed the control.

#include "app/CorvaneApp.h"
#include "app/Modal.h"
#include "app/Spinner.h"
#include "app/frmMain.h"
#include "model/FrameNumber.h"

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
    if (p.end->Value() <= p.start->Value())
        p.end->setValueClamped(p.start->Value() < p.end->Max() ? p.start->Value() + 1
                                                               : p.end->Max());
    p.refreshRecord();
}

void endOfPairChanged(Pair p, QLineEdit* box, bool linked)
{
    box->setText(digits(p.end->Value()));
    if (!linked)
        return;
    if (p.start->Value() >= p.end->Value())
        p.start->setValueClamped(p.end->Value() - 1);
    p.refreshRecord();
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
    int32_t start = scrStartMinutes->Value() * 60 + scrStartSeconds->Value();
    int32_t end = scrEndMinutes->Value() * 60 + scrEndSeconds->Value();
    start = std::clamp(start, 0, Limits::StartTimeMax);
    if (end <= start) {
        end = start + 1;
        scrEndMinutes->setValueClamped(end / 60);
        scrEndSeconds->setValueClamped(end % 60);
    }
    if (scrStartSeconds->Value() != start % 60)
        scrStartSeconds->setValueClamped(start % 60);
    if (scrStartMinutes->Value() != start / 60)
        scrStartMinutes->setValueClamped(start / 60);
    app.g.TimeAdjustBusy = false;
}

void frmMain::AdjustEndTime()
{
    if (!app.g.LinkedFieldsActive || app.g.TimeAdjustBusy)
        return;
    app.g.TimeAdjustBusy = true;
    int32_t start = scrStartMinutes->Value() * 60 + scrStartSeconds->Value();
    int32_t end = scrEndMinutes->Value() * 60 + scrEndSeconds->Value();
    end = std::clamp(end, Limits::EndTimeMin, Limits::EndTimeMax);
    if (start >= end) {
        start = end - 1;
        scrStartMinutes->setValueClamped(start / 60);
        scrStartSeconds->setValueClamped(start % 60);
    }
    if (scrEndSeconds->Value() != end % 60)
        scrEndSeconds->setValueClamped(end % 60);
    if (scrEndMinutes->Value() != end / 60)
        scrEndMinutes->setValueClamped(end / 60);
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
    PointMode mode;
    if (optStartTitle->isChecked())
        mode = PointMode::Title;
    else if (optStartChapter->isChecked())
        mode = PointMode::Chapter;
    else if (optStartTimecode->isChecked())
        mode = PointMode::Timecode;
    else if (optStartFrame->isChecked())
        mode = PointMode::Frame;
    else
        return;
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
    PointMode mode;
    if (optEndTitle->isChecked())
        mode = PointMode::Title;
    else if (optEndChapter->isChecked())
        mode = PointMode::Chapter;
    else if (optEndTimecode->isChecked())
        mode = PointMode::Timecode;
    else if (optEndFrame->isChecked())
        mode = PointMode::Frame;
    else
        return;
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
    int32_t n = FrameNumber::leadingNumber(txtStartFrame->text());
    txtStartFrame->setText(digits(n));
    if (n < Limits::StartFrameMin) {
        txtStartFrame->setText(QStringLiteral("1"));
    } else if (n >= Limits::FrameMax) {
        if (params.EndMode == PointMode::Frame)
            txtStartFrame->setText(digits(Limits::FrameMax - 1));
        else if (n >= Limits::FrameMax + 1)
            txtStartFrame->setText(digits(Limits::FrameMax));
    }
    const int32_t start = FrameNumber::leadingNumber(txtStartFrame->text());
    const int32_t end = FrameNumber::leadingNumber(txtEndFrame->text());
    if (start >= end)
        txtEndFrame->setText(digits(start >= Limits::FrameMax ? Limits::FrameMax : start + 1));
    params.EndFrame = FrameNumber::leadingNumber(txtEndFrame->text());
    params.StartFrame = FrameNumber::leadingNumber(txtStartFrame->text());
}

void frmMain::txtEndFrame_LostFocus()
{
    int32_t n = FrameNumber::leadingNumber(txtEndFrame->text());
    txtEndFrame->setText(digits(n));
    if (n < Limits::EndFrameMin)
        txtEndFrame->setText(QStringLiteral("2"));
    else if (n >= Limits::FrameMax + 1)
        txtEndFrame->setText(digits(Limits::FrameMax));
    const int32_t start = FrameNumber::leadingNumber(txtStartFrame->text());
    const int32_t end = FrameNumber::leadingNumber(txtEndFrame->text());
    if (end <= start)
        txtStartFrame->setText(digits(static_cast<qint64>(end) - 1));
    params.EndFrame = FrameNumber::leadingNumber(txtEndFrame->text());
    params.StartFrame = FrameNumber::leadingNumber(txtStartFrame->text());
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
    params.Comment = txtComment->text();
    if (params.Comment.size() > Limits::CommentMax) {
        params.Comment.truncate(Limits::CommentMax);
        txtComment->setText(params.Comment);
    }
}

void frmMain::txtInitStr_Change(int index)
{
    QLineEdit* box = txtInitStr[index];
    QString& field = params.InitStr[index];
    field = box->text();
    if (CheckInitStrTotal()) {
        // Writing the shortened text runs this handler again, which checks again: text
        // that exceeds the total by k characters loses its last k characters.
        field = box->text().left(box->text().size() - 1);
        box->setText(field);
    } else if (field.size() > Limits::InitStrMax) {
        field.truncate(Limits::InitStrMax);
        box->setText(field);
    }
}

bool frmMain::CheckInitStrTotal()
{
    int total = 0;
    for (const QString& s : params.InitStr)
        total += s.size();
    if (total + 5 <= 63)
        return false;
    showInitStrLimitMessage();
    return true;
}

void frmMain::showInitStrLimitMessage()
{
    if (initStrBatchOpen_) {
        if (initStrBatchMessageShown_)
            return;
        initStrBatchMessageShown_ = true;
    }
    Modal::messageBox(this,
                      QStringLiteral("The Init Strings are limited\r\nto 58 characters total\r\n"
                                     "between all 4 strings."),
                      false);
}

void frmMain::beginInitStrBatch()
{
    initStrBatchOpen_ = true;
    initStrBatchMessageShown_ = false;
}

void frmMain::endInitStrBatch()
{
    initStrBatchOpen_ = false;
}
