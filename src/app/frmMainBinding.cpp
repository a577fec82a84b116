// The editor window bound to its model: a user's edit goes to the model, which runs the
// field's handler; every change the model makes comes back to the widgets with their
// signals blocked, so nothing is handed to the model twice. Which fields show in each
// mode is the window's own.

#include "app/HighlightShape.h"
#include "app/Modal.h"
#include "app/OptionGroup.h"
#include "app/Spinner.h"
#include "app/frmMain.h"

#include <QRegularExpression>

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QRegularExpression>
#include <QSignalBlocker>

namespace {
constexpr SpinField AllSpinners[] = {SpinField::Model,        SpinField::Channel,
                                     SpinField::StartTitle,   SpinField::EndTitle,
                                     SpinField::StartChapter, SpinField::EndChapter,
                                     SpinField::StartMinutes, SpinField::StartSeconds,
                                     SpinField::EndMinutes,   SpinField::EndSeconds};

void showFields(std::initializer_list<QWidget*> widgets, bool visible)
{
    for (QWidget* w : widgets)
        w->setVisible(visible);
}
} // namespace

void frmMain::bindModel()
{
    for (SpinField f : AllSpinners)
        connect(spinner(f), &QAbstractSlider::valueChanged, this, [this, f](int value) {
            if (value != model_.spinnerValue(f))
                model_.moveSpinner(f, value);
        });
    // Every box: the number boxes are read-only to the user, but whatever they come to
    // show is what a save reads.
    for (int i = 0; i < TextFieldCount; ++i)
        connect(box(static_cast<TextField>(i)), &QLineEdit::textChanged, this,
                [this, f = static_cast<TextField>(i)](const QString& text) {
                    model_.setText(f, text);
                });
    const std::pair<QRadioButton*, OptionField> options[] = {
        {optStartTitle, OptionField::StartTitle},
        {optStartChapter, OptionField::StartChapter},
        {optStartTimecode, OptionField::StartTimecode},
        {optStartFrame, OptionField::StartFrame},
        {optEndTitle, OptionField::EndTitle},
        {optEndChapter, OptionField::EndChapter},
        {optEndTimecode, OptionField::EndTimecode},
        {optEndFrame, OptionField::EndFrame}};
    for (const auto& [button, option] : options)
        connect(button, &QRadioButton::toggled, this, [this, option = option](bool on) {
            if (on)
                model_.selectOption(option);
        });
    connect(chkSynchronize, &QCheckBox::toggled, this,
            [this](bool on) { model_.setCheck(CheckField::Synchronize, on); });
    connect(chkSquelch, &QCheckBox::toggled, this,
            [this](bool on) { model_.setCheck(CheckField::Squelch, on); });

    connect(&model_, &EditorModel::spinnerChanged, this, &frmMain::showSpinner);
    connect(&model_, &EditorModel::textChanged, this, &frmMain::showText);
    connect(&model_, &EditorModel::optionChanged, this, &frmMain::showOptions);
    connect(&model_, &EditorModel::checkChanged, this, &frmMain::showCheck);
    connect(&model_, &EditorModel::baudIndexChanged, this, [this](int index) {
        const QSignalBlocker block(cmbBaud);
        cmbBaud->setCurrentIndex(index);
    });
    connect(&model_, &EditorModel::marksChanged, this, &frmMain::showMarks);
    connect(&model_, &EditorModel::lockChanged, this, &frmMain::showModelChannelUnlocked);
    connect(&model_, &EditorModel::message, this,
            [this](const QString& text) { Await::start(modal_.messageBox(this, text, false)); });
}

// Every widget as the model holds it.
void frmMain::showEverything()
{
    for (SpinField f : AllSpinners)
        showSpinner(f);
    for (int i = 0; i < TextFieldCount; ++i)
        showText(static_cast<TextField>(i));
    showOptions(true);
    showOptions(false);
    showCheck(CheckField::Synchronize);
    showCheck(CheckField::Squelch);
    const QSignalBlocker block(cmbBaud);
    cmbBaud->setCurrentIndex(model_.baudIndex());
    showMarks();
    showModelChannelUnlocked(model_.modelChannelUnlocked());
}

void frmMain::showSpinner(SpinField f)
{
    Spinner* s = spinner(f);
    {
        const QSignalBlocker block(s);
        s->setRange(model_.spinnerMin(f), model_.spinnerMax(f));
        s->setValueClamped(model_.spinnerValue(f));
    }
    if (QLineEdit* t = timeBox(f))
        t->setText(QString::number(model_.spinnerValue(f)));
}

void frmMain::showText(TextField f)
{
    QLineEdit* b = box(f);
    if (b->text() == model_.text(f))
        return;
    const QSignalBlocker block(b);
    b->setText(model_.text(f));
}

