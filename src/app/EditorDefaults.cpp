#include "app/EditorDefaults.h"

#include "app/CorvaneApp.h"
#include "app/HighlightShape.h"
#include "app/Spinner.h"
#include "app/frmMain.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QRadioButton>

namespace modCorvaneComm {

// Each step sets a control and lets its own handler run. The start values go to their
// minimum before the end values are set, so no intermediate state has an end at or
// before its start, whatever the editor held.
void SetDefaults(frmMain& m)
{
    m.scrModel->setValueNotify(22);
    m.scrChannel->setValueNotify(1);

    m.scrStartTitle->setValueNotify(1);
    m.scrStartChapter->setValueNotify(1);
    m.scrStartMinutes->setValueNotify(0);
    m.scrStartSeconds->setValueNotify(0);
    m.txtStartFrame->setText(QStringLiteral("1"));

    m.scrEndTitle->setValueNotify(2);
    m.scrEndChapter->setValueNotify(2);
    m.scrEndMinutes->setValueNotify(1);
    m.scrEndSeconds->setValueNotify(0);
    m.txtEndFrame->setText(QStringLiteral("1000"));

    m.optStartChapter->setChecked(true);
    m.optEndChapter->setChecked(true);

    m.chkSynchronize->setChecked(true);
    m.chkSquelch->setChecked(true);

    // The four init strings are replaced as one step: the total is judged on the new
    // values only, so the reset never shows the limit message.
    const QString defaults[4] = {QStringLiteral("0KL0DS"), QString(), QString(), QString()};
    for (int i = 0; i < 4; ++i)
        m.params.InitStr[i] = defaults[i];
    for (int i = 0; i < 4; ++i)
        m.txtInitStr[i]->setText(defaults[i]);

    m.txtComment->setText(QString());

    ClearHighlights(m);
}

void ClearHighlights(frmMain& m)
{
    for (HighlightShape* s : m.highlightShapes())
        s->hide();
    m.app.g.marks.clear();
}

} // namespace modCorvaneComm
