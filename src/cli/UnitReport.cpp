#include "cli/UnitReport.h"

#include "cli/CliRequest.h"

#include <QJsonArray>
#include <QRegularExpression>

QString UnitReport::done() const
{
    const bool writes = command == QLatin1String("write") || command == QLatin1String("restore");
    if (writes && writesSent == 0)
        return QStringLiteral("untouched");
    if (writes && writesPlanned > 0 && writesSent >= writesPlanned)
        return QStringLiteral("written");
    if (writes)
        return status == ExitCode::LineFailed || stopped ? QStringLiteral("partly written")
                                                         : QStringLiteral("written");
    if (status == ExitCode::LineFailed || status == ExitCode::BadInput || stopped)
        return QStringLiteral("nothing read");
    return command == QLatin1String("verify") ? QStringLiteral("compared") : QStringLiteral("read");
}

QString UnitReport::result() const
{
    if (stopped)
        return QStringLiteral("stopped");
    if (refused)
        return QStringLiteral("refused");
    switch (status) {
    case ExitCode::Success:
        return alreadyHeld ? QStringLiteral("already held") : QStringLiteral("ok");
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
    QJsonArray marked, differing;
    for (const Mark& m : marks)
        marked.append(QJsonObject{{QStringLiteral("field"), m.field},
                                  {QStringLiteral("mark"), m.mark},
                                  {QStringLiteral("value"), m.value}});
    for (const Difference& d : differences)
        differing.append(QJsonObject{{QStringLiteral("field"), d.field},
                                     {QStringLiteral("unit"), d.unit},
                                     {QStringLiteral("file"), d.file}});
    QJsonObject o{{QStringLiteral("unit"), unit},       {QStringLiteral("address"), address},
                  {QStringLiteral("command"), command}, {QStringLiteral("done"), done()},
                  {QStringLiteral("result"), result()}, {QStringLiteral("status"), status},
                  {QStringLiteral("marks"), marked},    {QStringLiteral("differences"), differing}};
    o.insert(QStringLiteral("model"), model ? QJsonValue(*model) : QJsonValue());
    o.insert(QStringLiteral("channel"), channel ? QJsonValue(*channel) : QJsonValue());
    o.insert(QStringLiteral("backup"), backup.isEmpty() ? QJsonValue() : QJsonValue(backup));
    if (command == QLatin1String("read"))
        o.insert(QStringLiteral("settings"), QJsonArray::fromStringList(settings));
    if (!image.isEmpty())
        o.insert(QStringLiteral("image"), QJsonArray::fromStringList(image));
    return o;
}

QString UnitReport::undoHint() const
{
    if (writesSent == 0)
        return QString();
    if (backup.isEmpty())
        return QStringLiteral("no backup was kept, so what it held before is not known");
    // A path with blanks or shell characters in single quotes, so the command can be pasted.
    const auto shellWord = [](QString word) -> QString {
        static const QRegularExpression plain(QStringLiteral("^[A-Za-z0-9_./:=+,@%-]+$"));
        if (plain.match(word).hasMatch())
            return word;
        return QLatin1Char('\'') + word.replace(QLatin1Char('\''), QLatin1String("'\\''")) +
               QLatin1Char('\'');
    };
    const QString which = unit.startsWith(QLatin1String("COM"))
                              ? QStringLiteral("--port ") + unit.mid(3)
                              : QStringLiteral("--device ") + shellWord(unit);
    // The backup is this unit's own, with its model and channel, which a partial write may
    // have changed: restore those too, without the check for another unit's image.
    return QStringLiteral("its backup is %1; to undo: corvane-cli restore %2 --unlock --force %3")
        .arg(backup, which, shellWord(backup));
}
