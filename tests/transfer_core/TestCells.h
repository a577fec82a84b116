#pragma once
// Hand-built unit memory and editor snapshots for the tests, written as short tokens
// (support/CellTokens.h).

#include "model/CellBytes.h"
#include "model/EditorSnapshot.h"
#include "model/SyncParameters.h"
#include "support/CellTokens.h"

#include <QMap>
#include <QStringList>

int runLoadTest(int argc, char** argv);
int runSaveTest(int argc, char** argv);

namespace TestCells {

using CellTokens::apply;
using CellTokens::modeFromLetter;
using CellTokens::putText;

// The default set: model 22 channel 1, Chapter to Chapter, frames 1 and 1000, titles and
// chapters 1 and 2, both switches on, "0KL0DS", no comment.
inline CellSet defaultUnit()
{
    CellSet cells;
    apply(cells, {"3F=22", "3E=01", "modes=C/C", "start=0000001", "end=0001000", "38=01", "39=02",
                  "3A=01", "3B=02", "3D=7<"});
    putText(cells, 0x50, 32, "0KL0DS\r");
    putText(cells, 0x48, 8, "");
    return cells;
}

} // namespace TestCells

namespace TestEditor {

// The editor after Defaults, changed by tokens: "txtStartTitle=150", "scrEndSeconds=5",
// "modes=M/F", "unlocked", "chkSquelch=0", "txtInitStr2=AB".
inline void apply(EditorSnapshot& e, const QStringList& tokens)
{
    const QMap<QString, QString*> texts{{"txtModel", &e.txtModel},
                                        {"txtChannel", &e.txtChannel},
                                        {"txtStartTitle", &e.txtStartTitle},
                                        {"txtEndTitle", &e.txtEndTitle},
                                        {"txtStartChapter", &e.txtStartChapter},
                                        {"txtEndChapter", &e.txtEndChapter},
                                        {"txtStartFrame", &e.txtStartFrame},
                                        {"txtEndFrame", &e.txtEndFrame},
                                        {"txtComment", &e.txtComment},
                                        {"txtInitStr1", &e.txtInitStr[0]},
                                        {"txtInitStr2", &e.txtInitStr[1]},
                                        {"txtInitStr3", &e.txtInitStr[2]},
                                        {"txtInitStr4", &e.txtInitStr[3]}};
    const QMap<QString, int*> numbers{{"scrStartMinutes", &e.scrStartMinutes},
                                      {"scrStartSeconds", &e.scrStartSeconds},
                                      {"scrEndMinutes", &e.scrEndMinutes},
                                      {"scrEndSeconds", &e.scrEndSeconds}};
    for (const QString& t : tokens) {
        const QString key = t.section(u'=', 0, 0), value = t.section(u'=', 1);
        if (key == "unlocked")
            e.ModelChannelUnlocked = true;
        else if (key == "modes") {
            e.StartMode = TestCells::modeFromLetter(value.at(0));
            e.EndMode = TestCells::modeFromLetter(value.at(2));
        } else if (key == "chkSynchronize" || key == "chkSquelch")
            (key == "chkSquelch" ? e.chkSquelch : e.chkSynchronize) = value == "1";
        else if (texts.contains(key))
            *texts[key] = value;
        else
            *numbers.value(key) = value.toInt();
    }
}

inline EditorSnapshot with(const QStringList& tokens)
{
    EditorSnapshot e;
    apply(e,
          {"txtModel=22", "txtChannel=1", "txtStartTitle=1", "txtEndTitle=2", "txtStartChapter=1",
           "txtEndChapter=2", "txtStartFrame=1", "txtEndFrame=1000", "txtInitStr1=0KL0DS"});
    apply(e, tokens);
    return e;
}

} // namespace TestEditor
