#pragma once
// Valid parameter sets for each pair of modes, put into the editor through its controls,
// chosen so that the numbers a point's cells also hold in its other reading would be
// pushed by the frame checks or the end-after-start rules if a load applied them: start
// time 12:05 (frame 1205) before end frame 1000, start frame 50000 (time 500:00) before
// end time 10:00, start titles and chapters of 99 where the end uses the other field.

#include "app/EditorDefaults.h"
#include "app/Spinner.h"
#include "app/frmMain.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QRadioButton>

namespace TransferTest {

inline QRadioButton* startOption(frmMain& m, int mode)
{
    return std::array<QRadioButton*, 4>{m.optStartTitle, m.optStartChapter, m.optStartTimecode,
                                        m.optStartFrame}[mode];
}
inline QRadioButton* endOption(frmMain& m, int mode)
{
    return std::array<QRadioButton*, 4>{m.optEndTitle, m.optEndChapter, m.optEndTimecode,
                                        m.optEndFrame}[mode];
}

constexpr int Title = 0, Chapter = 1, Time = 2, Frame = 3;

// Puts a valid set for the modes into the editor as a user could have left it.
inline void enterValidSet(frmMain& m, int startMode, int endMode)
{
    modCorvaneComm::SetDefaults(m);
    endOption(m, endMode)->setChecked(true);
    startOption(m, startMode)->setChecked(true);

    // Frame boxes: typed and checked as when the focus leaves them.
    const bool timeThenFrame = startMode == Time && endMode == Frame;
    m.txtEndFrame->setText(timeThenFrame ? "1000" : "60000");
    m.txtEndFrame_LostFocus();
    m.txtStartFrame->setText(startMode == Frame ? "50000" : timeThenFrame ? "500" : "3000");
    m.txtStartFrame_LostFocus();

    m.scrEndMinutes->setValueClamped(startMode == Time ? 20 : 10);
    m.scrEndSeconds->setValueClamped(startMode == Time ? 30 : 0);
    m.scrStartMinutes->setValueClamped(12);
    m.scrStartSeconds->setValueClamped(5);

    m.scrEndTitle->setValueClamped(99);
    m.scrStartTitle->setValueClamped(endMode == Title ? 98 : 99);
    m.scrEndChapter->setValueClamped(99);
    m.scrStartChapter->setValueClamped(endMode == Chapter ? 98 : 99);

    m.chkSynchronize->setChecked((startMode + endMode) % 2 == 0);
    m.chkSquelch->setChecked(startMode % 2 == 0);
    m.txtComment->setText(QStringLiteral("Round %1/%2 trip").arg(startMode).arg(endMode));
    m.txtInitStr2->setText("PL2");
    m.txtInitStr3->setText("X");
}

// Something else in every stored field, with other modes: the end mode leaves the start
// title or chapter a bound of 98 that the loaded set does not have.
inline void enterOtherSet(frmMain& m, int startMode, int endMode)
{
    modCorvaneComm::SetDefaults(m);
    endOption(m, endMode == Title ? Chapter : Title)->setChecked(true);
    startOption(m, startMode == Frame ? Time : Frame)->setChecked(true);
    m.chkSynchronize->setChecked(!m.chkSynchronize->isChecked());
    m.txtComment->setText("other");
}

} // namespace TransferTest
