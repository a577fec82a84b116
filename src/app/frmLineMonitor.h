#pragma once
// The line monitor: the wire log shown live, for looking at what went over the serial
// line and for sending it to support. Modeless; it only reads the log, so it can stay open
// through any transfer without holding the line.

#include "comm/Await.h"
#include <QWidget>

class Modal;
class QPlainTextEdit;
class QPushButton;
class QTimer;
class WireLog;

class frmLineMonitor : public QWidget
{
    Q_OBJECT
public:
    frmLineMonitor(WireLog& log, Modal& modal, QWidget* parent);

    Task<> cmdSaveLog_Click();
    void cmdClearLog_Click();
    void cmdCopyLog_Click();

    // New entries reach the view in batches; this shows the pending ones at once.
    void flushPending();

protected:
    void showEvent(QShowEvent* event) override;

private:
    void entriesAdded();
    void reloadAll();
    void appendLines(const QStringList& lines);
    void showNewest();

    WireLog& log_;
    Modal& modal_;
    QPlainTextEdit* txtWire;
    QPushButton* cmdSaveLog;
    QPushButton* cmdClearLog;
    QPushButton* cmdCopyLog;
    QTimer* batch_;
    qint64 shown_ = 0; // log entries up to this number are in the view
};
