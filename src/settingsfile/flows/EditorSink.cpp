#include "settingsfile/flows/EditorSink.h"

#include "app/frmMain.h"
#include "settingsfile/flows/frmFileInput.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QRadioButton>

void EditorSink::appendDetails(const QString& text)
{
    preview_.appendDetails(text);
}

void EditorSink::showErrorCount(int count)
{
    preview_.txtErrs->setText(QString::number(count));
}

void EditorSink::showLineCount(int lineNo)
{
    preview_.txtLines->setText(QString::number(lineNo));
}

bool EditorSink::isFieldEnabled(TextField field) const
{
    // The box's own state: a disabled editor window around it does not lock it.
    return box(field)->isEnabledTo(&main_);
}

void EditorSink::beginApply()
{
    main_.beginInitStrBatch();
}

void EditorSink::endApply()
{
    main_.endInitStrBatch();
}

void EditorSink::setText(TextField field, const QString& text)
{
    box(field)->setText(text);
}

void EditorSink::selectOption(OptionField option)
{
    QRadioButton* button = nullptr;
    switch (option) {
    case OptionField::StartTitle:
        button = main_.optStartTitle;
        break;
    case OptionField::StartChapter:
        button = main_.optStartChapter;
        break;
    case OptionField::StartTimecode:
        button = main_.optStartTimecode;
        break;
    case OptionField::StartFrame:
        button = main_.optStartFrame;
        break;
    case OptionField::EndTitle:
        button = main_.optEndTitle;
        break;
    case OptionField::EndChapter:
        button = main_.optEndChapter;
        break;
    case OptionField::EndTimecode:
        button = main_.optEndTimecode;
        break;
    case OptionField::EndFrame:
        button = main_.optEndFrame;
        break;
    }
    button->setChecked(true);
}

void EditorSink::setCheck(CheckField field, int value)
{
    QCheckBox* check = field == CheckField::Synchronize ? main_.chkSynchronize : main_.chkSquelch;
    check->setCheckState(value != 0 ? Qt::Checked : Qt::Unchecked);
}

void EditorSink::setListIndex(ListField, int index)
{
    main_.cmbBaud->setCurrentIndex(index);
}

QLineEdit* EditorSink::box(TextField field) const
{
    switch (field) {
    case TextField::Model:
        return main_.txtModel;
    case TextField::Channel:
        return main_.txtChannel;
    case TextField::StartFrame:
        return main_.txtStartFrame;
    case TextField::EndFrame:
        return main_.txtEndFrame;
    case TextField::StartTitle:
        return main_.txtStartTitle;
    case TextField::EndTitle:
        return main_.txtEndTitle;
    case TextField::StartChapter:
        return main_.txtStartChapter;
    case TextField::EndChapter:
        return main_.txtEndChapter;
    case TextField::InitStr1:
        return main_.txtInitStr1;
    case TextField::InitStr2:
        return main_.txtInitStr2;
    case TextField::InitStr3:
        return main_.txtInitStr3;
    case TextField::InitStr4:
        return main_.txtInitStr4;
    case TextField::Comment:
        break;
    }
    return main_.txtComment;
}
