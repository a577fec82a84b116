#include "comm/MachinePorts.h"

#include "comm/DeviceOrder.h"

#include <QSerialPortInfo>

QStringList MachinePorts::devicesInComOrder()
{
    QStringList paths;
    for (const QSerialPortInfo& info : QSerialPortInfo::availablePorts())
        paths << info.systemLocation();
    return DeviceOrder::inComOrder(paths);
}

QString MachinePorts::describe(const QString& path)
{
    const QSerialPortInfo info(path);
    QStringList about;
    if (!info.description().isEmpty())
        about << info.description();
    if (!info.manufacturer().isEmpty() && !info.description().contains(info.manufacturer()))
        about << QStringLiteral("(%1)").arg(info.manufacturer());
    if (about.isEmpty())
        return info.systemLocation().isEmpty() ? path : info.systemLocation();
    return QStringLiteral("%1 - %2").arg(info.systemLocation(), about.join(QLatin1Char(' ')));
}
