#pragma once
// The editor's controls as they show at one moment: what a save, the compare after it
// and a settings-file save read. Members are named after the controls they come from.

#include "model/SyncParameters.h"

#include <QString>
#include <array>

struct EditorSnapshot
{
    bool ModelChannelUnlocked = false; // model and channel are written and compared

    QString txtModel;
    QString txtChannel;

    // From the option groups; see modeFromOptions.
    PointMode StartMode = PointMode::Chapter;
    PointMode EndMode = PointMode::Chapter;

    // Box texts as they stand: a box filled from a settings file may hold anything.
    QString txtStartTitle;
    QString txtEndTitle;
    QString txtStartChapter;
    QString txtEndChapter;
    QString txtStartFrame;
    QString txtEndFrame;

    int scrStartMinutes = 0;
    int scrStartSeconds = 0;
    int scrEndMinutes = 1;
    int scrEndSeconds = 0;

    bool chkSynchronize = true; // the check box's value is not 0
    bool chkSquelch = true;

    QString txtComment;
    std::array<QString, 4> txtInitStr{};
};

// The mode of the first selected option in the order Title, Chapter, Time, Frame Number;
// with none selected the previous mode stays.
inline PointMode modeFromOptions(bool title, bool chapter, bool timecode, bool frame,
                                 PointMode previous)
{
    if (title)
        return PointMode::Title;
    if (chapter)
        return PointMode::Chapter;
    if (timecode)
        return PointMode::Timecode;
    if (frame)
        return PointMode::Frame;
    return previous;
}
