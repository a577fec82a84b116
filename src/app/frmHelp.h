#pragma once
// The About window.

#include <QDialog>

class QLabel;
class QPushButton;

class frmHelp : public QDialog
{
    Q_OBJECT
public:
    frmHelp();

    QLabel* Image1;
    QLabel* lblHelp;
    QLabel* lblHelp2;
    QPushButton* cmdOK;

    void cmdOK_Click();
    void showModal();
};
