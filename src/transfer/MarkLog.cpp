#include "transfer/MarkLog.h"

#include "model/CellAddress.h"
#include "model/HexText.h"
#include "transfer/MarkPlan.h"

namespace {

struct KeyCells
{
    const char* name;
    uint8_t first;
    int count;
};

KeyCells keyCells(MarkKey key)
{
    using namespace CellAddress;
    switch (key) {
    case MarkKey::Model:
        return {"Model", Model, 1};
    case MarkKey::Channel:
        return {"Channel", Channel, 1};
    case MarkKey::StartTitle:
        return {"Start Title", StartTitle, 1};
    case MarkKey::EndTitle:
        return {"End Title", EndTitle, 1};
    case MarkKey::StartChapter:
        return {"Start Chapter", StartChapter, 1};
    case MarkKey::EndChapter:
        return {"End Chapter", EndChapter, 1};
    case MarkKey::StartFrame:
        return {"Start Frame", StartPoint, PointCells};
    case MarkKey::EndFrame:
        return {"End Frame", EndPoint, PointCells};
    case MarkKey::StartTime:
        return {"Start Time", StartPoint, PointCells};
    case MarkKey::EndTime:
        break;
    }
    return {"End Time", EndPoint, PointCells};
}

QString valueOf(MarkKey key, const SyncParameters& v)
{
    switch (key) {
    case MarkKey::Model:
        return QString::number(v.Model);
    case MarkKey::Channel:
        return QString::number(v.Channel);
    case MarkKey::StartTitle:
        return QString::number(v.StartTitle);
    case MarkKey::EndTitle:
        return QString::number(v.EndTitle);
    case MarkKey::StartChapter:
        return QString::number(v.StartChapter);
    case MarkKey::EndChapter:
        return QString::number(v.EndChapter);
    case MarkKey::StartFrame:
        return QString::number(v.StartFrame);
    case MarkKey::EndFrame:
        return QString::number(v.EndFrame);
    case MarkKey::StartTime:
        return QStringLiteral("%1:%2")
            .arg(v.StartMinutes)
            .arg(v.StartSeconds, 2, 10, QLatin1Char('0'));
    case MarkKey::EndTime:
        break;
    }
    return QStringLiteral("%1:%2").arg(v.EndMinutes).arg(v.EndSeconds, 2, 10, QLatin1Char('0'));
}

} // namespace

QString markKeyName(MarkKey key)
{
    return QString::fromLatin1(keyCells(key).name);
}

QList<PlainMark> plainMarks(const ReadMarks& marks, const SyncParameters& v)
{
    QList<PlainMark> out;
    for (int k = 0; k < MarkKeyCount; ++k) {
        const auto key = static_cast<MarkKey>(k);
        const Mark& m = marks[key];
        if (m.Unreadable)
            out << PlainMark{markKeyName(key), QStringLiteral("unreadable"), valueOf(key, v)};
        else if (m.OutOfRange && markKeyInUse(key, v.StartMode, v.EndMode))
            out << PlainMark{markKeyName(key), QStringLiteral("out of range"), valueOf(key, v)};
    }
    return out;
}

QStringList plainMarkLines(const ReadMarks& marks, const SyncParameters& v)
{
    QStringList out;
    for (const PlainMark& m : plainMarks(marks, v))
        out << QStringLiteral("%1: %2, set to %3").arg(m.field, m.mark, m.value);
    return out;
}

QStringList describeMarks(const ReadMarks& marks, const CellSet& cells, const SyncParameters& v)
{
    QStringList out;
    for (int k = 0; k < MarkKeyCount; ++k) {
        const auto key = static_cast<MarkKey>(k);
        const Mark& m = marks[key];
        if (!m.Unreadable && !m.OutOfRange)
            continue;
        const KeyCells kc = keyCells(key);
        QStringList bytes;
        for (int i = 0; i < kc.count; ++i) {
            const CellBytes c = cells.get(static_cast<uint8_t>(kc.first + i));
            bytes << hexByte(c.d0) + QLatin1Char(' ') + hexByte(c.d1);
        }
        out << QStringLiteral("%1 marked %2: cell%3 %4 bytes %5, set to %6")
                   .arg(QLatin1String(kc.name),
                        m.Unreadable ? QStringLiteral("red (unreadable)")
                                     : QStringLiteral("yellow (out of range)"),
                        kc.count > 1 ? QStringLiteral("s") : QString(),
                        kc.count > 1 ? hexByte(kc.first) + QLatin1Char('-') +
                                           hexByte(static_cast<uint8_t>(kc.first + kc.count - 1))
                                     : hexByte(kc.first),
                        bytes.join(QLatin1String(" | ")), valueOf(key, v));
    }
    return out;
}
