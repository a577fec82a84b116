#include "flows/LoadIntoEditor.h"

#include "flows/EditorView.h"
#include "flows/ModelChannelLock.h"

#include <stdexcept>

namespace {

// The linked-field adjustment stays off for a scope, however the scope ends.
class Unlinked
{
public:
    explicit Unlinked(EditorModel& e) : e_(e), old_(e.linkedFieldsActive())
    {
        e_.setLinkedFieldsActive(false);
    }
    ~Unlinked() { e_.setLinkedFieldsActive(old_); }
    Unlinked(const Unlinked&) = delete;
    Unlinked& operator=(const Unlinked&) = delete;

private:
    EditorModel& e_;
    bool old_;
};

// Selecting the loaded modes runs no frame check, however the scope ends.
class NoModeFrameChecks
{
public:
    explicit NoModeFrameChecks(EditorModel& e) : e_(e) { e_.suspendModeFrameChecks(true); }
    ~NoModeFrameChecks() { e_.suspendModeFrameChecks(false); }
    NoModeFrameChecks(const NoModeFrameChecks&) = delete;
    NoModeFrameChecks& operator=(const NoModeFrameChecks&) = delete;

private:
    EditorModel& e_;
};

// The four init strings go in as one step: the limit message shows at most once.
class InitStrBatch
{
public:
    explicit InitStrBatch(EditorModel& e) : e_(e) { e_.beginInitStrBatch(); }
    ~InitStrBatch() { e_.endInitStrBatch(); }
    InitStrBatch(const InitStrBatch&) = delete;
    InitStrBatch& operator=(const InitStrBatch&) = delete;

private:
    EditorModel& e_;
};

OptionField startOption(PointMode mode)
{
    switch (mode) {
    case PointMode::Title:
        return OptionField::StartTitle;
    case PointMode::Chapter:
        return OptionField::StartChapter;
    case PointMode::Timecode:
        return OptionField::StartTimecode;
    case PointMode::Frame:
        return OptionField::StartFrame;
    }
    throw std::logic_error("start mode out of range");
}

OptionField endOption(PointMode mode)
{
    switch (mode) {
    case PointMode::Title:
        return OptionField::EndTitle;
    case PointMode::Chapter:
        return OptionField::EndChapter;
    case PointMode::Timecode:
        return OptionField::EndTimecode;
    case PointMode::Frame:
        return OptionField::EndFrame;
    }
    throw std::logic_error("end mode out of range");
}

// The "9600" entry of the speed list.
constexpr int Baud9600Index = 3;

} // namespace

void fillEditor(EditorView& view, const SyncParameters& v)
{
    // A frame box keeps its check for when the focus leaves it. Let that happen now, on
    // the values it was typed against: hiding the box while its mode changes below would
    // otherwise run the check on the loaded numbers.
    view.settleFrameEdit();
    EditorModel& e = view.model();
    // The record takes the loaded set first: the handlers below refresh parts of it, and
    // the init-string limit is judged on the four new strings together, not on old ones.
    e.record() = v;
    {
        Unlinked unlinked(e);
        // The start bounds of the loaded end mode, set now: selecting that mode later must
        // not pull a loaded start title or chapter of 99 down to 98 (nor can a spinner
        // take a value above its bound meanwhile).
        e.setSpinnerMax(SpinField::StartTitle,
                        v.EndMode == PointMode::Title ? Limits::TitleMax - 1 : Limits::TitleMax);
        e.setSpinnerMax(SpinField::StartChapter, v.EndMode == PointMode::Chapter
                                                     ? Limits::ChapterMax - 1
                                                     : Limits::ChapterMax);
        e.setSpinner(SpinField::Model, v.Model);
        e.setSpinner(SpinField::Channel, v.Channel);
        e.setSpinner(SpinField::StartTitle, v.StartTitle);
        e.setSpinner(SpinField::EndTitle, v.EndTitle);
        e.setSpinner(SpinField::StartChapter, v.StartChapter);
        e.setSpinner(SpinField::EndChapter, v.EndChapter);
        e.setSpinner(SpinField::StartMinutes, v.StartMinutes);
        e.setSpinner(SpinField::EndMinutes, v.EndMinutes);
        e.setSpinner(SpinField::StartSeconds, v.StartSeconds);
        e.setSpinner(SpinField::EndSeconds, v.EndSeconds);
        e.setText(TextField::StartFrame, QString::number(v.StartFrame));
        e.setText(TextField::EndFrame, QString::number(v.EndFrame));
    }
    {
        NoModeFrameChecks noFrameChecks(e);
        e.selectOption(startOption(v.StartMode));
        e.selectOption(endOption(v.EndMode));
    }
    e.record().StartMode = v.StartMode;
    e.record().EndMode = v.EndMode;

    e.setCheck(CheckField::Synchronize, v.Synchronize);
    e.setCheck(CheckField::Squelch, v.Squelch);
    e.setBaudIndex(Baud9600Index);
    e.setText(TextField::Comment, v.Comment);
    InitStrBatch batch(e);
    const TextField boxes[4] = {TextField::InitStr1, TextField::InitStr2, TextField::InitStr3,
                                TextField::InitStr4};
    for (int i = 0; i < 4; ++i)
        e.setText(boxes[i], v.InitStr[i]);
}

void showLoadMarks(EditorModel& e, const MarkPlan& plan)
{
    relockIfMarked(e);
    for (const ShapeMark& mark : plan.shapes)
        if (!e.showMark(mark.shape, mark.colour))
            throw std::logic_error("no highlight shape " + mark.shape.toStdString());
    unlockIfMarked(e, plan.modelChannelFlagged);
}
