#pragma once
// The About window.

#include "comm/Await.h"
#include <QDialog>

class QLabel;
class Modal;
class QPushButton;

class frmHelp : public QDialog
{
    Q_OBJECT
public:
    explicit frmHelp(Modal& modal);

    QLabel* Image1;
    QLabel* lblHelp;
    QLabel* lblHelp2;
    QPushButton* cmdOK;

    void cmdOK_Click();
    // Shown modal over `owner`, centred on it.
    Task<> showOver(QWidget* owner);

private:
    Modal& modal_;
};
