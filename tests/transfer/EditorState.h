#pragma once
// The editor as the user sees it, as "name=value" lines, for "nothing changed" checks and
// for round trips.

#include "app/CorvaneApp.h"
#include "app/HighlightShape.h"
#include "app/Spinner.h"
#include "app/frmMain.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QRadioButton>
#include <QStringList>

namespace TransferTest {

// Every control's value, the marks and shapes, and the lock.
inline QStringList wholeEditor(frmMain& m)
{
    QStringList out;
    for (QLineEdit* box : m.findChildren<QLineEdit*>())
        out << box->objectName() + "=" + box->text();
    for (Spinner* s : m.findChildren<Spinner*>())
        out << s->objectName() + "=" + QString::number(s->Value()) + "/" +
                   QString::number(s->Max()) + (s->isHidden() ? " hidden" : "");
    for (QRadioButton* o : m.findChildren<QRadioButton*>())
        out << o->objectName() + "=" + (o->isChecked() ? "1" : "0");
    for (QCheckBox* c : m.findChildren<QCheckBox*>())
        out << c->objectName() + "=" + (c->isChecked() ? "1" : "0");
    for (HighlightShape* s : m.highlightShapes())
        out << s->objectName() + "=" + (s->isHidden() ? "hidden" : s->FillColor().name());
    const Globals& g = m.app.g;
    for (int k = 0; k < MarkKeyCount; ++k)
        out << QStringLiteral("mark%1=%2%3")
                   .arg(k)
                   .arg(g.marks.flags[k].Unreadable)
                   .arg(g.marks.flags[k].OutOfRange);
    out << QStringLiteral("unlocked=%1 marked=%2 txtModel enabled=%3")
               .arg(g.ModelChannelUnlocked)
               .arg(g.ModelChannelMarked)
               .arg(m.txtModel->isEnabled());
    out.sort();
    return out;
}

// What a save stores and a load brings back: the modes, the point readings the modes use
// (the minutes and seconds of a time, the frame box otherwise, since a point's cells hold
// one of the two), titles, chapters, switches, comment, init strings, model and channel.
inline QStringList storedFields(frmMain& m)
{
    QStringList out;
    const int startMode = m.optStartTitle->isChecked()      ? 0
                          : m.optStartChapter->isChecked()  ? 1
                          : m.optStartTimecode->isChecked() ? 2
                                                            : 3;
    const int endMode = m.optEndTitle->isChecked()      ? 0
                        : m.optEndChapter->isChecked()  ? 1
                        : m.optEndTimecode->isChecked() ? 2
                                                        : 3;
    out << QStringLiteral("modes=%1/%2 record %3/%4")
               .arg(startMode)
               .arg(endMode)
               .arg(int(m.params.StartMode))
               .arg(int(m.params.EndMode));
    if (startMode == 2)
        out << QStringLiteral("start=%1:%2")
                   .arg(m.scrStartMinutes->Value())
                   .arg(m.scrStartSeconds->Value());
    else
        out << "start=" + m.txtStartFrame->text();
    if (endMode == 2)
        out << QStringLiteral("end=%1:%2")
                   .arg(m.scrEndMinutes->Value())
                   .arg(m.scrEndSeconds->Value());
    else
        out << "end=" + m.txtEndFrame->text();
    for (QLineEdit* box : {m.txtModel, m.txtChannel, m.txtStartTitle, m.txtEndTitle,
                           m.txtStartChapter, m.txtEndChapter, m.txtComment, m.txtInitStr1,
                           m.txtInitStr2, m.txtInitStr3, m.txtInitStr4})
        out << box->objectName() + "=" + box->text();
    out << QStringLiteral("switches=%1%2")
               .arg(m.chkSynchronize->isChecked())
               .arg(m.chkSquelch->isChecked());
    return out;
}

} // namespace TransferTest
