#pragma once
// The editor without a window, for the command-line tool: the same controls as values
// (spinners with their bounds, boxes, option groups, switches) and the same handlers, so a
// load, a settings file and a save make of it exactly what they make of the editor window.
// Every setter runs the handler the window's control would run, nested as the window's
// signals nest; the field rules themselves are the editor's (EditorRules).

#include "flows/EditorView.h"
#include "model/Globals.h"

#include <QMap>
#include <array>
#include <functional>
#include <optional>

class HeadlessEditor : public EditorView
{
public:
    explicit HeadlessEditor(Globals& g);

    // Where the editor's own message (the init-string limit) goes.
    std::function<void(const QString&)> onMessage;

    // The highlight marks on show, by shape name.
    const QMap<QString, MarkColour>& marks() const { return marks_; }
    int spinnerValue(SpinField field) const { return spin(field).value; }
    int spinnerMax(SpinField field) const { return spin(field).max; }
    QString text(TextField field) const { return boxes_[static_cast<int>(field)]; }

    // EditorView
    SyncParameters& record() override { return params_; }
    EditorSnapshot snapshot() const override;
    bool isTextEnabled(TextField field) const override;
    void setSpinner(SpinField field, int value) override;
    void setSpinnerMax(SpinField field, int max) override;
    void setText(TextField field, const QString& text) override;
    void selectOption(OptionField option) override;
    void setCheck(CheckField field, bool on) override;
    void setBaudIndex(int index) override { baudIndex_ = index; }
    void settleFrameEdit() override {} // no box is ever being typed in
    void suspendModeFrameChecks(bool suspended) override { suspendFrameChecks_ = suspended; }
    void beginInitStrBatch() override;
    void endInitStrBatch() override { initStrBatchOpen_ = false; }
    bool showMark(const QString& shape, MarkColour colour) override;
    void clearMarks() override { marks_.clear(); }
    void showModelChannelUnlocked(bool unlocked) override { modelChannelEnabled_ = unlocked; }
    void showConnected(bool) override {}
    void setCaption(const QString&) override {}
    void setTransferCommandsEnabled(bool) override {}

private:
    struct Spin
    {
        int min = 0;
        int max = 0;
        int value = 0;
    };
    Spin& spin(SpinField f) { return spins_[static_cast<int>(f)]; }
    const Spin& spin(SpinField f) const { return spins_[static_cast<int>(f)]; }
    QString& box(TextField f) { return boxes_[static_cast<int>(f)]; }

    // A spinner's value held in its bounds; its handler runs when the value changed, or
    // always when `notify`.
    void moveSpinner(SpinField f, int value, bool notify);
    void spinnerChanged(SpinField f);
    void startOfPairChanged(SpinField start, SpinField end, TextField startBox);
    void endOfPairChanged(SpinField start, SpinField end, TextField endBox);
    void refreshPair(SpinField start, SpinField end);
    void adjustStartTime();
    void adjustEndTime();
    void applyStartMode();
    void applyEndMode();
    void startFrameLostFocus();
    void endFrameLostFocus();
    void commentChanged();
    void initStrChanged(int index);

    Globals& g_;
    SyncParameters params_;
    std::array<Spin, 10> spins_{};
    std::array<QString, 13> boxes_{};
    std::optional<PointMode> startOption_;
    std::optional<PointMode> endOption_;
    bool synchronize_ = true;
    bool squelch_ = true;
    int baudIndex_ = -1;
    bool modelChannelEnabled_ = false;
    bool suspendFrameChecks_ = false;
    bool initStrBatchOpen_ = false;
    bool initStrBatchMessageShown_ = false;
    QMap<QString, MarkColour> marks_;
};
