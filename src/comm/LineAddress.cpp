#include "comm/LineAddress.h"

#include <QRegularExpression>
#include <QUrl>

namespace {

// Reads "ca=F&pin=P&cert=F&key=F" into `trust`; "" when it went through, else what is wrong.
QString readTrust(const QString& query, TlsTrust* trust)
{
    for (const QString& item : query.split(QLatin1Char('&'), Qt::SkipEmptyParts)) {
        const qsizetype eq = item.indexOf(QLatin1Char('='));
        const QString key = item.left(eq);
        const QString value =
            eq < 0 ? QString() : QUrl::fromPercentEncoding(item.mid(eq + 1).toUtf8());
        if (eq < 0 || value.isEmpty())
            return QStringLiteral("\"%1\" is not KEY=VALUE").arg(item);
        if (key == QLatin1String("pin")) {
            trust->pin = TlsTrust::parsePin(value);
            if (trust->pin.isEmpty())
                return QStringLiteral("the pin must be %1, not \"%2\"")
                    .arg(TlsTrust::pinForm(), value);
        } else if (key == QLatin1String("ca")) {
            trust->caFile = value;
        } else if (key == QLatin1String("cert")) {
            trust->certFile = value;
        } else if (key == QLatin1String("key")) {
            trust->keyFile = value;
        } else {
            return QStringLiteral("unknown setting \"%1\" (ca, pin, cert or key)").arg(key);
        }
    }
    if (trust->certFile.isEmpty() != trust->keyFile.isEmpty())
        return QStringLiteral("a client certificate needs both cert= and key=");
    return {};
}

QString encoded(const QString& value)
{
    return QString::fromLatin1(QUrl::toPercentEncoding(value, "/:._-~+"));
}

} // namespace

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
            *error = QStringLiteral("%1: %2").arg(shownName(text), why);
        return LineAddress{};
    };
    static const QRegularExpression form(QStringLiteral(
        "^([a-z0-9]+(?:\\+[a-z0-9]+)?)://(\\[[0-9A-Fa-f:.]+\\]|[^:/\\[\\]\\s?]+):([0-9]{1,5})"
        "(?:\\?(\\S*))?$"));
    const QRegularExpressionMatch m = form.match(text);
    if (!m.hasMatch())
        return fail(QStringLiteral("not rfc2217://HOST:PORT or tcp://HOST:PORT"));
    QString scheme = m.captured(1);
    a.tls = scheme.endsWith(QLatin1String("+tls"));
    if (a.tls)
        scheme.chop(4);
    if (scheme == QLatin1String("rfc2217"))
        a.kind = Rfc2217;
    else if (scheme == QLatin1String("tcp") || scheme == QLatin1String("socket"))
        a.kind = RawTcp;
    else
        return fail(QStringLiteral("unknown kind \"%1\" (rfc2217 or tcp, either with +tls)")
                        .arg(m.captured(1)));
    const int port = m.captured(3).toInt();
    if (port < 1 || port > 65535)
        return fail(QStringLiteral("the port must be from 1 to 65535"));
    if (m.capturedLength(4) > 0) {
        if (!a.tls)
            return fail(QStringLiteral("ca, pin, cert and key are for TLS addresses "
                                       "(rfc2217+tls:// or tcp+tls://)"));
        if (const QString why = readTrust(m.captured(4), &a.trust); !why.isEmpty())
            return fail(why);
    }
    a.host = m.captured(2);
    if (a.host.startsWith(QLatin1Char('[')))
        a.host = a.host.mid(1, a.host.size() - 2);
    a.port = static_cast<quint16>(port);
    return a;
}

QString LineAddress::displayName() const
{
    if (kind == Device)
        return path;
    const QString h = host.contains(QLatin1Char(':')) ? QStringLiteral("[%1]").arg(host) : host;
    return QStringLiteral("%1%2://%3:%4")
        .arg(kind == Rfc2217 ? QStringLiteral("rfc2217") : QStringLiteral("tcp"),
             tls ? QStringLiteral("+tls") : QString(), h)
        .arg(port);
}

QString LineAddress::toString() const
{
    QStringList query;
    if (!trust.caFile.isEmpty())
        query << QStringLiteral("ca=") + encoded(trust.caFile);
    if (!trust.pin.isEmpty())
        query << QStringLiteral("pin=") + TlsTrust::fingerprintText(trust.pin);
    if (!trust.certFile.isEmpty())
        query << QStringLiteral("cert=") + encoded(trust.certFile);
    if (!trust.keyFile.isEmpty())
        query << QStringLiteral("key=") + encoded(trust.keyFile);
    if (query.isEmpty() || kind == Device)
        return displayName();
    return displayName() + QLatin1Char('?') + query.join(QLatin1Char('&'));
}

QString LineAddress::withTrustDefaults(const QString& text, const TlsTrust& defaults)
{
    if (defaults.isEmpty() || !looksLikeNetwork(text))
        return text;
    QString error;
    LineAddress a = parse(text, &error);
    if (!error.isEmpty() || !a.tls)
        return text;
    a.trust = a.trust.over(defaults);
    return a.toString();
}

QString LineAddress::shownName(const QString& text)
{
    if (!looksLikeNetwork(text))
        return text;
    const qsizetype query = text.indexOf(QLatin1Char('?'));
    return query < 0 ? text : text.left(query);
}
