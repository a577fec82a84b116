#pragma once
// The editor without widgets: every control of the editor as a value (the ten spinners
// with their bounds, the text boxes, the two option groups, the switches, the speed
// list), the parameter record the handlers keep, the model/channel lock and the load's
// marks. Every setter runs the handler the control would run, nested as the control's
// own change notifications nest, so the window and the command-line tool make the same
// of a load, a settings file and a save. Listeners hear what changed through the signals;
// a window updates its widgets from them and never feeds the change back.

#include "model/EditorSnapshot.h"
#include "model/ReadMarks.h"
#include "model/SyncParameters.h"
#include "settingsfile/ParserSink.h"
#include "transfer/MarkPlan.h"

#include <QMap>
#include <QObject>
#include <QString>
#include <array>

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
constexpr int SpinFieldCount = 10;
constexpr int TextFieldCount = 13;

class EditorModel : public QObject
{
    Q_OBJECT
public:
    // The editor as it shows after start-up: the design values, Title selected in both
    // groups, frame boxes "1000" and "5000", model and channel "0" and locked.
    EditorModel();

    // The parameter record the handlers keep.
    SyncParameters& record() { return params_; }
    const SyncParameters& record() const { return params_; }
    // Every control as it shows now (a frame box still being typed is read unchanged).
    EditorSnapshot snapshot() const;

    int spinnerValue(SpinField f) const { return spin(f).value; }
    int spinnerMin(SpinField f) const { return spin(f).min; }
    int spinnerMax(SpinField f) const { return spin(f).max; }
    QString text(TextField f) const { return boxes_[static_cast<int>(f)]; }
    PointMode startOption() const { return startOption_; }
    PointMode endOption() const { return endOption_; }
    bool isChecked(CheckField f) const;
    int baudIndex() const { return baudIndex_; }
    // Model and channel take input only while unlocked.
    bool isTextEnabled(TextField f) const;

    // The value through the spinner's handler, even when it does not change.
    void setSpinner(SpinField f, int value);
    // The user moved the spinner: its handler runs when the value changed.
    void moveSpinner(SpinField f, int value);
    // Lowering a bound below the value moves the value and runs the handler.
    void setSpinnerMax(SpinField f, int max);
    // A changed box runs its handler (comment, init strings); the others only hold text.
    void setText(TextField f, const QString& text);
    // An option already selected stays selected and runs no handler.
    void selectOption(OptionField option);
    void setCheck(CheckField f, bool on);
    void setBaudIndex(int index);
    // The checks a frame box runs when its text is committed (the window: focus left it).
    void commitStartFrame();
    void commitEndFrame();

    // Off while a load puts its values in: a loaded start may stand after its end.
    bool linkedFieldsActive() const { return LinkedFieldsActive; }
    void setLinkedFieldsActive(bool on) { LinkedFieldsActive = on; }
    // While suspended, selecting a mode does not run the frame checks.
    void suspendModeFrameChecks(bool suspended) { suspendFrameChecks_ = suspended; }
    // Between these two the init-string limit message is told at most once.
    void beginInitStrBatch();
    void endInitStrBatch() { initStrBatchOpen_ = false; }

    // A whole-device transfer is reading or writing the editor: the file commands, the
    // preview's OK and the lock wait for it.
    bool transferRunning() const { return TransferRunning; }
    void setTransferRunning(bool running) { TransferRunning = running; }

    // The model/channel lock, and whether a load unlocked it for a marked field.
    bool modelChannelUnlocked() const { return ModelChannelUnlocked; }
    void setModelChannelUnlocked(bool unlocked);
    bool modelChannelMarked() const { return ModelChannelMarked; }
    void setModelChannelMarked(bool marked) { ModelChannelMarked = marked; }

    // What the last load found wrong, per field.
    ReadMarks& marks() { return marks_; }
    const ReadMarks& marks() const { return marks_; }
    // The highlight marks on show, by shape name ("shpHiLiteStartTitle").
    const QMap<QString, MarkColour>& shownMarks() const { return shown_; }
    // False for a shape the editor does not have.
    bool showMark(const QString& shape, MarkColour colour);
    // Hides every highlight and forgets the load's flags.
    void clearMarks();

    static const QStringList& markShapes();

signals:
    // A spinner's value or bounds changed.
    void spinnerChanged(SpinField field);
    void textChanged(TextField field);
    // The selected option of the start (true) or end (false) group.
    void optionChanged(bool startGroup);
    void checkChanged(CheckField field);
    void baudIndexChanged(int index);
    void lockChanged(bool unlocked);
    void marksChanged();
    // The editor's own message: the init strings went over their total.
    void message(const QString& text);

private:
    struct Spin
    {
        int min = 0;
        int max = 0;
        int value = 0;
    };
    Spin& spin(SpinField f) { return spins_[static_cast<int>(f)]; }
    const Spin& spin(SpinField f) const { return spins_[static_cast<int>(f)]; }
    void putText(TextField f, const QString& text);
    void putSpinner(SpinField f, int value, bool notify);

    // The handlers (EditorHandlers.cpp).
    void spinnerHandler(SpinField f);
    void startOfPairChanged(SpinField start, SpinField end, TextField startBox);
    void endOfPairChanged(SpinField start, SpinField end, TextField endBox);
    void refreshPair(SpinField start, SpinField end);
    // After a start (true) or end spinner moved.
    void adjustTime(bool startMoved);
    void applyStartMode();
    void applyEndMode();
    void commentChanged();
    void initStrChanged(int index);

    SyncParameters params_;
    std::array<Spin, SpinFieldCount> spins_{};
    std::array<QString, TextFieldCount> boxes_{};
    PointMode startOption_ = PointMode::Title;
    PointMode endOption_ = PointMode::Title;
    bool synchronize_ = true;
    bool squelch_ = true;
    int baudIndex_ = -1;

    bool LinkedFieldsActive = true;
    bool TimeAdjustBusy = false;
    bool suspendFrameChecks_ = false;
    bool initStrBatchOpen_ = false;
    bool initStrBatchMessageShown_ = false;

    bool TransferRunning = false;
    bool ModelChannelUnlocked = false;
    bool ModelChannelMarked = false;
    ReadMarks marks_;
    QMap<QString, MarkColour> shown_;
};
