#include "comm/LineAddress.h"

#include <QRegularExpression>

bool LineAddress::looksLikeNetwork(const QString& text)
{
    return text.contains(QLatin1String("://"));
}

LineAddress LineAddress::parse(const QString& text, QString* error)
{
    LineAddress a;
    if (!looksLikeNetwork(text)) {
        a.path = text;
        return a;
    }
    const auto fail = [&](const QString& why) {
        if (error)
            *error = QStringLiteral("%1: %2").arg(text, why);
        return LineAddress{};
    };
    static const QRegularExpression form(
        QStringLiteral("^([a-z0-9]+)://(\\[[0-9A-Fa-f:.]+\\]|[^:/\\[\\]\\s]+):([0-9]{1,5})$"));
    const QRegularExpressionMatch m = form.match(text);
    if (!m.hasMatch())
        return fail(QStringLiteral("not rfc2217://HOST:PORT or tcp://HOST:PORT"));
    const QString scheme = m.captured(1);
    if (scheme == QLatin1String("rfc2217"))
        a.kind = Rfc2217;
    else if (scheme == QLatin1String("tcp") || scheme == QLatin1String("socket"))
        a.kind = RawTcp;
    else
        return fail(QStringLiteral("unknown kind \"%1\" (rfc2217 or tcp)").arg(scheme));
    const int port = m.captured(3).toInt();
    if (port < 1 || port > 65535)
        return fail(QStringLiteral("the port must be from 1 to 65535"));
    a.host = m.captured(2);
    if (a.host.startsWith(QLatin1Char('[')))
        a.host = a.host.mid(1, a.host.size() - 2);
    a.port = static_cast<quint16>(port);
    return a;
}

QString LineAddress::toString() const
{
    if (kind == Device)
        return path;
    const QString h = host.contains(QLatin1Char(':')) ? QStringLiteral("[%1]").arg(host) : host;
    return QStringLiteral("%1://%2:%3")
        .arg(kind == Rfc2217 ? QStringLiteral("rfc2217") : QStringLiteral("tcp"), h)
        .arg(port);
}
