#include "cli/UnitReport.h"

#include "cli/CliRequest.h"

#include <QJsonArray>

QString UnitReport::done() const
{
    const bool writes = command == QLatin1String("write") || command == QLatin1String("restore");
    if (writes && writesSent == 0)
        return QStringLiteral("untouched");
    if (writes && writesPlanned > 0 && writesSent >= writesPlanned)
        return QStringLiteral("written");
    if (writes)
        return status == ExitCode::LineFailed ? QStringLiteral("partly written")
                                              : QStringLiteral("written");
    if (status == ExitCode::LineFailed || status == ExitCode::BadInput)
        return QStringLiteral("nothing read");
    return command == QLatin1String("verify") ? QStringLiteral("compared") : QStringLiteral("read");
}

QString UnitReport::result() const
{
    switch (status) {
    case ExitCode::Success:
        return QStringLiteral("ok");
    case ExitCode::Attention:
        return differences.isEmpty() ? QStringLiteral("marks") : QStringLiteral("differences");
    case ExitCode::LineFailed:
        return QStringLiteral("line failed");
    default:
        return QStringLiteral("bad input");
    }
}

QJsonObject UnitReport::toJson() const
{
    QJsonObject o{{QStringLiteral("address"), address},
                  {QStringLiteral("command"), command},
                  {QStringLiteral("done"), done()},
                  {QStringLiteral("result"), result()},
                  {QStringLiteral("status"), status},
                  {QStringLiteral("marks"), QJsonArray::fromStringList(marks)},
                  {QStringLiteral("differences"), QJsonArray::fromStringList(differences)}};
    o.insert(QStringLiteral("model"), model ? QJsonValue(*model) : QJsonValue());
    o.insert(QStringLiteral("channel"), channel ? QJsonValue(*channel) : QJsonValue());
    o.insert(QStringLiteral("backup"), backup.isEmpty() ? QJsonValue() : QJsonValue(backup));
    return o;
}
