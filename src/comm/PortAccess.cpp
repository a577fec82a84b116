#include "comm/PortAccess.h"

void PortAccess::appendStatus(const QString& line)
{
    if (receivers(SIGNAL(statusLine(QString))) > 0)
        emit statusLine(line);
    else
        statusBacklog.append(line);
}

QStringList PortAccess::takeBacklog()
{
    QStringList lines;
    lines.swap(statusBacklog);
    return lines;
}
