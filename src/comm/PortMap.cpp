#include "comm/PortMap.h"

#include "comm/MachinePorts.h"

#include <QFileInfo>
#include <QRegularExpression>
#include <algorithm>
#include <optional>

namespace {

// 0: a UART of the machine itself; 1: a USB adapter; 2: anything else.
int deviceGroup(const QString& name)
{
    static const QRegularExpression builtIn(
        QStringLiteral("^tty(S|AMA|mxc|SAC|O|THS|MSM|PS|HS|AS|LP)[0-9]+$"));
    static const QRegularExpression usb(QStringLiteral("^(tty(USB|ACM)|cu\\.usb)"));
    if (builtIn.match(name).hasMatch())
        return 0;
    if (usb.match(name).hasMatch())
        return 1;
    return 2;
}

// "ttyS10" -> ("ttyS", 10); names without a trailing number get -1.
std::pair<QString, long> splitTrailingNumber(const QString& name)
{
    int i = name.size();
    while (i > 0 && name.at(i - 1).isDigit())
        --i;
    if (i == name.size())
        return {name, -1};
    return {name.left(i), name.mid(i).toLong()};
}

bool comOrderLess(const QString& a, const QString& b)
{
    const QString na = QFileInfo(a).fileName();
    const QString nb = QFileInfo(b).fileName();
    const int ga = deviceGroup(na), gb = deviceGroup(nb);
    if (ga != gb)
        return ga < gb;
    const auto [pa, xa] = splitTrailingNumber(na);
    const auto [pb, xb] = splitTrailingNumber(nb);
    if (pa != pb)
        return pa < pb;
    if (xa != xb)
        return xa < xb;
    return a < b;
}

} // namespace

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

QStringList PortMap::orderDevices(const QStringList& systemLocations)
{
    QStringList sorted = systemLocations;
    std::sort(sorted.begin(), sorted.end(), comOrderLess);
    return sorted;
}
