#include "comm/PortLease.h"

#include "comm/WireLog.h"

bool PortLease::take(const QString& command)
{
    if (!isFree() || command.isEmpty()) {
        if (log_ && !command.isEmpty())
            log_->command(
                QStringLiteral("%1 refused: the line is held by %2").arg(command, holder_));
        return false;
    }
    holder_ = command;
    if (log_)
        log_->command(QStringLiteral("begin %1").arg(command));
    emit changed(false);
    return true;
}

void PortLease::giveBack()
{
    if (isFree())
        return;
    if (log_)
        log_->command(QStringLiteral("end %1").arg(holder_));
    holder_.clear();
    emit changed(true);
}
