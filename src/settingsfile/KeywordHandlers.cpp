// One handler per keyword of a settings line. Each runs in both passes; the setters
// decide whether a line is recorded (preview) or applied to the editor.

#include "settingsfile/Parser.h"

namespace modParser {

namespace {

// The rest of `entry` after its first `count` words and one separator each, every
// character kept. The words are those TokenizeLine made of `entry`, so their lengths
// give the position; tabs count as the blanks they became, leading ones included.
QString restOfLine(const QString& entry, const QStringList& words, int count)
{
    qsizetype pos = 0;
    while (pos < entry.size() &&
           (entry.at(pos) == QLatin1Char(' ') || entry.at(pos) == QLatin1Char('\t')))
        ++pos;
    for (int i = 0; i < count && i < words.size(); ++i)
        pos += words.at(i).size() + 1;
    return pos < entry.size() ? entry.mid(pos) : QString();
}

struct PointTargets
{
    OptionField title, chapter, timecode, frame;
    TextField frameBox, titleBox, chapterBox;
};

void parsePoint(SettingsPreview& p, ParserSink& sink, const QStringList& words,
                const PointTargets& t)
{
    if (words.size() < 3)
        return;
    const QString what = words.at(1).toUpper();
    if (what == QLatin1String("MODE")) {
        const QString mode = words.at(2).toUpper();
        if (mode == QLatin1String("TITLE"))
            ApplyOption(p, sink, words, t.title);
        else if (mode == QLatin1String("CHAPTER"))
            ApplyOption(p, sink, words, t.chapter);
        else if (mode == QLatin1String("TIMECODE"))
            ApplyOption(p, sink, words, t.timecode);
        else if (mode == QLatin1String("FRAME"))
            ApplyOption(p, sink, words, t.frame);
    } else if (what == QLatin1String("FRAME") || what == QLatin1String("TIMECODE")) {
        // The time of a Timecode point is not kept in files; its value goes to the frame.
        ApplyTextValue(p, sink, StripCommas(words.at(2)), words, t.frameBox, 3);
    } else if (what == QLatin1String("TITLE")) {
        ApplyTextValue(p, sink, StripCommas(words.at(2)), words, t.titleBox, 3);
    } else if (what == QLatin1String("CHAPTER")) {
        ApplyTextValue(p, sink, StripCommas(words.at(2)), words, t.chapterBox, 3);
    }
}

void parseSwitch(SettingsPreview& p, ParserSink& sink, const QStringList& words, CheckField box)
{
    if (words.size() < 2)
        return;
    const QString value = words.at(1).toUpper();
    if (value == QLatin1String("ON"))
        ApplyCheckValue(p, sink, 1, words, box);
    else if (value == QLatin1String("OFF"))
        ApplyCheckValue(p, sink, 0, words, box);
}

void parseLockedNumber(SettingsPreview& p, ParserSink& sink, const QStringList& words,
                       TextField box)
{
    if (words.size() < 2)
        return;
    // The boxes take input exactly while Model and Channel are unlocked.
    if (!sink.isFieldEnabled(box)) {
        p.passOver();
        return;
    }
    // An empty value (two blanks after the keyword) is kept and echoed as the keyword and
    // one blank ("Model "); that line has no value word left, so the apply pass drops it.
    ApplyTextValue(p, sink, words.at(1), words, box, 2);
}

} // namespace

void ParseBegin(SettingsPreview& p, ParserSink&, const QStringList&)
{
    p.passOver();
}

void ParseTimestamp(SettingsPreview& p, ParserSink&, const QStringList&)
{
    p.passOver();
}

void ParseModel(SettingsPreview& p, ParserSink& sink, const QStringList& words)
{
    parseLockedNumber(p, sink, words, TextField::Model);
}

void ParseChannel(SettingsPreview& p, ParserSink& sink, const QStringList& words)
{
    parseLockedNumber(p, sink, words, TextField::Channel);
}

void ParseStart(SettingsPreview& p, ParserSink& sink, const QStringList& words)
{
    parsePoint(p, sink, words,
               {OptionField::StartTitle, OptionField::StartChapter, OptionField::StartTimecode,
                OptionField::StartFrame, TextField::StartFrame, TextField::StartTitle,
                TextField::StartChapter});
}

void ParseEnd(SettingsPreview& p, ParserSink& sink, const QStringList& words)
{
    // The footer line ("End Quillmere ...") has no handler of its own and is dropped here.
    if (words.size() >= 2 && words.at(1).toUpper() == QLatin1String("QUILLMERE")) {
        p.passOver();
        return;
    }
    parsePoint(p, sink, words,
               {OptionField::EndTitle, OptionField::EndChapter, OptionField::EndTimecode,
                OptionField::EndFrame, TextField::EndFrame, TextField::EndTitle,
                TextField::EndChapter});
}

void ParseSynchronize(SettingsPreview& p, ParserSink& sink, const QStringList& words)
{
    parseSwitch(p, sink, words, CheckField::Synchronize);
}

void ParseSquelch(SettingsPreview& p, ParserSink& sink, const QStringList& words)
{
    parseSwitch(p, sink, words, CheckField::Squelch);
}

void ParseBaud(SettingsPreview& p, ParserSink& sink, const QStringList& words)
{
    if (words.size() < 2)
        return;
    static const char* const speeds[] = {"1200", "2400", "4800", "9600"};
    for (int i = 0; i < 4; ++i) {
        if (words.at(1) == QLatin1String(speeds[i])) {
            ApplyListIndex(p, sink, i, words, ListField::Baud);
            return;
        }
    }
}

void ParseInitString(SettingsPreview& p, ParserSink& sink, const QStringList& words)
{
    if (words.size() < 3 || words.at(1).toUpper() != QLatin1String("STRING"))
        return;
    bool isNumber = false;
    const int n = words.at(2).toInt(&isNumber);
    if (!isNumber || n < 1 || n > 4)
        return;
    // The whole rest of the line is the value, blanks included: the writer stores init
    // strings with their blanks, and they must come back as written.
    const QString value = restOfLine(p.entry(), words, 3).left(InitStrValueMax);
    static const TextField boxes[] = {TextField::InitStr1, TextField::InitStr2, TextField::InitStr3,
                                      TextField::InitStr4};
    ApplyTextValue(p, sink, value, words, boxes[n - 1], 4);
}

void ParseComment(SettingsPreview& p, ParserSink& sink, const QStringList& words)
{
    const QString value = restOfLine(p.entry(), words, 1).left(CommentValueMax);
    ApplyTextValue(p, sink, value, words, TextField::Comment, 2);
}

} // namespace modParser