void frmMain::showOptions(bool startGroup)
{
    const std::array<QRadioButton*, 4> start{optStartTitle, optStartChapter, optStartTimecode,
                                             optStartFrame};
    const std::array<QRadioButton*, 4> end{optEndTitle, optEndChapter, optEndTimecode, optEndFrame};
    const std::array<QRadioButton*, 4>& group = startGroup ? start : end;
    const PointMode mode = startGroup ? model_.startOption() : model_.endOption();
    QRadioButton* selected = group[static_cast<int>(mode)];
    {
        const QSignalBlocker block(selected);
        selected->setChecked(true);
    }
    letOnlySelectedTakeTab(group);
    if (startGroup)
        showStartMode();
    else
        showEndMode();
}

void frmMain::showStartMode()
{
    const PointMode mode = model_.startOption();
    showFields({lblStartChapter, txtStartChapter, scrStartChapter}, mode == PointMode::Chapter);
    showFields({lblStartMinutes, txtStartMinutes, scrStartMinutes, lblStartSeconds, txtStartSeconds,
                scrStartSeconds},
               mode == PointMode::Timecode);
    showFields({lblStartFrame, txtStartFrame}, mode == PointMode::Frame);
}

void frmMain::showEndMode()
{
    const PointMode mode = model_.endOption();
    showFields({lblEndTitle, txtEndTitle, scrEndTitle}, mode == PointMode::Title);
    showFields({lblEndChapter, txtEndChapter, scrEndChapter}, mode == PointMode::Chapter);
    showFields(
        {lblEndMinutes, txtEndMinutes, scrEndMinutes, lblEndSeconds, txtEndSeconds, scrEndSeconds},
        mode == PointMode::Timecode);
    showFields({lblEndFrame, txtEndFrame}, mode == PointMode::Frame);
}

void frmMain::showCheck(CheckField f)
{
    QCheckBox* check = f == CheckField::Synchronize ? chkSynchronize : chkSquelch;
    const QSignalBlocker block(check);
    check->setChecked(model_.isChecked(f));
}

void frmMain::showMarks()
{
    const QMap<QString, MarkColour>& shown = model_.shownMarks();
    for (HighlightShape* s : highlightShapes()) {
        const auto mark = shown.constFind(s->objectName());
        // A mark is said in words too, for a screen reader and in the field's tooltip.
        const QString words = mark == shown.cend() ? QString()
                              : *mark == MarkColour::Red
                                  ? QStringLiteral("unreadable; set to its default")
                                  : QStringLiteral("out of range; corrected");
        const QString field = s->objectName().mid(int(qstrlen("shpHiLite")));
        for (QWidget* w : findChildren<QWidget*>(
                 QRegularExpression(QStringLiteral("^(txt|scr)%1[1-4]?$").arg(field)))) {
            w->setAccessibleDescription(words);
            w->setToolTip(words);
        }
        if (mark == shown.cend()) {
            s->hide();
            continue;
        }
        s->setFillColor(*mark == MarkColour::Red ? HighlightColors::Red : HighlightColors::Yellow);
        s->show();
    }
}

void frmMain::showModelChannelUnlocked(bool unlocked)
{
    txtModel->setEnabled(unlocked);
    txtChannel->setEnabled(unlocked);
    scrModel->setVisible(unlocked);
    scrChannel->setVisible(unlocked);
}

void frmMain::settleFrameEdit()
{
    if (QWidget* f = focusWidget(); f == txtStartFrame || f == txtEndFrame)
        f->clearFocus();
}

void frmMain::txtStartFrame_LostFocus()
{
    model_.commitStartFrame();
}

void frmMain::txtEndFrame_LostFocus()
{
    model_.commitEndFrame();
}

Spinner* frmMain::spinner(SpinField field) const
{
    Spinner* const spinners[] = {scrModel,        scrChannel,    scrStartTitle,   scrEndTitle,
                                 scrStartChapter, scrEndChapter, scrStartMinutes, scrStartSeconds,
                                 scrEndMinutes,   scrEndSeconds};
    return spinners[static_cast<int>(field)];
}

QLineEdit* frmMain::timeBox(SpinField field) const
{
    switch (field) {
    case SpinField::StartMinutes:
        return txtStartMinutes;
    case SpinField::StartSeconds:
        return txtStartSeconds;
    case SpinField::EndMinutes:
        return txtEndMinutes;
    case SpinField::EndSeconds:
        return txtEndSeconds;
    default:
        return nullptr;
    }
}

QLineEdit* frmMain::box(TextField field) const
{
    QLineEdit* const boxes[] = {txtModel,      txtChannel,    txtStartFrame,   txtEndFrame,
                                txtStartTitle, txtEndTitle,   txtStartChapter, txtEndChapter,
                                txtInitStr[0], txtInitStr[1], txtInitStr[2],   txtInitStr[3],
                                txtComment};
    return boxes[static_cast<int>(field)];
}
