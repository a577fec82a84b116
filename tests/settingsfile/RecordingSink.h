#pragma once
// A parser sink that records the preview window's details and counters, and every
// control change of the apply pass in order ("begin", "StartFrame=12", ..., "end").

#include "settingsfile/ParserSink.h"

#include <QMap>
#include <QStringList>

class RecordingSink : public ParserSink
{
public:
    QStringList details;                 // as appended, prefix and CR LF included
    int errorCount = -1, lineCount = -1; // as last shown
    QStringList log;
    bool modelChannelEnabled = true;

    void appendDetails(const QString& text) override { details.append(text); }
    void showErrorCount(int count) override { errorCount = count; }
    void showLineCount(int lineNo) override { lineCount = lineNo; }
    bool isFieldEnabled(TextField f) const override
    {
        return modelChannelEnabled || (f != TextField::Model && f != TextField::Channel);
    }
    void beginApply() override { log.append("begin"); }
    void endApply() override { log.append("end"); }
    void setText(TextField f, const QString& text) override
    {
        set(QString("Model Channel StartFrame EndFrame StartTitle EndTitle StartChapter "
                    "EndChapter InitStr1 InitStr2 InitStr3 InitStr4 Comment")
                .split(' ')[int(f)],
            text);
    }
    void selectOption(OptionField o) override
    {
        set(o < OptionField::EndTitle ? "StartMode" : "EndMode",
            QString("Title Chapter Timecode Frame").split(' ')[int(o) % 4]);
    }
    void setCheck(CheckField box, int value) override
    {
        set(box == CheckField::Synchronize ? "Synchronize" : "Squelch", QString::number(value));
    }
    void setListIndex(ListField, int index) override { set("Baud", QString::number(index)); }
    void set(const QString& control, const QString& value) { log.append(control + '=' + value); }

    // Every control's last value, sorted by control: "Channel=7 StartFrame=12".
    QString state() const
    {
        QMap<QString, QString> last;
        for (const QString& entry : log)
            if (entry.contains('='))
                last[entry.section('=', 0, 0)] = entry;
        return QStringList(last.values()).join(' ');
    }
};
