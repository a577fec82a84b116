// Tokenizing, dispatching and the pass-dependent setters of the settings-file parser.

#include "settingsfile/Parser.h"

namespace modParser {

namespace {
const QChar Blank = QLatin1Char(' ');

// Only blanks count: other white space (non-breaking blanks, form feeds) is content.
QString trimBlanks(const QString& s)
{
    qsizetype begin = 0;
    qsizetype end = s.size();
    while (begin < end && s.at(begin) == Blank)
        ++begin;
    while (end > begin && s.at(end - 1) == Blank)
        --end;
    return s.mid(begin, end - begin);
}

// The canonical line: the first `wordCount - 1` words as written, then the value.
QString canonicalLine(const QStringList& words, int keptWords, const QString& value)
{
    QStringList parts = words.mid(0, keptWords);
    parts.append(value);
    return parts.join(Blank);
}
} // namespace

WordList TokenizeLine(const QString& line, QChar delimiter)
{
    if (line.isEmpty())
        return std::nullopt;
    QString text = line;
    text.replace(QLatin1Char('\t'), Blank);
    text = trimBlanks(text);
    // A line of tabs and blanks only is treated like an empty one.
    if (text.isEmpty())
        return std::nullopt;
    QStringList words = text.split(delimiter);
    for (QString& w : words)
        w = trimBlanks(w);
    return words;
}

void DispatchLine(SettingsPreview& p, ParserSink& sink, const WordList& words)
{
    if (!words || words->isEmpty())
        return;
    const QStringList& w = *words;
    const QString key = w.at(0).toUpper();
    using Handler = void (*)(SettingsPreview&, ParserSink&, const QStringList&);
    static const std::pair<const char*, Handler> handlers[] = {
        {"BEGIN", ParseBegin},
        {"TIMESTAMP", ParseTimestamp},
        {"MODEL", ParseModel},
        {"CHANNEL", ParseChannel},
        {"START", ParseStart},
        {"END", ParseEnd},
        {"SYNCHRONIZE", ParseSynchronize},
        {"SQUELCH", ParseSquelch},
        {"BAUD", ParseBaud},
        {"INIT", ParseInitString},
        {"COMMENT", ParseComment},
    };
    const QString misread = UnrecognizedLineText(p.lineNo(), p.currentLine());
    for (const auto& [keyword, handler] : handlers) {
        if (key == QLatin1String(keyword)) {
            p.beginDispatch();
            handler(p, sink, w);
            p.endDispatch(misread);
            return;
        }
    }
    ReportFileError(p, sink, misread);
    p.noteMisread(misread);
}

void ApplyTextValue(SettingsPreview& p, ParserSink& sink, const QString& value,
                    const QStringList& words, TextField field, int wordCount)
{
    if (p.pass() == 1)
        RecordAcceptedLine(p, sink, canonicalLine(words, wordCount - 1, value));
    else
        sink.setText(field, value);
}

void ApplyOption(SettingsPreview& p, ParserSink& sink, const QStringList& words, OptionField option)
{
    if (p.pass() == 1)
        RecordAcceptedLine(p, sink, words.mid(0, 3).join(Blank));
    else
        sink.selectOption(option);
}

void ApplyCheckValue(SettingsPreview& p, ParserSink& sink, int value, const QStringList& words,
                     CheckField box)
{
    if (p.pass() == 1)
        RecordAcceptedLine(p, sink, words.mid(0, 2).join(Blank));
    else
        sink.setCheck(box, value);
}

void ApplyListIndex(SettingsPreview& p, ParserSink& sink, int index, const QStringList& words,
                    ListField list)
{
    if (p.pass() == 1)
        RecordAcceptedLine(p, sink, words.mid(0, 2).join(Blank));
    else
        sink.setListIndex(list, index);
}

QString StripCommas(const QString& value)
{
    // Only an empty value word (two blanks before it) becomes "0". A value of commas
    // only comes out empty: its canonical line ends in the blank before the value, is
    // echoed like that, and is dropped by the apply pass, so the field keeps its value.
    if (value.isEmpty())
        return QStringLiteral("0");
    QString stripped = value;
    stripped.remove(QLatin1Char(','));
    return stripped;
}

void RecordAcceptedLine(SettingsPreview& p, ParserSink& sink, const QString& text)
{
    p.accept(text);
    EchoLine(sink, text);
}

void EchoLine(ParserSink& sink, const QString& text)
{
    sink.appendDetails(QStringLiteral("LoadFile: ") + text + QStringLiteral("\r\n"));
}

void ReportFileError(SettingsPreview& p, ParserSink& sink, const QString& text)
{
    p.reportError(text);
    EchoLine(sink, text);
    sink.showErrorCount(p.errorCount());
}

QString UnrecognizedLineText(int lineNo, const QString& line)
{
    return QStringLiteral("->>> Ignoring Unrecognized Line (") + QString::number(lineNo) +
           QStringLiteral(")-->>>") + line;
}

QString TooManyLinesText()
{
    return QStringLiteral("Warning: Input File processing stopped, > 29 Lines!!");
}

} // namespace modParser
