#include "comm/WireLogFile.h"

#include "comm/WireLog.h"
#include "model/AppIdentity.h"

#include <QStringList>

QByteArray WireLogFile::text(const WireLog& log)
{
    const QVector<WireLogEntry> entries = log.entries();
    const QDateTime start = log.startedAt();
    QString port = QStringLiteral("none opened");
    for (const WireLogEntry& e : entries)
        if (e.kind == WireLogEntry::Event && e.text.contains(QLatin1String(" opened: ")))
            port = e.text;
    QStringList lines{
        QStringLiteral("%1 %2 wire log").arg(AppIdentity::Title, AppIdentity::VersionNumber()),
        QStringLiteral("Log starts: %1")
            .arg((entries.isEmpty() ? start : start.addMSecs(qint64(entries.first().ms)))
                     .toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"))),
        QStringLiteral("Port: %1").arg(port), QString()};
    for (const WireLogEntry& e : entries)
        lines << start.addMSecs(qint64(e.ms)).toString(QStringLiteral("HH:mm:ss.zzz")) +
                     QLatin1Char(' ') + WireLog::format(e);
    return (lines.join(QLatin1Char('\n')) + QLatin1Char('\n')).toUtf8();
}

QString WireLogFile::proposedName(const QDateTime& now)
{
    return now.toString(QStringLiteral("'corvane-wire-'yyyyMMdd-HHmmss'.log'"));
}
