#include "settingsfile/flows/EditorFieldsFromWindow.h"

#include "app/frmMain.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QRadioButton>

namespace modFileAccess {

namespace {
// Tested Title, Chapter, Timecode, Frame; one of them is always selected.
PointMode selectedMode(QRadioButton* title, QRadioButton* chapter, QRadioButton* timecode,
                       QRadioButton* frame)
{
    if (title->isChecked())
        return PointMode::Title;
    if (chapter->isChecked())
        return PointMode::Chapter;
    if (timecode->isChecked())
        return PointMode::Timecode;
    if (frame->isChecked())
        return PointMode::Frame;
    return PointMode::Title;
}

int checkValue(const QCheckBox* box)
{
    switch (box->checkState()) {
    case Qt::Unchecked:
        return 0;
    case Qt::PartiallyChecked:
        return 2;
    case Qt::Checked:
        break;
    }
    return 1;
}
} // namespace

EditorFields EditorFieldsFrom(const frmMain& m)
{
    EditorFields f;
    f.model = m.txtModel->text();
    f.channel = m.txtChannel->text();
    f.startMode =
        selectedMode(m.optStartTitle, m.optStartChapter, m.optStartTimecode, m.optStartFrame);
    f.endMode = selectedMode(m.optEndTitle, m.optEndChapter, m.optEndTimecode, m.optEndFrame);
    f.startFrame = m.txtStartFrame->text();
    f.endFrame = m.txtEndFrame->text();
    f.startTitle = m.txtStartTitle->text();
    f.endTitle = m.txtEndTitle->text();
    f.startChapter = m.txtStartChapter->text();
    f.endChapter = m.txtEndChapter->text();
    f.synchronize = checkValue(m.chkSynchronize);
    f.squelch = checkValue(m.chkSquelch);
    for (int i = 0; i < 4; ++i)
        f.initStr[i] = m.params.InitStr[i];
    f.comment = m.params.Comment;
    return f;
}

} // namespace modFileAccess
