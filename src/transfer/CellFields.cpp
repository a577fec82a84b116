#include "transfer/CellFields.h"

#include "model/CellAddress.h"
#include "transfer/LoadValidation.h"

namespace {

QString number(const char* name, int value)
{
    return QStringLiteral("%1: %2").arg(
        QLatin1String(name), value < 0 ? QStringLiteral("not a number") : QString::number(value));
}

QString modeName(PointMode m)
{
    switch (m) {
    case PointMode::Title:
        return QStringLiteral("Title");
    case PointMode::Chapter:
        return QStringLiteral("Chapter");
    case PointMode::Timecode:
        return QStringLiteral("Time");
    case PointMode::Frame:
        return QStringLiteral("Frame");
    }
    return {};
}

QString point(const char* name, int part, const CellDecode::PointReading& p)
{
    const QString where =
        QStringLiteral("%1 point, part %2 of 4: ").arg(QLatin1String(name)).arg(part);
    if (!p.readable())
        return where + QStringLiteral("not a number");
    return where + QStringLiteral("frame %1 (%2:%3)")
                       .arg(p.frame)
                       .arg(p.minutes)
                       .arg(p.seconds, 2, 10, QLatin1Char('0'));
}

} // namespace

QString describeCellField(const CellSet& cells, uint8_t address)
{
    namespace A = CellAddress;
    const CellReading r = readCells(cells);
    if (address >= A::StartPoint && address < A::StartPoint + A::PointCells)
        return point("Start", address - A::StartPoint + 1, r.StartPoint);
    if (address >= A::EndPoint && address < A::EndPoint + A::PointCells)
        return point("End", address - A::EndPoint + 1, r.EndPoint);
    switch (address) {
    case A::StartTitle:
        return number("Start Title", r.StartTitle);
    case A::EndTitle:
        return number("End Title", r.EndTitle);
    case A::StartChapter:
        return number("Start Chapter", r.StartChapter);
    case A::EndChapter:
        return number("End Chapter", r.EndChapter);
    case A::Model:
        return number("Model", r.Model);
    case A::Channel:
        return number("Channel", r.Channel);
    case A::Mode:
        return QStringLiteral("Modes: start %1, end %2")
            .arg(modeName(r.StartMode), modeName(r.EndMode));
    case A::Option:
        return QStringLiteral("Options: Synchronize %1, Squelch %2")
            .arg(r.OptionBits & Limits::SynchronizeBit ? QStringLiteral("on") : QStringLiteral("off"),
                 r.OptionBits & Limits::SquelchBit ? QStringLiteral("on") : QStringLiteral("off"));
    default:
        break;
    }
    if (address >= A::Comment && address < A::Comment + A::CommentCells)
        return QStringLiteral("Comment, part %1 of 8: \"%2\"")
            .arg(address - A::Comment + 1)
            .arg(r.Comment);
    if (address >= A::InitStr && address < A::InitStr + A::InitStrCells) {
        const int n = (address - A::InitStr) / 8;
        return QStringLiteral("Init String %1, part %2 of 8: \"%3\"")
            .arg(n + 1)
            .arg((address - A::InitStr) % 8 + 1)
            .arg(r.InitStr[n]);
    }
    return QStringLiteral("(not used)");
}
