#include "comm/PortMap.h"

#include "comm/MachinePorts.h"

#include <optional>

void PortMap::setNetworkPort(int port, const QString& address)
{
    if (address.isEmpty())
        networkPorts_.remove(port);
    else if (port >= 1 && port <= MaxPort)
        networkPorts_[port] = address;
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
    if (networkPorts_.contains(port))
        return networkPorts_.value(port);
    if (hasDemoDevice())
        return port == 1 ? demoPath_ : basePath(port - 1);
    return basePath(port);
}

QString PortMap::deviceDescription(int port) const
{
    if (port < 1 || port > MaxPort)
        return {};
    if (networkPorts_.contains(port))
        return networkPorts_.value(port);
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
        return path;
    return MachinePorts::describe(path);
}
