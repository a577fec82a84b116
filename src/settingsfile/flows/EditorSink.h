#pragma once
// The settings-file parser's view of the application: the preview window's details box
// and counters, and the editor's controls. Every value goes into a control, so the
// editor's own change handlers react to it exactly as to the user's change.

#include "settingsfile/ParserSink.h"

class frmMain;
class frmFileInput;
class QLineEdit;

class EditorSink : public ParserSink
{
public:
    EditorSink(frmMain& main, frmFileInput& preview) : main_(main), preview_(preview) {}

    void appendDetails(const QString& text) override;
    void showErrorCount(int count) override;
    void showLineCount(int lineNo) override;
    bool isFieldEnabled(TextField field) const override;
    void beginApply() override;
    void endApply() override;
    // Model, Channel, titles and chapters: the box beside the spinner only; the spinner
    // stays where it was.
    void setText(TextField field, const QString& text) override;
    // An option already selected stays selected and runs no handler.
    void selectOption(OptionField option) override;
    void setCheck(CheckField box, int value) override;
    void setListIndex(ListField list, int index) override;

private:
    QLineEdit* box(TextField field) const;

    frmMain& main_;
    frmFileInput& preview_;
};
