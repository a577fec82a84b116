#pragma once
// The service window that reads and fills the synchronizer's cells directly. The hidden
// key sequence in the finder shows and hides it; closing it by its close box destroys it.

#include "comm/Await.h"
#include <QWidget>

class DebugFillBytes;
class FlowHost;
class QPlainTextEdit;
class QPushButton;

class frmDebug : public QWidget
{
    Q_OBJECT
public:
    frmDebug(FlowHost& host, DebugFillBytes& fillBytes);

    QPushButton* cmdCompare;
    QPushButton* cmdDump;
    QPushButton* cmdRandFill;
    QPlainTextEdit* txtMsg;

    void cmdCompare_Click();
    // Reads cells 48 to 111 and lists each in txtMsg: address, bytes, or why it failed.
    Task<> cmdDump_Click();
    // Writes two random bytes (never LF or CR) into each of the cells 48 to 110.
    Task<> cmdRandFill_Click();

    // A Dump or RandFill is running.
    bool running() const { return running_; }

signals:
    // Closed by its close box, and no command of its own running: the window may go.
    void closedForGood();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    // The buttons that use the port follow the serial line's lease.
    void setPortCommandsEnabled(bool enabled);
    // Marks the window busy for one command; a close asked for meanwhile happens after.
    class RunScope;

    FlowHost& host_;
    DebugFillBytes& fillBytes_;
    bool running_ = false;
    bool closePending_ = false;
};
