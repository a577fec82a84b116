#include "cli/RightUnit.h"

#include <QStringList>

namespace RightUnit {

QString mismatch(const QString& unit, std::optional<int> model, std::optional<int> channel,
                 std::optional<int> expectModel, std::optional<int> expectChannel)
{
    const auto text = [](std::optional<int> n) {
        return n ? QString::number(*n) : QStringLiteral("no number");
    };
    QStringList expected;
    if (expectModel && model != expectModel)
        expected << QStringLiteral("model %1").arg(*expectModel);
    if (expectChannel && channel != expectChannel)
        expected << QStringLiteral("channel %1").arg(*expectChannel);
    if (expected.isEmpty())
        return QString();
    return QStringLiteral("%1 holds model %2 channel %3; the rack expects %4")
        .arg(unit, text(model), text(channel), expected.join(QLatin1Char(' ')));
}

bool holdsAll(const CellSet& cells, const SavePlan& plan)
{
    if (!plan.ok() || plan.writes.isEmpty())
        return false;
    for (const CellWrite& w : plan.writes) {
        if (!cells.has(w.address))
            return false;
        const CellBytes held = cells.get(w.address);
        if (held.d0 != w.bytes.d0 || held.d1 != w.bytes.d1)
            return false;
    }
    return true;
}

} // namespace RightUnit
