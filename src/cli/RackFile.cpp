#include "cli/RackFile.h"

#include "comm/LineAddress.h"

#include <QDir>
#include <QRegularExpression>

namespace {

std::optional<int> number(const QString& text, int min, int max)
{
    bool ok = false;
    const int n = text.toInt(&ok);
    return ok && n >= min && n <= max ? std::optional<int>(n) : std::nullopt;
}

// The first word: a COM number, a device path or an address; "" when it is none.
QString readTarget(const QString& word, RackUnit* unit)
{
    static const QRegularExpression com(QStringLiteral("^(?:COM)?([0-9]+)$"),
                                        QRegularExpression::CaseInsensitiveOption);
    if (const QRegularExpressionMatch m = com.match(word); m.hasMatch()) {
        unit->port = number(m.captured(1), 1, 16);
        return unit->port ? QString() : QStringLiteral("the port must be from 1 to 16");
    }
    QString error;
    LineAddress::parse(word, &error);
    if (!error.isEmpty())
        return error;
    if (!LineAddress::looksLikeNetwork(word) && !word.startsWith(QLatin1Char('/')))
        return QStringLiteral("\"%1\" is not a port, a device path or an address").arg(word);
    unit->device = word;
    return {};
}

} // namespace

QList<RackUnit> RackFile::parse(const QString& text, const QString& folder, QString* error)
{
    QList<RackUnit> units;
    const QStringList lines = text.split(QLatin1Char('\n'));
    for (int i = 0; i < lines.size(); ++i) {
        const QString content = lines[i].section(QLatin1Char('#'), 0, 0).simplified();
        if (content.isEmpty())
            continue;
        RackUnit unit;
        unit.line = i + 1;
        const QStringList words = content.split(QLatin1Char(' '));
        QString why = readTarget(words.first(), &unit);
        for (int w = 1; w < words.size() && why.isEmpty(); ++w) {
            const QString key = words[w].section(QLatin1Char('='), 0, 0);
            const QString value = words[w].section(QLatin1Char('='), 1);
            if (key == QLatin1String("channel") || key == QLatin1String("model")) {
                const std::optional<int> n = number(value, 1, 99);
                (key == QLatin1String("channel") ? unit.channel : unit.model) = n;
                if (!n)
                    why = QStringLiteral("%1 must be from 1 to 99, not \"%2\"").arg(key, value);
            } else if (key == QLatin1String("file") && !value.isEmpty()) {
                unit.file = QDir(folder).absoluteFilePath(value);
            } else {
                why = QStringLiteral("\"%1\" is not channel=N, model=N or file=FILE").arg(words[w]);
            }
        }
        for (const RackUnit& before : units)
            if (why.isEmpty() && before.port == unit.port && before.device == unit.device)
                why = QStringLiteral("the unit of line %1 again").arg(before.line);
        if (!why.isEmpty()) {
            *error = QStringLiteral("line %1: %2").arg(unit.line).arg(why);
            return {};
        }
        units << unit;
    }
    if (units.isEmpty())
        *error = QStringLiteral("no unit in it");
    return units;
}

QString RackFile::line(const RackUnit& unit)
{
    QString text = unit.port ? QStringLiteral("COM%1").arg(*unit.port) : unit.device;
    if (unit.channel)
        text += QStringLiteral(" channel=%1").arg(*unit.channel);
    if (unit.model)
        text += QStringLiteral(" model=%1").arg(*unit.model);
    if (!unit.file.isEmpty())
        text += QStringLiteral(" file=%1").arg(unit.file);
    return text;
}
