#include "flows/EditorDefaults.h"

#include "editor/EditorModel.h"

namespace modCorvaneComm {

// Each step sets a control and lets its own handler run. The start values go to their
// minimum before the end values are set, so no intermediate state has an end at or
// before its start, whatever the editor held.
void SetDefaults(EditorModel& e)
{
    e.setSpinner(SpinField::Model, 22);
    e.setSpinner(SpinField::Channel, 1);

    e.setSpinner(SpinField::StartTitle, 1);
    e.setSpinner(SpinField::StartChapter, 1);
    e.setSpinner(SpinField::StartMinutes, 0);
    e.setSpinner(SpinField::StartSeconds, 0);
    e.setText(TextField::StartFrame, QStringLiteral("1"));

    e.setSpinner(SpinField::EndTitle, 2);
    e.setSpinner(SpinField::EndChapter, 2);
    e.setSpinner(SpinField::EndMinutes, 1);
    e.setSpinner(SpinField::EndSeconds, 0);
    e.setText(TextField::EndFrame, QStringLiteral("1000"));

    e.selectOption(OptionField::StartChapter);
    e.selectOption(OptionField::EndChapter);

    e.setCheck(CheckField::Synchronize, true);
    e.setCheck(CheckField::Squelch, true);

    // The four init strings are replaced as one step: the total is judged on the new
    // values only, so the reset never shows the limit message.
    const std::array<QString, 4> defaults{QStringLiteral("0KL0DS"), QString(), QString(),
                                          QString()};
    e.record().InitStr = defaults;
    const TextField boxes[4] = {TextField::InitStr1, TextField::InitStr2, TextField::InitStr3,
                                TextField::InitStr4};
    for (int i = 0; i < 4; ++i)
        e.setText(boxes[i], defaults[i]);

    e.setText(TextField::Comment, QString());

    ClearHighlights(e);
}

void ClearHighlights(EditorModel& e)
{
    e.clearMarks();
}

} // namespace modCorvaneComm
