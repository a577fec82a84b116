#include "cli/RackFile.h"

#include "cli/ShownText.h"
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
        return shownText(error);
    if (!LineAddress::looksLikeNetwork(word) && !word.startsWith(QLatin1Char('/')))
        return QStringLiteral("\"%1\" is not a port, a device path or an address")
            .arg(shownText(word));
    unit->device = word;
    return {};
}

// The line up to a '#' that is not inside double quotes.
QString withoutComment(const QString& line)
{
    bool quoted = false;
    for (qsizetype i = 0; i < line.size(); ++i) {
        if (line[i] == QLatin1Char('"'))
            quoted = !quoted;
        else if (line[i] == QLatin1Char('#') && !quoted)
            return line.left(i);
    }
    return line;
}

// The settings after the first word: KEY=VALUE, blanks allowed around '=', a value in
// double quotes may hold blanks. Every mistake of the line, in order.
QStringList readSettings(const QString& rest, const QString& folder, RackUnit* unit)
{
    static const QRegularExpression setting(
        QStringLiteral("\\G\\s*([A-Za-z]+)\\s*=\\s*(?:\"([^\"]*)\"|([^\\s\"]*))(?=\\s|$)"));
    static const QRegularExpression word(QStringLiteral("\\G\\s*(\\S+)"));
    QStringList why;
    qsizetype at = 0;
    while (at < rest.size() && !rest.mid(at).trimmed().isEmpty()) {
        const QRegularExpressionMatch m = setting.match(rest, at);
        if (!m.hasMatch()) {
            const QRegularExpressionMatch w = word.match(rest, at);
            const QString bad = w.captured(1);
            why << (bad.count(QLatin1Char('"')) % 2
                        ? QStringLiteral("\"%1\" has no closing quote").arg(shownText(bad))
                        : QStringLiteral("\"%1\" is not channel=N, model=N, file=FILE or "
                                         "expect=M/C")
                              .arg(shownText(bad)));
            at = w.capturedEnd();
            continue;
        }
        at = m.capturedEnd();
        const QString key = m.captured(1);
        const QString value = m.captured(2).isNull() ? m.captured(3) : m.captured(2);
        if (key == QLatin1String("channel") || key == QLatin1String("model")) {
            const std::optional<int> n = number(value, 1, 99);
            (key == QLatin1String("channel") ? unit->channel : unit->model) = n;
            if (!n)
                why << QStringLiteral("%1 must be from 1 to 99, not \"%2\"")
                           .arg(key, shownText(value));
        } else if (key == QLatin1String("file") && !value.isEmpty()) {
            unit->file = QDir(folder).absoluteFilePath(value);
        } else if (key == QLatin1String("expect")) {
            unit->expectModel = number(value.section(QLatin1Char('/'), 0, 0), 1, 99);
            unit->expectChannel = number(value.section(QLatin1Char('/'), 1), 1, 99);
            if (value.count(QLatin1Char('/')) != 1 || !unit->expectModel || !unit->expectChannel)
                why << QStringLiteral("expect must be MODEL/CHANNEL, each from 1 to 99, not \"%1\"")
                           .arg(shownText(value));
        } else if (key == QLatin1String("pin")) {
            unit->trust.pin = TlsTrust::parsePin(value);
            if (unit->trust.pin.isEmpty())
                why << QStringLiteral("pin must be %1, not \"%2\"")
                           .arg(TlsTrust::pinForm(), shownText(value));
        } else if ((key == QLatin1String("ca") || key == QLatin1String("cert") ||
                    key == QLatin1String("key")) &&
                   !value.isEmpty()) {
            const QString path = QDir(folder).absoluteFilePath(value);
            (key == QLatin1String("ca")     ? unit->trust.caFile
             : key == QLatin1String("cert") ? unit->trust.certFile
                                            : unit->trust.keyFile) = path;
        } else {
            why << QStringLiteral("\"%1\" is not channel=N, model=N, file=FILE or expect=M/C")
                       .arg(shownText(m.captured(0).trimmed()));
        }
    }
    if (unit->trust.certFile.isEmpty() != unit->trust.keyFile.isEmpty())
        why << QStringLiteral("a client certificate needs both cert= and key=");
    return why;
}

} // namespace

QList<RackUnit> RackFile::parse(const QString& text, const QString& folder,
                                QList<RackMistake>* mistakes)
{
    QList<RackUnit> units;
    const QStringList lines = text.split(QLatin1Char('\n'));
    for (int i = 0; i < lines.size(); ++i) {
        // trimmed() also takes the CR of a file written with CR LF.
        const QString content = withoutComment(lines[i]).trimmed();
        if (content.isEmpty())
            continue;
        RackUnit unit;
        unit.line = i + 1;
        static const QRegularExpression blank(QStringLiteral("\\s"));
        const qsizetype cut = content.indexOf(blank);
        const QString target = cut < 0 ? content : content.left(cut);
        QStringList why;
        if (const QString bad = readTarget(target, &unit); !bad.isEmpty())
            why << bad;
        why += readSettings(cut < 0 ? QString() : content.mid(cut), folder, &unit);
        for (const RackUnit& before : units)
            if (why.isEmpty() && before.port == unit.port && before.device == unit.device)
                why << QStringLiteral("the unit of line %1 again").arg(before.line);
        for (const QString& w : why)
            *mistakes << RackMistake{unit.line, w};
        if (why.isEmpty())
            units << unit;
    }
    if (units.isEmpty() && mistakes->isEmpty())
        *mistakes << RackMistake{0, QStringLiteral("no unit in it")};
    return units;
}

QString RackFile::line(const RackUnit& unit)
{
    QString text = unit.port ? QStringLiteral("COM%1").arg(*unit.port) : unit.device;
    if (unit.channel)
        text += QStringLiteral(" channel=%1").arg(*unit.channel);
    if (unit.model)
        text += QStringLiteral(" model=%1").arg(*unit.model);
    if (unit.expectModel && unit.expectChannel)
        text += QStringLiteral(" expect=%1/%2").arg(*unit.expectModel).arg(*unit.expectChannel);
    const auto quoted = [](const QString& value) {
        return value.contains(QLatin1Char(' ')) ? QStringLiteral("\"%1\"").arg(value) : value;
    };
    if (!unit.trust.pin.isEmpty())
        text += QStringLiteral(" pin=") + TlsTrust::fingerprintText(unit.trust.pin);
    if (!unit.trust.caFile.isEmpty())
        text += QStringLiteral(" ca=") + quoted(unit.trust.caFile);
    if (!unit.trust.certFile.isEmpty())
        text += QStringLiteral(" cert=%1 key=%2")
                    .arg(quoted(unit.trust.certFile), quoted(unit.trust.keyFile));
    if (!unit.file.isEmpty())
        text += unit.file.contains(QLatin1Char(' ')) ? QStringLiteral(" file=\"%1\"").arg(unit.file)
                                                     : QStringLiteral(" file=%1").arg(unit.file);
    return text;
}
