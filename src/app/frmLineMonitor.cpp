#include "app/frmLineMonitor.h"

#include "app/Modal.h"
#include "app/WidgetMaking.h"
#include "comm/WireLog.h"
#include "comm/WireLogFile.h"
#include "model/WholeFile.h"

#include <QClipboard>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTextCursor>
#include <QTimer>
#include <QVBoxLayout>

using WidgetMaking::named;

namespace {
// Often enough to look live, seldom enough that a burst of frames costs one repaint.
constexpr int BatchMs = 100;

} // namespace

frmLineMonitor::frmLineMonitor(WireLog& log, Modal& modal, QWidget* parent)
    : QWidget(parent, Qt::Window), log_(log), modal_(modal), batch_(new QTimer(this))
{
    setObjectName(QStringLiteral("frmLineMonitor"));
    setWindowTitle(QStringLiteral("Line Monitor"));
    resize(760, 440);

    txtWire = named(new QPlainTextEdit(this), "txtWire");
    txtWire->setReadOnly(true);
    // Long lines wrap, so the time stamps stay in view.
    txtWire->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    txtWire->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    txtWire->setMaximumBlockCount(log.capacity());
    cmdSaveLog = named(new QPushButton(QStringLiteral("Save Log..."), this), "cmdSaveLog");
    cmdClearLog = named(new QPushButton(QStringLiteral("Clear"), this), "cmdClearLog");
    cmdCopyLog = named(new QPushButton(QStringLiteral("Copy"), this), "cmdCopyLog");

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(cmdSaveLog);
    buttons->addWidget(cmdCopyLog);
    buttons->addStretch(1);
    buttons->addWidget(cmdClearLog);
    auto* column = new QVBoxLayout(this);
    column->addWidget(txtWire, 1);
    column->addLayout(buttons);

    batch_->setSingleShot(true);
    batch_->setInterval(BatchMs);
    connect(batch_, &QTimer::timeout, this, &frmLineMonitor::flushPending);
    connect(&log_, &WireLog::added, this, &frmLineMonitor::entriesAdded);
    connect(&log_, &WireLog::cleared, this, [this] {
        txtWire->clear();
        shown_ = log_.totalAdded();
    });
    connect(cmdSaveLog, &QPushButton::clicked, this, [this] { cmdSaveLog_Click(); });
    connect(cmdClearLog, &QPushButton::clicked, this, [this] { cmdClearLog_Click(); });
    connect(cmdCopyLog, &QPushButton::clicked, this, [this] { cmdCopyLog_Click(); });
    reloadAll();
}

void frmLineMonitor::showEvent(QShowEvent* event)
{
    // While hidden the view is not kept up; it catches up when it shows again.
    flushPending();
    showNewest();
    QWidget::showEvent(event);
}

void frmLineMonitor::entriesAdded()
{
    // Called for every entry, often in the middle of a transfer: only arm the timer.
    if (isVisible() && !batch_->isActive())
        batch_->start();
}

void frmLineMonitor::flushPending()
{
    batch_->stop();
    const qint64 pending = log_.totalAdded() - shown_;
    if (pending <= 0)
        return;
    if (pending >= log_.capacity()) {
        reloadAll();
        return;
    }
    appendLines(log_.linesSince(shown_));
    shown_ = log_.totalAdded();
}

void frmLineMonitor::reloadAll()
{
    txtWire->setPlainText(log_.lines().join(QLatin1Char('\n')));
    shown_ = log_.totalAdded();
    showNewest();
}

void frmLineMonitor::appendLines(const QStringList& lines)
{
    QScrollBar* bar = txtWire->verticalScrollBar();
    // Follows the newest line only while the user has not scrolled up to read.
    const bool following = bar->value() >= bar->maximum();
    const int kept = bar->value();
    txtWire->appendPlainText(lines.join(QLatin1Char('\n')));
    if (following)
        showNewest();
    else
        bar->setValue(kept);
}

void frmLineMonitor::showNewest()
{
    // Scrolling by the bar alone can leave the last line half hidden below the view.
    QTextCursor end = txtWire->textCursor();
    end.movePosition(QTextCursor::End);
    txtWire->setTextCursor(end);
    txtWire->ensureCursorVisible();
    txtWire->verticalScrollBar()->setValue(txtWire->verticalScrollBar()->maximum());
}

Task<> frmLineMonitor::cmdSaveLog_Click()
{
    flushPending();
    const QString path = co_await modal_.saveFileName(
        this, QStringLiteral("Save Log"),
        QStringLiteral("Log Files (*.log);;Text Files (*.txt);;All Files (*.*)"),
        QStringLiteral("Log Files (*.log)"),
        WireLogFile::proposedName(QDateTime::currentDateTime()));
    if (path.isEmpty())
        co_return;
    QString reason;
    if (!writeWholeFile(path, WireLogFile::text(log_), &reason))
        co_await modal_.messageBox(
            this, QStringLiteral("The log could not be saved to %1:\r\n%2").arg(path, reason),
            true);
}

void frmLineMonitor::cmdClearLog_Click()
{
    log_.clear();
}

void frmLineMonitor::cmdCopyLog_Click()
{
    QGuiApplication::clipboard()->setText(QString::fromUtf8(WireLogFile::text(log_)));
}
