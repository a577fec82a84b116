#pragma once
// The editor's field rules, free of widgets: what each control's handler makes of a
// change. The window applies the results to its controls in the order its handlers
// set them; every value here is as the controls hold it.

#include "model/SyncParameters.h"

#include <QString>
#include <array>

namespace EditorRules {

// A title or chapter pair. The start side pushes the end up to one above it (held at
// the end's maximum); the end side pushes the start down to one below it.
int endAfterStartChange(int start, int end, int endMax);
int startAfterEndChange(int start, int end);

// The four time spinners.
struct TimeSpinners
{
    int startMinutes = 0;
    int startSeconds = 0;
    int endMinutes = 1;
    int endSeconds = 0;
    bool operator==(const TimeSpinners& o) const
    {
        return startMinutes == o.startMinutes && startSeconds == o.startSeconds &&
               endMinutes == o.endMinutes && endSeconds == o.endSeconds;
    }
};
// After a start spinner moved: the start time held within its range, the end pushed to
// one second after it when it is not later.
TimeSpinners afterStartTimeChange(TimeSpinners t);
// After an end spinner moved: the end time held within its range, the start pulled to
// one second before it when it is not earlier.
TimeSpinners afterEndTimeChange(TimeSpinners t);

// The two frame boxes as texts, and the numbers the record takes from them.
struct FrameBoxes
{
    QString start;
    QString end;
};
struct FrameResult
{
    FrameBoxes boxes;
    int32_t startFrame = 0;
    int32_t endFrame = 0;
};
// When the start frame box loses the focus: its leading number, at least 1 and below
// the frame maximum when the end is a frame too (else at most the maximum); the end
// pushed above it.
FrameResult afterStartFrameEdit(const FrameBoxes& boxes, PointMode endMode);
// When the end frame box loses the focus: at least 2, at most the maximum; the start
// pulled below it.
FrameResult afterEndFrameEdit(const FrameBoxes& boxes);

// The comment as the record keeps it: its first 15 characters.
QString limitComment(const QString& text);

// The four init strings together may hold 58 characters.
int initStrTotal(const std::array<QString, 4>& strings);
bool initStrTotalExceeded(const std::array<QString, 4>& strings);

// What an init-string box's handler does with a new text in box `index`, given the
// other three as the record holds them.
struct InitStrChange
{
    QString text;           // what the box and the record keep
    bool overTotal = false; // the limit message is due, and the box loses its last character
};
InitStrChange initStrChange(const std::array<QString, 4>& record, int index,
                            const QString& boxText);

} // namespace EditorRules
