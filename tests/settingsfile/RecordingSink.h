#pragma once
// A parser sink that records what the parser does: the details lines and counters of
// the preview window, and every control change of the apply pass, in order.

#include "settingsfile/ParserSink.h"

#include <QMap>
#include <QStringList>

class RecordingSink : public ParserSink
{
public:
    QStringList details;           // as appended, prefix and CR LF included
    int errorCount = -1;           // last shown in txtErrs
    int lineCount = -1;            // last shown in txtLines
    QStringList log;               // "begin", "text StartFrame=12", "option EndTitle", ...
    QMap<QString, QString> fields; // last value per control
    bool modelEnabled = true;
    bool channelEnabled = true;

    static QString name(TextField f);
    static QString name(OptionField f);
    static QString name(CheckField f);

    void appendDetails(const QString& text) override { details.append(text); }
    void showErrorCount(int count) override { errorCount = count; }
    void showLineCount(int lineNo) override { lineCount = lineNo; }
    bool isFieldEnabled(TextField field) const override
    {
        if (field == TextField::Model)
            return modelEnabled;
        if (field == TextField::Channel)
            return channelEnabled;
        return true;
    }
    void beginApply() override { log.append(QStringLiteral("begin")); }
    void endApply() override { log.append(QStringLiteral("end")); }
    void setText(TextField field, const QString& text) override
    {
        log.append(QStringLiteral("text %1=%2").arg(name(field), text));
        fields[name(field)] = text;
    }
    void selectOption(OptionField option) override
    {
        const QString n = name(option);
        log.append(QStringLiteral("option ") + n);
        fields[n.startsWith(QLatin1String("Start")) ? QStringLiteral("StartMode")
                                                    : QStringLiteral("EndMode")] = n;
    }
    void setCheck(CheckField box, int value) override
    {
        log.append(QStringLiteral("check %1=%2").arg(name(box)).arg(value));
        fields[name(box)] = QString::number(value);
    }
    void setListIndex(ListField, int index) override
    {
        log.append(QStringLiteral("list Baud=%1").arg(index));
        fields[QStringLiteral("Baud")] = QString::number(index);
    }

    // Every control's last value, "Channel=7 StartFrame=12", sorted by control.
    QString state() const
    {
        QStringList out;
        for (auto it = fields.cbegin(); it != fields.cend(); ++it)
            out.append(it.key() + QLatin1Char('=') + it.value());
        return out.join(QLatin1Char(' '));
    }
};

inline QString RecordingSink::name(TextField f)
{
    static const char* const names[] = {"Model",      "Channel",  "StartFrame",   "EndFrame",
                                        "StartTitle", "EndTitle", "StartChapter", "EndChapter",
                                        "InitStr1",   "InitStr2", "InitStr3",     "InitStr4",
                                        "Comment"};
    return QString::fromLatin1(names[static_cast<int>(f)]);
}

inline QString RecordingSink::name(OptionField f)
{
    static const char* const names[] = {"StartTitle", "StartChapter", "StartTimecode", "StartFrame",
                                        "EndTitle",   "EndChapter",   "EndTimecode",   "EndFrame"};
    return QString::fromLatin1(names[static_cast<int>(f)]);
}

inline QString RecordingSink::name(CheckField f)
{
    return f == CheckField::Synchronize ? QStringLiteral("Synchronize") : QStringLiteral("Squelch");
}
