#include "transfer/flows/EditorReading.h"

#include "app/CorvaneApp.h"
#include "app/Spinner.h"
#include "app/frmMain.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QRadioButton>

EditorSnapshot readEditor(const frmMain& m)
{
    EditorSnapshot e;
    e.ModelChannelUnlocked = m.app.g.ModelChannelUnlocked;
    e.txtModel = m.txtModel->text();
    e.txtChannel = m.txtChannel->text();
    // With no option selected the mode last stored stays.
    e.StartMode = modeFromOptions(m.optStartTitle->isChecked(), m.optStartChapter->isChecked(),
                                  m.optStartTimecode->isChecked(), m.optStartFrame->isChecked(),
                                  m.params.StartMode);
    e.EndMode = modeFromOptions(m.optEndTitle->isChecked(), m.optEndChapter->isChecked(),
                                m.optEndTimecode->isChecked(), m.optEndFrame->isChecked(),
                                m.params.EndMode);
    e.txtStartTitle = m.txtStartTitle->text();
    e.txtEndTitle = m.txtEndTitle->text();
    e.txtStartChapter = m.txtStartChapter->text();
    e.txtEndChapter = m.txtEndChapter->text();
    e.txtStartFrame = m.txtStartFrame->text();
    e.txtEndFrame = m.txtEndFrame->text();
    e.scrStartMinutes = m.scrStartMinutes->Value();
    e.scrStartSeconds = m.scrStartSeconds->Value();
    e.scrEndMinutes = m.scrEndMinutes->Value();
    e.scrEndSeconds = m.scrEndSeconds->Value();
    e.chkSynchronize = m.chkSynchronize->isChecked();
    e.chkSquelch = m.chkSquelch->isChecked();
    e.txtComment = m.txtComment->text();
    for (int i = 0; i < 4; ++i)
        e.txtInitStr[i] = m.txtInitStr[i]->text();
    return e;
}
