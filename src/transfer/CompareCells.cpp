#include "transfer/CompareCells.h"

#include "model/CellDecode.h"
#include "transfer/CellMap.h"
#include "transfer/LoadValidation.h"
#include "transfer/TextImages.h"
#include "transfer/WholeNumber.h"

namespace {

QString bytesOf(CellBytes c)
{
    return QStringLiteral("%1 %2")
        .arg(c.d0, 2, 16, QLatin1Char('0'))
        .arg(c.d1, 2, 16, QLatin1Char('0'))
        .toUpper();
}

const char* modeName(int code)
{
    static const char* const names[] = {"Title", "Chapter", "Time", "Frame Number"};
    return code >= 0 && code < 4 ? names[code] : "?";
}

class Differences
{
public:
    QVector<CellDifference> list;

    void add(uint8_t address, const char* field, const QString& expected, const QString& read)
    {
        list.append({address, QString::fromLatin1(field), expected, read});
    }

    // A number cell against a box's text; a text that is no number never matches.
    void number(const CellSet& cells, uint8_t address, const char* field, const QString& text)
    {
        const CellBytes cell = cells.get(address);
        const int stored = CellDecode::number(cell);
        const std::optional<int64_t> shown = parseWholeNumber(text);
        if (stored < 0 || !shown || *shown != stored)
            add(address, field, text,
                stored < 0 ? QStringLiteral("bytes ") + bytesOf(cell) : QString::number(stored));
    }

    void point(const CellSet& cells, uint8_t first, const char* field, PointMode mode,
               const QString& frameText, int minutes, int seconds)
    {
        std::array<CellBytes, 4> pointCells;
        QStringList raw;
        for (int i = 0; i < CellAddress::PointCells; ++i) {
            pointCells[i] = cells.get(static_cast<uint8_t>(first + i));
            raw << bytesOf(pointCells[i]);
        }
        const CellDecode::PointReading p = CellDecode::point(pointCells);
        const QString time =
            QStringLiteral("%1:%2").arg(minutes).arg(seconds, 2, 10, QLatin1Char('0'));
        if (!p.readable()) {
            add(first, field, mode == PointMode::Timecode ? time : frameText,
                QStringLiteral("bytes ") + raw.join(QLatin1String(" | ")));
        } else if (mode == PointMode::Timecode) {
            if (p.minutes != minutes)
                add(first, field, QStringLiteral("minutes %1").arg(minutes),
                    QStringLiteral("minutes %1").arg(p.minutes));
            if (p.seconds != seconds)
                add(first, field, QStringLiteral("seconds %1").arg(seconds),
                    QStringLiteral("seconds %1").arg(p.seconds));
        } else {
            const std::optional<int64_t> shown = parseWholeNumber(frameText);
            if (!shown || *shown != p.frame)
                add(first, field, frameText, QString::number(p.frame));
        }
    }

    template <size_t N>
    void image(const CellSet& cells, uint8_t first, const char* field,
               const std::array<uint8_t, N>& expected)
    {
        for (size_t i = 0; i < (N - 1) / 2; ++i) {
            const auto address = static_cast<uint8_t>(first + i);
            const CellBytes got = cells.get(address);
            const CellBytes want = imageCell(expected, int(i));
            if (CellDecode::filterInitChar(got.d0) != want.d0 ||
                CellDecode::filterInitChar(got.d1) != want.d1)
                add(address, field, QStringLiteral("bytes ") + bytesOf(want),
                    QStringLiteral("bytes ") + bytesOf(got));
        }
    }
};

} // namespace

QVector<CellDifference> findDifferences(const EditorSnapshot& e, PointMode startMode,
                                        PointMode endMode, const CellSet& cells)
{
    using namespace CellAddress;
    Differences d;
    if (e.ModelChannelUnlocked) {
        d.number(cells, Model, "Model", e.txtModel);
        d.number(cells, Channel, "Channel", e.txtChannel);
    }

    const CellBytes mode = cells.get(Mode);
    const int startCode = CellDecode::startModeCode(mode), endCode = CellDecode::endModeCode(mode);
    if (startCode != static_cast<int>(startMode) || endCode != static_cast<int>(endMode))
        d.add(Mode, "Start Mode / End Mode",
              QStringLiteral("%1 / %2").arg(QLatin1String(modeName(int(startMode))),
                                            QLatin1String(modeName(int(endMode)))),
              QStringLiteral("%1 / %2 (bytes %3)")
                  .arg(QLatin1String(modeName(startCode)), QLatin1String(modeName(endCode)),
                       bytesOf(mode)));

    d.point(cells, StartPoint, "Start point", startMode, e.txtStartFrame, e.scrStartMinutes,
            e.scrStartSeconds);
    d.point(cells, EndPoint, "End point", endMode, e.txtEndFrame, e.scrEndMinutes, e.scrEndSeconds);

    d.number(cells, StartTitle, "Start Title", e.txtStartTitle);
    d.number(cells, EndTitle, "End Title", e.txtEndTitle);
    d.number(cells, StartChapter, "Start Chapter", e.txtStartChapter);
    d.number(cells, EndChapter, "End Chapter", e.txtEndChapter);

    const uint8_t options = cells.get(Option).d1;
    const auto onOff = [](bool on) { return on ? QStringLiteral("On") : QStringLiteral("Off"); };
    if (((options & Limits::SynchronizeBit) != 0) != e.chkSynchronize)
        d.add(Option, "Synchronize", onOff(e.chkSynchronize), onOff(!e.chkSynchronize));
    if (((options & Limits::SquelchBit) != 0) != e.chkSquelch)
        d.add(Option, "Squelch", onOff(e.chkSquelch), onOff(!e.chkSquelch));

    d.image(cells, Comment, "Comment", commentImage(e.txtComment));
    d.image(cells, InitStr, "Init Strings", initImage(e.txtInitStr));
    return d.list;
}

QVector<CellDifference> differencesByField(const QVector<CellDifference>& found,
                                           const EditorSnapshot& e, const CellSet& cells)
{
    const CellReading read = readCells(cells);
    const auto quoted = [](const QString& t) { return QLatin1Char('"') + t + QLatin1Char('"'); };
    const auto joined = [&](const std::array<QString, 4>& strings) {
        QStringList q;
        for (const QString& t : strings)
            q << quoted(t);
        return q.join(QLatin1String(" | "));
    };
    QVector<CellDifference> out;
    for (const CellDifference& d : found) {
        const bool comment = d.field == QLatin1String("Comment");
        const bool inits = d.field == QLatin1String("Init Strings");
        if (!comment && !inits) {
            out.append(d);
            continue;
        }
        if (!out.isEmpty() && out.last().field == d.field)
            continue; // one text, however many of its cells differ
        // The texts as the editor holds them (the comment's 15 characters) and as they read.
        out.append({d.address, d.field,
                    comment ? quoted(e.txtComment.left(Limits::CommentMax)) : joined(e.txtInitStr),
                    comment ? quoted(read.Comment) : joined(read.InitStr)});
    }
    return out;
}

QString describeDifference(const CellDifference& d)
{
    const QString address = QStringLiteral("%1").arg(d.address, 2, 16, QLatin1Char('0')).toUpper();
    return QStringLiteral("cell %1 (%2): expected %3, read %4")
        .arg(address, d.field, d.expected, d.read);
}
