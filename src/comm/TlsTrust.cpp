#include "comm/TlsTrust.h"

#include <QRegularExpression>

TlsTrust TlsTrust::over(const TlsTrust& defaults) const
{
    TlsTrust t = *this;
    if (t.caFile.isEmpty())
        t.caFile = defaults.caFile;
    if (t.pin.isEmpty())
        t.pin = defaults.pin;
    // A certificate of its own comes with its own key; never one half from each.
    if (t.certFile.isEmpty() && t.keyFile.isEmpty()) {
        t.certFile = defaults.certFile;
        t.keyFile = defaults.keyFile;
    }
    return t;
}

QByteArray TlsTrust::parsePin(const QString& text)
{
    QString t = text.trimmed();
    static const QRegularExpression prefix(QStringLiteral("^(?:sha256:|sha256 fingerprint=)"),
                                           QRegularExpression::CaseInsensitiveOption);
    t.remove(prefix);
    static const QRegularExpression paired(
        QStringLiteral("^[0-9A-Fa-f]{2}(?::[0-9A-Fa-f]{2}){31}$"));
    static const QRegularExpression plain(QStringLiteral("^[0-9A-Fa-f]{64}$"));
    if (!paired.match(t).hasMatch() && !plain.match(t).hasMatch())
        return {};
    return QByteArray::fromHex(t.remove(QLatin1Char(':')).toLatin1());
}

QString TlsTrust::pinForm()
{
    return QStringLiteral("a SHA-256 fingerprint (64 hex digits, in pairs with ':' or not)");
}

QString TlsTrust::fingerprintText(const QByteArray& digest)
{
    return QString::fromLatin1(digest.toHex(':').toUpper());
}

bool operator==(const TlsTrust& a, const TlsTrust& b)
{
    return a.caFile == b.caFile && a.pin == b.pin && a.certFile == b.certFile &&
           a.keyFile == b.keyFile;
}
