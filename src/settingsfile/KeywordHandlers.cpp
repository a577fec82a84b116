// One handler per keyword of a settings line. Each runs in both passes; the setters
// decide whether a line is recorded (preview) or applied to the editor.

#include "settingsfile/Parser.h"

namespace modParser {

namespace {

// The line the words came from, as the caller stored it in FileLines.
QString currentEntry(const Globals& g)
{
    if (g.FileLineNo >= 0 && g.FileLineNo < static_cast<int>(g.FileLines.size()))
        return g.FileLines[g.FileLineNo];
    return QString();
}

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

void parsePoint(Globals& g, ParserSink& sink, const QStringList& words, const PointTargets& t)
{
    if (words.size() < 3)
        return;
    const QString what = words.at(1).toUpper();
    if (what == QLatin1String("MODE")) {
        const QString mode = words.at(2).toUpper();
        if (mode == QLatin1String("TITLE"))
            ApplyOption(g, sink, words, t.title);
        else if (mode == QLatin1String("CHAPTER"))
            ApplyOption(g, sink, words, t.chapter);
        else if (mode == QLatin1String("TIMECODE"))
            ApplyOption(g, sink, words, t.timecode);
        else if (mode == QLatin1String("FRAME"))
            ApplyOption(g, sink, words, t.frame);
    } else if (what == QLatin1String("FRAME") || what == QLatin1String("TIMECODE")) {
        // The time of a Timecode point is not kept in files; its value goes to the frame.
        ApplyTextValue(g, sink, StripCommas(words.at(2)), words, t.frameBox, 3);
    } else if (what == QLatin1String("TITLE")) {
        ApplyTextValue(g, sink, StripCommas(words.at(2)), words, t.titleBox, 3);
    } else if (what == QLatin1String("CHAPTER")) {
        ApplyTextValue(g, sink, StripCommas(words.at(2)), words, t.chapterBox, 3);
    }
}

void parseSwitch(Globals& g, ParserSink& sink, const QStringList& words, CheckField box)
{
    if (words.size() < 2)
        return;
    const QString value = words.at(1).toUpper();
    if (value == QLatin1String("ON"))
        ApplyCheckValue(g, sink, 1, words, box);
    else if (value == QLatin1String("OFF"))
        ApplyCheckValue(g, sink, 0, words, box);
}

void parseLockedNumber(Globals& g, ParserSink& sink, const QStringList& words, TextField box)
{
    if (words.size() < 2 || !sink.isFieldEnabled(box))
        return;
    // An empty value (two blanks after the keyword) is kept and echoed as the keyword and
    // one blank ("Model "); that line has no value word left, so the apply pass drops it.
    ApplyTextValue(g, sink, words.at(1), words, box, 2);
}

} // namespace

void ParseBegin(Globals&, ParserSink&, const QStringList&) {}

void ParseTimestamp(Globals&, ParserSink&, const QStringList&) {}

void ParseModel(Globals& g, ParserSink& sink, const QStringList& words)
{
    parseLockedNumber(g, sink, words, TextField::Model);
}

void ParseChannel(Globals& g, ParserSink& sink, const QStringList& words)
{
    parseLockedNumber(g, sink, words, TextField::Channel);
}

void ParseStart(Globals& g, ParserSink& sink, const QStringList& words)
{
    parsePoint(g, sink, words,
               {OptionField::StartTitle, OptionField::StartChapter, OptionField::StartTimecode,
                OptionField::StartFrame, TextField::StartFrame, TextField::StartTitle,
                TextField::StartChapter});
}

void ParseEnd(Globals& g, ParserSink& sink, const QStringList& words)
{
    // The footer line ("End Quillmere ...") has no handler of its own and is dropped here.
    parsePoint(g, sink, words,
               {OptionField::EndTitle, OptionField::EndChapter, OptionField::EndTimecode,
                OptionField::EndFrame, TextField::EndFrame, TextField::EndTitle,
                TextField::EndChapter});
}

void ParseSynchronize(Globals& g, ParserSink& sink, const QStringList& words)
{
    parseSwitch(g, sink, words, CheckField::Synchronize);
}

void ParseSquelch(Globals& g, ParserSink& sink, const QStringList& words)
{
    parseSwitch(g, sink, words, CheckField::Squelch);
}

void ParseBaud(Globals& g, ParserSink& sink, const QStringList& words)
{
    if (words.size() < 2)
        return;
    static const char* const speeds[] = {"1200", "2400", "4800", "9600"};
    for (int i = 0; i < 4; ++i) {
        if (words.at(1) == QLatin1String(speeds[i])) {
            ApplyListIndex(g, sink, i, words, ListField::Baud);
            return;
        }
    }
}

void ParseInitString(Globals& g, ParserSink& sink, const QStringList& words)
{
    if (words.size() < 3 || words.at(1).toUpper() != QLatin1String("STRING"))
        return;
    bool isNumber = false;
    const int n = words.at(2).toInt(&isNumber);
    if (!isNumber || n < 1 || n > 4)
        return;
    // The whole rest of the line is the value, blanks included: the writer stores init
    // strings with their blanks, and they must come back as written.
    const QString value = restOfLine(currentEntry(g), words, 3).left(InitStrValueMax);
    static const TextField boxes[] = {TextField::InitStr1, TextField::InitStr2, TextField::InitStr3,
                                      TextField::InitStr4};
    ApplyTextValue(g, sink, value, words, boxes[n - 1], 4);
}

void ParseComment(Globals& g, ParserSink& sink, const QStringList& words)
{
    const QString value = restOfLine(currentEntry(g), words, 1).left(CommentValueMax);
    ApplyTextValue(g, sink, value, words, TextField::Comment, 2);
}

} // namespace modParser
