#pragma once
// A modal window that shows one problem text with an OK button.

#include "comm/Await.h"
#include <QDialog>

class QPlainTextEdit;
class Modal;
class QPushButton;

class frmProblem : public QDialog
{
    Q_OBJECT
public:
    explicit frmProblem(Modal& modal);

    QPlainTextEdit* txtProblem;
    QPushButton* cmdOK;

    void cmdOK_Click();
    // Shows `text` modal over `owner`, centred on it. The window grows down until the
    // whole text shows.
    // Ends when the user has closed the window.
    Task<> showText(const QString& text, QWidget* owner);

private:
    void growFor(const QString& text);

    Modal& modal_;
    QSize fittedSize_;    // the window, fitted to its font, before any growth
    QRect fittedTextBox_; // the text box's place in it
    QPoint fittedOK_;
};
