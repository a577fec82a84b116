#include "comm/PortMap.h"

#include "comm/LineAddress.h"
#include "comm/MachinePorts.h"

#include <optional>

void PortMap::setNetworkPort(int port, const QString& address)
{
    if (address.isEmpty())
        networkPorts_.remove(port);
    else if (port >= 1 && port <= MaxPort)
        networkPorts_[port] = address;
}

bool PortMap::setMapText(const QString& map, QString* error)
{
    QMap<int, QString> mapping;
    for (const QString& item : map.split(QLatin1Char(','), Qt::SkipEmptyParts)) {
        bool ok = false;
        const int n = item.section(QLatin1Char('='), 0, 0).trimmed().toInt(&ok);
        const QString path = item.section(QLatin1Char('='), 1).trimmed();
        QString addressError;
        LineAddress::parse(path, &addressError);
        if (!addressError.isEmpty()) {
            if (error)
                *error = QStringLiteral("CORVANE_PORT_MAP: %1").arg(addressError);
            return false;
        }
        if (!ok || n < 1 || n > MaxPort || path.isEmpty()) {
            if (error)
                *error = QStringLiteral("CORVANE_PORT_MAP: \"%1\" is not N=DEVICE with N from 1 "
                                        "to 16")
                             .arg(item);
            return false;
        }
        mapping[n] = path;
    }
    setTestMapping(mapping);
    byHand_ = true;
    return true;
}

bool PortMap::namedByHand(int port) const
{
    if (!byHand_ || !testMapping_ || networkPorts_.contains(port))
        return false;
    return testMapping_->contains(hasDemoDevice() ? port - 1 : port);
}

int PortMap::nextFreePort() const
{
    for (int n = 1; n <= MaxPort; ++n)
        if (devicePath(n).isEmpty())
            return n;
    return 0;
}

QString PortMap::devicePath(int port) const
{
    if (port < 1 || port > MaxPort)
        return {};
    QString path;
    if (networkPorts_.contains(port))
        path = networkPorts_.value(port);
    else if (hasDemoDevice())
        path = port == 1 ? demoPath_ : basePath(port - 1);
    else
        path = basePath(port);
    return LineAddress::withTrustDefaults(path, tlsDefaults_);
}

QString PortMap::deviceName(int port) const
{
    return LineAddress::shownName(devicePath(port));
}

QString PortMap::deviceDescription(int port) const
{
    if (port < 1 || port > MaxPort)
        return {};
    if (networkPorts_.contains(port))
        return LineAddress::shownName(networkPorts_.value(port));
    if (hasDemoDevice())
        return port == 1 ? demoDescription() : baseDescription(port - 1);
    return baseDescription(port);
}

QString PortMap::basePath(int port) const
{
    if (testMapping_)
        return testMapping_->value(port);
    const QStringList devices = MachinePorts::devicesInComOrder();
    return port <= devices.size() ? devices.at(port - 1) : QString();
}

QString PortMap::baseDescription(int port) const
{
    const QString path = basePath(port);
    if (path.isEmpty() || testMapping_)
        return LineAddress::shownName(path);
    return MachinePorts::describe(path);
}
