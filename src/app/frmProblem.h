#pragma once
// A modal window that shows one problem text with an OK button.

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
    // Shows `text` modal over `owner`, centred on it.
    void showText(const QString& text, QWidget* owner);

private:
    Modal& modal_;
};
