// Builds the twenty lines of a settings file from the editor's values.

#include "settingsfile/SettingsLines.h"

#include "model/AppIdentity.h"

#include <QLocale>

namespace modFileAccess {

QString SettingsHeaderTail()
{
    return AppIdentity::TitleWithShortVersion() + QStringLiteral(" Save File");
}

QString SettingsTimestamp(const QDateTime& when)
{
    const QLocale locale = QLocale::system();
    return locale.toString(when.date(), QLocale::ShortFormat) + QLatin1Char(' ') +
           locale.toString(when.time(), QLocale::LongFormat);
}

QString ModeWord(PointMode mode)
{
    switch (mode) {
    case PointMode::Title:
        return QStringLiteral("Title");
    case PointMode::Chapter:
        return QStringLiteral("Chapter");
    case PointMode::Timecode:
        return QStringLiteral("Timecode");
    case PointMode::Frame:
        return QStringLiteral("Frame");
    }
    return QString();
}

void BuildSettingsLines(Globals& g, const EditorFields& f, const QDateTime& now)
{
    const auto onOff = [](int value) {
        return value != 0 ? QStringLiteral("On") : QStringLiteral("Off");
    };
    const QString lines[SettingsLineCount] = {
        QStringLiteral("Begin Quillmere ") + SettingsHeaderTail(),
        QStringLiteral("Timestamp ") + SettingsTimestamp(now),
        QStringLiteral("Model ") + f.model,
        QStringLiteral("Channel ") + f.channel,
        QStringLiteral("Start Mode ") + ModeWord(f.startMode),
        QStringLiteral("End Mode ") + ModeWord(f.endMode),
        QStringLiteral("Start Frame ") + f.startFrame,
        QStringLiteral("End Frame ") + f.endFrame,
        QStringLiteral("Start Title ") + f.startTitle,
        QStringLiteral("End Title ") + f.endTitle,
        QStringLiteral("Start Chapter ") + f.startChapter,
        QStringLiteral("End Chapter ") + f.endChapter,
        QStringLiteral("Synchronize ") + onOff(f.synchronize),
        QStringLiteral("Squelch ") + onOff(f.squelch),
        QStringLiteral("Init String 1 ") + f.initStr[0],
        QStringLiteral("Init String 2 ") + f.initStr[1],
        QStringLiteral("Init String 3 ") + f.initStr[2],
        QStringLiteral("Init String 4 ") + f.initStr[3],
        QStringLiteral("Comment ") + f.comment,
        QStringLiteral("End Quillmere ") + SettingsHeaderTail(),
    };
    g.SaveLineCount = 0;
    for (const QString& line : lines) {
        g.SaveLines[g.SaveLineCount] = line;
        ++g.SaveLineCount;
    }
}

} // namespace modFileAccess
