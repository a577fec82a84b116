#pragma once
// The simulated unit's own window (demo mode): its 64 cells, editable, its RESET button,
// faults for its replies, the cable, factory defaults, and the cells to and from a file.

#include "comm/Await.h"
#include <QWidget>

class Modal;
class QComboBox;
class QLabel;
class QPushButton;
class QTableWidget;
class QTableWidgetItem;
class QTimer;

namespace simsync {
class SimUnit;
}

class frmSimUnit : public QWidget
{
    Q_OBJECT
public:
    frmSimUnit(simsync::SimUnit& unit, Modal& modal, QWidget* parent);

    void cmdSimReset_Click();
    Task<> cmdSimUnplug_Click();
    void cmdSimDefaults_Click();
    Task<> cmdSimLoadCells_Click();
    Task<> cmdSimSaveCells_Click();
    void cmbSimFault_Click();

    // The table column a user edits a cell in: two bytes in hex, or two characters.
    enum Column
    {
        ColAddress,
        ColHex,
        ColText,
        ColField
    };

private:
    void showCells();
    void cellEdited(QTableWidgetItem* item);
    void showLine();

    simsync::SimUnit& unit_;
    Modal& modal_;
    QTableWidget* tblCells;
    QPushButton* cmdSimReset;
    QComboBox* cmbSimFault;
    QPushButton* cmdSimUnplug;
    QPushButton* cmdSimDefaults;
    QPushButton* cmdSimLoadCells;
    QPushButton* cmdSimSaveCells;
    QLabel* lblSimLine;
    QTimer* refresh_;
    bool filling_ = false;
    bool sized_ = false;
};
