#include "comm/PortLease.h"

bool PortLease::take(const QString& command)
{
    if (!isFree() || command.isEmpty())
        return false;
    holder_ = command;
    emit changed(false);
    return true;
}

void PortLease::giveBack()
{
    if (isFree())
        return;
    holder_.clear();
    emit changed(true);
}
