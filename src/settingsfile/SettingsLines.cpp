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

QStringList BuildSettingsLines(const EditorSnapshot& e, const QDateTime& now)
{
    const auto onOff = [](bool on) { return on ? QStringLiteral("On") : QStringLiteral("Off"); };
    return {
        QStringLiteral("Begin Quillmere ") + SettingsHeaderTail(),
        QStringLiteral("Timestamp ") + SettingsTimestamp(now),
        QStringLiteral("Model ") + e.txtModel,
        QStringLiteral("Channel ") + e.txtChannel,
        QStringLiteral("Start Mode ") + ModeWord(e.StartMode),
        QStringLiteral("End Mode ") + ModeWord(e.EndMode),
        QStringLiteral("Start Frame ") + e.txtStartFrame,
        QStringLiteral("End Frame ") + e.txtEndFrame,
        QStringLiteral("Start Title ") + e.txtStartTitle,
        QStringLiteral("End Title ") + e.txtEndTitle,
        QStringLiteral("Start Chapter ") + e.txtStartChapter,
        QStringLiteral("End Chapter ") + e.txtEndChapter,
        QStringLiteral("Synchronize ") + onOff(e.chkSynchronize),
        QStringLiteral("Squelch ") + onOff(e.chkSquelch),
        QStringLiteral("Init String 1 ") + e.txtInitStr[0],
        QStringLiteral("Init String 2 ") + e.txtInitStr[1],
        QStringLiteral("Init String 3 ") + e.txtInitStr[2],
        QStringLiteral("Init String 4 ") + e.txtInitStr[3],
        QStringLiteral("Comment ") + e.txtComment,
        QStringLiteral("End Quillmere ") + SettingsHeaderTail(),
    };
}

} // namespace modFileAccess
