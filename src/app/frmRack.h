#pragma once
// The rack window: one row per unit (its port, device, model, channel, state, result and
// last backup), filled by Scan, Listen, a rack file or by hand, and the actions on the
// selected rows, every unit side by side. Each row is one sentence for a screen reader, and
// each change of a row is told on the line under the table.

#include "app/RackModel.h"
#include "comm/Await.h"

#include <QWidget>
#include <functional>

class Modal;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QTableWidget;

class frmRack : public QWidget
{
    Q_OBJECT
public:
    frmRack(RackModel& rack, Modal& modal, QWidget* parent = nullptr);

    QTableWidget* tblRack;
    QPushButton* cmdScan;
    QPushButton* cmdListen;
    QPushButton* cmdStop;
    QLineEdit* txtAddUnit;
    QPushButton* cmdAddUnit;
    QPushButton* cmdOpenRack;
    QPushButton* cmdSaveRack;
    QPushButton* cmdWriteFile;
    QPushButton* cmdWriteOwn;
    QPushButton* cmdVerify;
    QPushButton* cmdBackup;
    QPushButton* cmdRestore;
    QPushButton* cmdRestoreImage;
    QPushButton* cmdOpenInEditor;
    QPushButton* cmdSelectFailed;
    QLabel* lblRackStatus;          // what the rack as a whole has to say
    QLabel* lblRowChange;           // the last row that changed, as one sentence
    QPlainTextEdit* txtRackDetails; // the current row's messages and differences

    // Before an action opens a line: the application gives up the editor's port. False
    // when it cannot (a transfer runs there): then the action does not start, and
    // `refusal` says why.
    std::function<bool(QString* refusal)> beforeLines;
    // Open in Editor: the editor takes the unit (defaults, then a load, the port kept).
    std::function<Task<>(RackRow row)> openInEditor;

    // The buttons' commands; each ends when its action has ended.
    Task<> cmdScan_Click();
    Task<> cmdListen_Click();
    void cmdStop_Click();
    void cmdAddUnit_Click();
    Task<> cmdOpenRack_Click();
    Task<> cmdSaveRack_Click();
    Task<> cmdWriteFile_Click();
    Task<> cmdWriteOwn_Click();
    Task<> cmdVerify_Click();
    Task<> cmdBackup_Click();
    Task<> cmdRestore_Click();
    Task<> cmdRestoreImage_Click();
    Task<> cmdOpenInEditor_Click();
    void cmdSelectFailed_Click();
    // The units of a rack file added, or its mistakes told.
    void openRackFile(const QString& path);
    void saveRackFile(const QString& path);

    // The selected rows, top down.
    QList<int> selectedRows() const;
    void selectRows(const QList<int>& rows);
    // Listen's length; tests shorten it.
    double listenSeconds = 30;

private:
    void addRowToTable(int row);
    void showRow(int row);
    void showDetails();
    void showBusy();
    bool startLines();
    // The selection an action may start on: empty when there is none (said) or the lines
    // cannot be had.
    QList<int> rowsToActOn();
    // The buttons shown as they are while `action` runs, until it has ended.
    Task<> acting(Task<>& action);

    RackModel& rack_;
    Modal& modal_;
};
