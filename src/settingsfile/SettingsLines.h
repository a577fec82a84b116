#pragma once
// modFileAccess: the twenty lines of a settings file, built from what the editor shows.

#include "model/Globals.h"
#include "model/SyncParameters.h"

#include <QDateTime>
#include <QString>
#include <array>

namespace modFileAccess {

// The editor's values at the moment of saving, as its controls hold them. The window
// flow fills it from frmMain; the writer neither formats nor checks any of it.
struct EditorFields
{
    QString model;   // txtModel
    QString channel; // txtChannel
    // The first selected option of each group, tested Title, Chapter, Timecode, Frame.
    PointMode startMode = PointMode::Chapter;
    PointMode endMode = PointMode::Chapter;
    QString startFrame;             // txtStartFrame
    QString endFrame;               // txtEndFrame
    QString startTitle;             // txtStartTitle
    QString endTitle;               // txtEndTitle
    QString startChapter;           // txtStartChapter
    QString endChapter;             // txtEndChapter
    int synchronize = 1;            // chkSynchronize value; any value but 0 is "On"
    int squelch = 1;                // chkSquelch value
    std::array<QString, 4> initStr; // InitStr1 to InitStr4 as the editor stores them
    QString comment;                // Comment as the editor stores it
};

constexpr int SettingsLineCount = 20;

// "Corvane 2.0(beta) Save File": the tail of the header and footer lines.
QString SettingsHeaderTail();
// The system locale's short date, one blank, its long time.
QString SettingsTimestamp(const QDateTime& when);
// "Title", "Chapter", "Timecode" or "Frame".
QString ModeWord(PointMode mode);

// Fills SaveLines[0..19] and sets SaveLineCount to 20; `now` is the time of saving.
void BuildSettingsLines(Globals& g, const EditorFields& fields, const QDateTime& now);

} // namespace modFileAccess
