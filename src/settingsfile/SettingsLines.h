#pragma once
// modFileAccess: the twenty lines of a settings file, built from what the editor shows.

#include "model/EditorSnapshot.h"
#include "model/SyncParameters.h"

#include <QDateTime>
#include <QString>
#include <QStringList>

namespace modFileAccess {

constexpr int SettingsLineCount = 20;

// "Corvane 2.0(beta) Save File": the tail of the header and footer lines.
QString SettingsHeaderTail();
// The system locale's short date, one blank, its long time.
QString SettingsTimestamp(const QDateTime& when);
// "Title", "Chapter", "Timecode" or "Frame".
QString ModeWord(PointMode mode);

// The twenty lines, without endings, from the editor as it shows; `now` is the time of
// saving. Nothing is formatted or checked.
QStringList BuildSettingsLines(const EditorSnapshot& editor, const QDateTime& now);

} // namespace modFileAccess
