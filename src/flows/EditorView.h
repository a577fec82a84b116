#pragma once
// The editor window as the flows (load, save, compare, settings files, defaults) see it.
// Reading takes every control as it shows at this moment; every setter goes through the
// control, so the editor's own handler runs exactly as after the user's change.

#include "model/EditorSnapshot.h"
#include "model/SyncParameters.h"
#include "settingsfile/ParserSink.h"
#include "transfer/MarkPlan.h"

#include <QString>

// The spinners; each has its number box beside it.
enum class SpinField
{
    Model,
    Channel,
    StartTitle,
    EndTitle,
    StartChapter,
    EndChapter,
    StartMinutes,
    StartSeconds,
    EndMinutes,
    EndSeconds
};

class EditorView
{
public:
    virtual ~EditorView() = default;

    // The parameter record the handlers keep.
    virtual SyncParameters& record() = 0;
    // Every control as it shows now (a frame box still being typed is read unchanged).
    virtual EditorSnapshot snapshot() const = 0;
    // Whether a box takes input (model and channel are disabled while locked).
    virtual bool isTextEnabled(TextField field) const = 0;

    // The value through the spinner's handler, even when it does not change.
    virtual void setSpinner(SpinField field, int value) = 0;
    // Lowering a bound below the value moves the value and runs the handler.
    virtual void setSpinnerMax(SpinField field, int max) = 0;
    // Model, Channel, titles and chapters: the box beside the spinner only.
    virtual void setText(TextField field, const QString& text) = 0;
    // An option already selected stays selected and runs no handler.
    virtual void selectOption(OptionField option) = 0;
    virtual void setCheck(CheckField field, bool on) = 0;
    virtual void setBaudIndex(int index) = 0;
    // A frame box being typed in runs its check now, on the values it was typed against.
    virtual void settleFrameEdit() = 0;
    // While suspended, selecting a mode does not run the frame checks.
    virtual void suspendModeFrameChecks(bool suspended) = 0;
    // Between these two the init-string limit message shows at most once.
    virtual void beginInitStrBatch() = 0;
    virtual void endInitStrBatch() = 0;

    // A highlight mark by its shape's name ("shpHiLiteStartTitle"); false when there is none.
    virtual bool showMark(const QString& shape, MarkColour colour) = 0;
    virtual void clearMarks() = 0;
    virtual void showModelChannelUnlocked(bool unlocked) = 0;
    virtual void showConnected(bool connected) = 0;
    virtual void setCaption(const QString& caption) = 0;
    // The file commands and Defaults, held off while a transfer runs.
    virtual void setTransferCommandsEnabled(bool enabled) = 0;
};
