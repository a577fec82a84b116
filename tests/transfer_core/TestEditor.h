#pragma once
// Editor snapshots for the tests, changed by name: "txtStartTitle=150", "scrEndSeconds=5",
// "modes=M/F", "unlocked", "chkSquelch=0", "txtInitStr2=AB".

#include "TestCells.h"
#include "transfer/EditorSnapshot.h"

#include <QMap>

namespace TestEditor {

// What the editor shows after Defaults.
inline EditorSnapshot defaults()
{
    EditorSnapshot e;
    e.txtModel = "22";
    e.txtChannel = "1";
    e.txtStartTitle = "1";
    e.txtEndTitle = "2";
    e.txtStartChapter = "1";
    e.txtEndChapter = "2";
    e.txtStartFrame = "1";
    e.txtEndFrame = "1000";
    return e;
}

inline void apply(EditorSnapshot& e, const QStringList& tokens)
{
    for (const QString& t : tokens) {
        const QString key = t.section(u'=', 0, 0);
        const QString value = t.section(u'=', 1);
        QString* text = nullptr;
        int* number = nullptr;
        if (key == "unlocked")
            e.ModelChannelUnlocked = true;
        else if (key == "modes") {
            e.StartMode = TestCells::modeFromLetter(value.at(0));
            e.EndMode = TestCells::modeFromLetter(value.at(2));
        } else if (key == "chkSynchronize")
            e.chkSynchronize = value == "1";
        else if (key == "chkSquelch")
            e.chkSquelch = value == "1";
        else if (key.startsWith("txtInitStr"))
            text = &e.txtInitStr[key.right(1).toInt() - 1];
        else {
            const QMap<QString, QString*> texts{{"txtModel", &e.txtModel},
                                                {"txtChannel", &e.txtChannel},
                                                {"txtStartTitle", &e.txtStartTitle},
                                                {"txtEndTitle", &e.txtEndTitle},
                                                {"txtStartChapter", &e.txtStartChapter},
                                                {"txtEndChapter", &e.txtEndChapter},
                                                {"txtStartFrame", &e.txtStartFrame},
                                                {"txtEndFrame", &e.txtEndFrame},
                                                {"txtComment", &e.txtComment}};
            const QMap<QString, int*> numbers{{"scrStartMinutes", &e.scrStartMinutes},
                                              {"scrStartSeconds", &e.scrStartSeconds},
                                              {"scrEndMinutes", &e.scrEndMinutes},
                                              {"scrEndSeconds", &e.scrEndSeconds}};
            text = texts.value(key);
            number = numbers.value(key);
            Q_ASSERT(text || number);
        }
        if (text)
            *text = value;
        if (number)
            *number = value.toInt();
    }
}

inline EditorSnapshot with(const QStringList& tokens)
{
    EditorSnapshot e = defaults();
    apply(e, tokens);
    return e;
}

} // namespace TestEditor
