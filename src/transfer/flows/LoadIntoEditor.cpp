#include "transfer/flows/LoadIntoEditor.h"

#include "app/CorvaneApp.h"
#include "app/HighlightShape.h"
#include "app/Spinner.h"
#include "app/frmMain.h"
#include "transfer/flows/ModelChannelLock.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QRadioButton>
#include <stdexcept>

namespace {

// Sets a flag for a scope and puts the old value back however the scope ends.
class ScopedFlag
{
public:
    ScopedFlag(bool& flag, bool value) : flag_(flag), old_(flag) { flag_ = value; }
    ~ScopedFlag() { flag_ = old_; }
    ScopedFlag(const ScopedFlag&) = delete;
    ScopedFlag& operator=(const ScopedFlag&) = delete;

private:
    bool& flag_;
    bool old_;
};

// The four init strings go in as one step: the limit message shows at most once.
class InitStrBatch
{
public:
    explicit InitStrBatch(frmMain& m) : m_(m) { m_.beginInitStrBatch(); }
    ~InitStrBatch() { m_.endInitStrBatch(); }
    InitStrBatch(const InitStrBatch&) = delete;
    InitStrBatch& operator=(const InitStrBatch&) = delete;

private:
    frmMain& m_;
};

QRadioButton* startOption(frmMain& m, PointMode mode)
{
    switch (mode) {
    case PointMode::Title:
        return m.optStartTitle;
    case PointMode::Chapter:
        return m.optStartChapter;
    case PointMode::Timecode:
        return m.optStartTimecode;
    case PointMode::Frame:
        return m.optStartFrame;
    }
    throw std::logic_error("start mode out of range");
}

QRadioButton* endOption(frmMain& m, PointMode mode)
{
    switch (mode) {
    case PointMode::Title:
        return m.optEndTitle;
    case PointMode::Chapter:
        return m.optEndChapter;
    case PointMode::Timecode:
        return m.optEndTimecode;
    case PointMode::Frame:
        return m.optEndFrame;
    }
    throw std::logic_error("end mode out of range");
}

// The "9600" entry of the speed list.
constexpr int Baud9600Index = 3;

} // namespace

void fillEditor(frmMain& m, const SyncParameters& v)
{
    Globals& g = m.app.g;
    // A frame box keeps its check for when the focus leaves it. Let that happen now, on
    // the values it was typed against: hiding the box while its mode changes below would
    // otherwise run the check on the loaded numbers.
    if (QWidget* f = m.focusWidget(); f == m.txtStartFrame || f == m.txtEndFrame)
        f->clearFocus();
    // The record takes the loaded set first: the handlers below refresh parts of it, and
    // the init-string limit is judged on the four new strings together, not on old ones.
    m.params = v;
    {
        ScopedFlag unlinked(g.LinkedFieldsActive, false);
        // The start bounds of the loaded end mode, set now: selecting that mode later must
        // not pull a loaded start title or chapter of 99 down to 98 (nor can a spinner
        // take a value above its bound meanwhile).
        m.scrStartTitle->setMax(v.EndMode == PointMode::Title ? Limits::TitleMax - 1
                                                              : Limits::TitleMax);
        m.scrStartChapter->setMax(v.EndMode == PointMode::Chapter ? Limits::ChapterMax - 1
                                                                  : Limits::ChapterMax);
        m.scrModel->setValueNotify(v.Model);
        m.scrChannel->setValueNotify(v.Channel);
        m.scrStartTitle->setValueNotify(v.StartTitle);
        m.scrEndTitle->setValueNotify(v.EndTitle);
        m.scrStartChapter->setValueNotify(v.StartChapter);
        m.scrEndChapter->setValueNotify(v.EndChapter);
        m.scrStartMinutes->setValueNotify(v.StartMinutes);
        m.scrEndMinutes->setValueNotify(v.EndMinutes);
        m.scrStartSeconds->setValueNotify(v.StartSeconds);
        m.scrEndSeconds->setValueNotify(v.EndSeconds);
        m.txtStartFrame->setText(QString::number(v.StartFrame));
        m.txtEndFrame->setText(QString::number(v.EndFrame));
    }
    {
        ScopedFlag noFrameChecks(m.SuspendModeFrameChecks, true);
        // An option already selected emits nothing: its fields are shown already.
        startOption(m, v.StartMode)->setChecked(true);
        endOption(m, v.EndMode)->setChecked(true);
    }
    m.params.StartMode = v.StartMode;
    m.params.EndMode = v.EndMode;

    m.chkSynchronize->setChecked(v.Synchronize);
    m.chkSquelch->setChecked(v.Squelch);
    m.cmbBaud->setCurrentIndex(Baud9600Index);
    m.txtComment->setText(v.Comment);
    InitStrBatch batch(m);
    for (int i = 0; i < 4; ++i)
        m.txtInitStr[i]->setText(v.InitStr[i]);
}

void showLoadMarks(frmMain& m, const MarkPlan& plan)
{
    relockIfMarked(m);
    const auto shapes = m.highlightShapes();
    for (const ShapeMark& mark : plan.shapes) {
        HighlightShape* shape = nullptr;
        for (HighlightShape* s : shapes)
            if (s->objectName() == mark.shape)
                shape = s;
        if (!shape)
            throw std::logic_error("no highlight shape " + mark.shape.toStdString());
        shape->setFillColor(mark.colour == MarkColour::Red ? HighlightColors::Red
                                                           : HighlightColors::Yellow);
        shape->show();
    }
    unlockIfMarked(m, plan.modelChannelFlagged);
}
