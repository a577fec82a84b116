#include "comm/DeviceOrder.h"

#include <QFileInfo>
#include <QRegularExpression>
#include <algorithm>

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

QStringList DeviceOrder::inComOrder(const QStringList& systemLocations)
{
    QStringList sorted = systemLocations;
    std::sort(sorted.begin(), sorted.end(), comOrderLess);
    return sorted;
}
