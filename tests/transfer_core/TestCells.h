#pragma once
// Hand-built unit memory and editor snapshots for the tests, written as short tokens
// (support/CellTokens.h).

#include "model/EditorSnapshot.h"
#include "support/CellTokens.h"

int runLoadTest(int argc, char** argv);

namespace TestCells {

using namespace CellTokens;

// The default set (model 22 channel 1, Chapter to Chapter, frames 1 and 1000, titles and
// chapters 1 and 2, both switches on, "0KL0DS", no comment), then the changes.
inline CellSet defaultUnit(const QStringList& changes = {})
{
    CellSet cells;
    apply(cells, {"3F=22", "3E=01", "modes=C/C", "start=0000001", "end=0001000", "38=01", "39=02",
                  "3A=01", "3B=02", "3D=7<", "comment=", "init=0KL0DS\r"});
    apply(cells, changes);
    return cells;
}

} // namespace TestCells

namespace TestEditor {

// The editor after Defaults, changed by tokens: "txtStartTitle=150", "scrEndSeconds=5",
// "modes=M/F", "unlocked", "chkSquelch=0", "txtInitStr2=AB".
inline void apply(EditorSnapshot& e, const QStringList& tokens)
{
    const QStringList keys =
        QString("txtModel txtChannel txtStartTitle txtEndTitle txtStartChapter txtEndChapter "
                "txtStartFrame txtEndFrame txtComment txtInitStr1 txtInitStr2 txtInitStr3 "
                "txtInitStr4 scrStartMinutes scrStartSeconds scrEndMinutes scrEndSeconds")
            .split(' ');
    QString* const texts[] = {
        &e.txtModel,      &e.txtChannel,    &e.txtStartTitle, &e.txtEndTitle, &e.txtStartChapter,
        &e.txtEndChapter, &e.txtStartFrame, &e.txtEndFrame,   &e.txtComment,  &e.txtInitStr[0],
        &e.txtInitStr[1], &e.txtInitStr[2], &e.txtInitStr[3]};
    int* const numbers[] = {&e.scrStartMinutes, &e.scrStartSeconds, &e.scrEndMinutes,
                            &e.scrEndSeconds};
    for (const QString& t : tokens) {
        const QString key = t.section(u'=', 0, 0), value = t.section(u'=', 1);
        if (key == "unlocked")
            e.ModelChannelUnlocked = true;
        else if (key == "modes") {
            e.StartMode = TestCells::modeFromLetter(value.at(0));
            e.EndMode = TestCells::modeFromLetter(value.at(2));
        } else if (key == "chkSynchronize" || key == "chkSquelch")
            (key == "chkSquelch" ? e.chkSquelch : e.chkSynchronize) = value == "1";
        else if (const int i = keys.indexOf(key); i < 0)
            qFatal("unknown editor token %s", qPrintable(t));
        else if (i < 13)
            *texts[i] = value;
        else
            *numbers[i - 13] = value.toInt();
    }
}

inline EditorSnapshot with(const QStringList& tokens)
{
    EditorSnapshot e;
    apply(e, QString("txtModel=22 txtChannel=1 txtStartTitle=1 txtEndTitle=2 txtStartChapter=1 "
                     "txtEndChapter=2 txtStartFrame=1 txtEndFrame=1000 txtInitStr1=0KL0DS")
                 .split(' '));
    apply(e, tokens);
    return e;
}

} // namespace TestEditor
