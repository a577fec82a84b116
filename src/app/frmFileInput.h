#pragma once
// The preview window of a settings file being loaded: the file's path, the line and
// error counters, and (expanded) the details box with one line per understood line,
// per unrecognised line and for the line-limit warning. OK applies the kept lines to
// the editor, Cancel leaves the editor alone. Modeless; hidden, never destroyed.

#include "app/FontFit.h"
#include "flows/FlowHost.h"

#include <QWidget>

class FlowHost;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

class frmFileInput : public QWidget, public FilePreview
{
    Q_OBJECT
public:
    // A window of its own, over `owner` (the editor).
    frmFileInput(FlowHost& host, QWidget* owner);

    // Client heights: compact ends below the row of buttons, expanded shows txtInput.
    static constexpr int CompactHeight = 141;
    static constexpr int ExpandedHeight = 477;
    // At or above this height the window counts as expanded.
    static constexpr int ExpandedThreshold = 200;
    static constexpr int InnerWidth = 563;

    QLabel* lblFile;
    QLineEdit* txtFileName;
    QLineEdit* txtLines;
    QLabel* lblLines;
    QLineEdit* txtErrs;
    QLabel* lblErrs;
    QPushButton* cmdDetails;
    QPushButton* cmdAccept;
    QPushButton* cmdCancel;
    QPlainTextEdit* txtInput;

    void Form_Activate();
    void cmdDetails_Click();
    void cmdAccept_Click();
    void cmdCancel_Click();

    // FilePreview. startPreview empties the details box, shows the path of the file about
    // to be previewed and brings the window up; appendDetails appends at the end of the
    // details box, wherever the user left the insertion point.
    void startPreview(const QString& path) override;
    void appendDetails(const QString& text) override;
    void showErrorCount(int count) override;
    void showLineCount(int lineNo) override;

protected:
    bool event(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    FontFit::Scale scale_; // the design places stretched for the window's font
    void setWindowHeight(int height);

    FlowHost& host_;
};
