#include "comm/WireLog.h"
#include "model/HexText.h"

#include <algorithm>

Q_LOGGING_CATEGORY(lcWire, "corvane.wire", QtWarningMsg)

WireLog::WireLog(int capacity) : ring_(std::max(capacity, 1))
{
    clock_.start();
    startedAt_ = QDateTime::currentDateTime();
}

void WireLog::add(WireLogEntry::Kind kind, const QString& text)
{
    WireLogEntry e{clock_.nsecsElapsed() / 1e6, kind, text};
    qCDebug(lcWire).noquote() << format(e);
    const int cap = capacity();
    if (count_ < cap) {
        ring_[(first_ + count_) % cap] = std::move(e);
        ++count_;
    } else {
        ring_[first_] = std::move(e);
        first_ = (first_ + 1) % cap;
    }
    ++total_;
    emit added();
}

QVector<WireLogEntry> WireLog::entries() const
{
    QVector<WireLogEntry> out;
    out.reserve(count_);
    for (int i = 0; i < count_; ++i)
        out.append(ring_[(first_ + i) % capacity()]);
    return out;
}

void WireLog::clear()
{
    first_ = 0;
    count_ = 0;
    emit cleared();
}

QString WireLog::format(const WireLogEntry& e)
{
    static const char* const marks[] = {">", "<", "-", "=", "!"};
    return QStringLiteral("%1  %2 %3")
        .arg(e.ms, 12, 'f', 3)
        .arg(QLatin1String(marks[e.kind]), e.text);
}

QStringList WireLog::lines() const
{
    QStringList out;
    for (const WireLogEntry& e : entries())
        out << format(e);
    return out;
}

QStringList WireLog::linesSince(qint64 sequence) const
{
    const qint64 oldest = total_ - count_;
    QStringList out;
    for (qint64 n = std::max(sequence, oldest); n < total_; ++n)
        out << format(ring_[(first_ + static_cast<int>(n - oldest)) % capacity()]);
    return out;
}

QString WireLog::hex(const QByteArray& bytes)
{
    QStringList parts;
    for (char c : bytes)
        parts << hexByte(static_cast<uint8_t>(c));
    return parts.join(QLatin1Char(' '));
}

namespace {
// A data byte as the unit keeps it: printable as itself, anything else in hex.
QString shown(uint8_t b)
{
    if (b >= 32 && b < 127 && b != '"')
        return QString(QChar(char16_t(b)));
    return QStringLiteral("<%1>").arg(hexByte(b));
}
} // namespace

QString WireLog::describeSent(const QByteArray& f)
{
    if (f == QByteArrayLiteral("OK\n\r"))
        return QStringLiteral("ATTN");
    if (f.size() == 3 && f[0] == 'R' && f[2] == '\r')
        return QStringLiteral("R %1").arg(hexByte(static_cast<uint8_t>(f[1])));
    if (f.size() == 5 && f[0] == 'W' && f[4] == '\r')
        return QStringLiteral("W %1 \"%2%3\"")
            .arg(hexByte(static_cast<uint8_t>(f[1])), shown(static_cast<uint8_t>(f[2])),
                 shown(static_cast<uint8_t>(f[3])));
    return QStringLiteral("bytes [%1]").arg(hex(f));
}

QString WireLog::describeReceived(const QByteArray& b)
{
    if (b.size() == 4 && b[2] == '\n' && b[3] == '\r')
        return QStringLiteral("REPLY \"%1%2\" LF CR")
            .arg(shown(static_cast<uint8_t>(b[0])), shown(static_cast<uint8_t>(b[1])));
    if (b.contains("ATS0=1"))
        return QStringLiteral("RESET announcement [%1]").arg(hex(b));
    return QStringLiteral("unrecognised bytes [%1]").arg(hex(b));
}
