// The editor window as the flows see it: reading every control at one moment, and
// setting controls so that their own handlers run.

#include "app/CorvaneApp.h"
#include "app/HighlightShape.h"
#include "app/OptionGroup.h"
#include "app/Spinner.h"
#include "app/frmMain.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QRadioButton>

EditorSnapshot frmMain::snapshot() const
{
    EditorSnapshot e;
    e.ModelChannelUnlocked = app.g.ModelChannelUnlocked;
    e.txtModel = txtModel->text();
    e.txtChannel = txtChannel->text();
    // With no option selected the mode last stored stays.
    e.StartMode = selectedMode({optStartTitle, optStartChapter, optStartTimecode, optStartFrame})
                      .value_or(params.StartMode);
    e.EndMode = selectedMode({optEndTitle, optEndChapter, optEndTimecode, optEndFrame})
                    .value_or(params.EndMode);
    e.txtStartTitle = txtStartTitle->text();
    e.txtEndTitle = txtEndTitle->text();
    e.txtStartChapter = txtStartChapter->text();
    e.txtEndChapter = txtEndChapter->text();
    e.txtStartFrame = txtStartFrame->text();
    e.txtEndFrame = txtEndFrame->text();
    e.scrStartMinutes = scrStartMinutes->Value();
    e.scrStartSeconds = scrStartSeconds->Value();
    e.scrEndMinutes = scrEndMinutes->Value();
    e.scrEndSeconds = scrEndSeconds->Value();
    e.chkSynchronize = chkSynchronize->isChecked();
    e.chkSquelch = chkSquelch->isChecked();
    e.txtComment = txtComment->text();
    for (int i = 0; i < 4; ++i)
        e.txtInitStr[i] = txtInitStr[i]->text();
    return e;
}

Spinner* frmMain::spinner(SpinField field) const
{
    switch (field) {
    case SpinField::Model:
        return scrModel;
    case SpinField::Channel:
        return scrChannel;
    case SpinField::StartTitle:
        return scrStartTitle;
    case SpinField::EndTitle:
        return scrEndTitle;
    case SpinField::StartChapter:
        return scrStartChapter;
    case SpinField::EndChapter:
        return scrEndChapter;
    case SpinField::StartMinutes:
        return scrStartMinutes;
    case SpinField::StartSeconds:
        return scrStartSeconds;
    case SpinField::EndMinutes:
        return scrEndMinutes;
    case SpinField::EndSeconds:
        break;
    }
    return scrEndSeconds;
}

QLineEdit* frmMain::box(TextField field) const
{
    switch (field) {
    case TextField::Model:
        return txtModel;
    case TextField::Channel:
        return txtChannel;
    case TextField::StartFrame:
        return txtStartFrame;
    case TextField::EndFrame:
        return txtEndFrame;
    case TextField::StartTitle:
        return txtStartTitle;
    case TextField::EndTitle:
        return txtEndTitle;
    case TextField::StartChapter:
        return txtStartChapter;
    case TextField::EndChapter:
        return txtEndChapter;
    case TextField::InitStr1:
        return txtInitStr[0];
    case TextField::InitStr2:
        return txtInitStr[1];
    case TextField::InitStr3:
        return txtInitStr[2];
    case TextField::InitStr4:
        return txtInitStr[3];
    case TextField::Comment:
        break;
    }
    return txtComment;
}

bool frmMain::isTextEnabled(TextField field) const
{
    // The box's own state: a disabled editor window around it does not lock it.
    return box(field)->isEnabledTo(this);
}

void frmMain::setSpinner(SpinField field, int value)
{
    spinner(field)->setValueNotify(value);
}

void frmMain::setSpinnerMax(SpinField field, int max)
{
    spinner(field)->setMax(max);
}

void frmMain::setText(TextField field, const QString& text)
{
    box(field)->setText(text);
}

void frmMain::selectOption(OptionField option)
{
    QRadioButton* const buttons[] = {optStartTitle,  optStartChapter, optStartTimecode,
                                     optStartFrame,  optEndTitle,     optEndChapter,
                                     optEndTimecode, optEndFrame};
    buttons[static_cast<int>(option)]->setChecked(true);
}

void frmMain::setCheck(CheckField field, bool on)
{
    QCheckBox* check = field == CheckField::Synchronize ? chkSynchronize : chkSquelch;
    check->setCheckState(on ? Qt::Checked : Qt::Unchecked);
}

void frmMain::setBaudIndex(int index)
{
    cmbBaud->setCurrentIndex(index);
}

void frmMain::settleFrameEdit()
{
    if (QWidget* f = focusWidget(); f == txtStartFrame || f == txtEndFrame)
        f->clearFocus();
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

bool frmMain::showMark(const QString& shape, MarkColour colour)
{
    for (HighlightShape* s : highlightShapes()) {
        if (s->objectName() != shape)
            continue;
        s->setFillColor(colour == MarkColour::Red ? HighlightColors::Red : HighlightColors::Yellow);
        s->show();
        return true;
    }
    return false;
}

void frmMain::clearMarks()
{
    for (HighlightShape* s : highlightShapes())
        s->hide();
}
