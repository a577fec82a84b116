#include "flows/EditorSink.h"

#include "flows/EditorView.h"
#include "flows/FlowHost.h"

void EditorSink::appendDetails(const QString& text)
{
    preview_.appendDetails(text);
}

void EditorSink::showErrorCount(int count)
{
    preview_.showErrorCount(count);
}

void EditorSink::showLineCount(int lineNo)
{
    preview_.showLineCount(lineNo);
}

bool EditorSink::isFieldEnabled(TextField field) const
{
    return editor_.model().isTextEnabled(field);
}

void EditorSink::beginApply()
{
    editor_.model().beginInitStrBatch();
}

void EditorSink::endApply()
{
    editor_.model().endInitStrBatch();
}

void EditorSink::setText(TextField field, const QString& text)
{
    editor_.model().setText(field, text);
}

void EditorSink::selectOption(OptionField option)
{
    editor_.model().selectOption(option);
}

void EditorSink::setCheck(CheckField field, int value)
{
    editor_.model().setCheck(field, value != 0);
}

void EditorSink::setListIndex(ListField, int index)
{
    editor_.model().setBaudIndex(index);
}
