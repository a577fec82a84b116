#pragma once
// The settings-file parser's view of the application: the preview window's details box
// and counters, and the editor's controls. Every value goes into a control, so the
// editor's own change handlers react to it exactly as to the user's change.

#include "settingsfile/ParserSink.h"

class EditorView;
class FilePreview;

class EditorSink : public ParserSink
{
public:
    EditorSink(EditorView& editor, FilePreview& preview) : editor_(editor), preview_(preview) {}

    void appendDetails(const QString& text) override;
    void showErrorCount(int count) override;
    void showLineCount(int lineNo) override;
    bool isFieldEnabled(TextField field) const override;
    void beginApply() override;
    void endApply() override;
    void setText(TextField field, const QString& text) override;
    void selectOption(OptionField option) override;
    void setCheck(CheckField box, int value) override;
    void setListIndex(ListField list, int index) override;

private:
    EditorView& editor_;
    FilePreview& preview_;
};
