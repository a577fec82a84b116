#pragma once
// A modal window that shows one problem text with an OK button.

#include <QDialog>

class QPlainTextEdit;
class QPushButton;

class frmProblem : public QDialog
{
    Q_OBJECT
public:
    frmProblem();

    QPlainTextEdit* txtProblem;
    QPushButton* cmdOK;

    void cmdOK_Click();
    void showModal();
};
