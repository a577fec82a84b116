// The two passes over a settings file: the preview over the lines read, and the apply
// pass over the lines the preview kept.

#include "settingsfile/Parser.h"

#include <array>

namespace modParser {

namespace {
QString withoutLeadingBlanks(const QString& line)
{
    qsizetype i = 0;
    while (i < line.size() && line.at(i) == QLatin1Char(' '))
        ++i;
    return line.mid(i);
}

// Which init strings the kept lines name (index 0 for Init String 1).
std::array<bool, 4> namedInitStrings(const QStringList& kept)
{
    std::array<bool, 4> named{};
    for (const QString& line : kept) {
        const WordList words = TokenizeLine(line);
        if (!words || words->size() < 3 || words->at(0).toUpper() != QLatin1String("INIT") ||
            words->at(1).toUpper() != QLatin1String("STRING"))
            continue;
        bool isNumber = false;
        const int n = words->at(2).toInt(&isNumber);
        if (isNumber && n >= 1 && n <= 4)
            named[n - 1] = true;
    }
    return named;
}
} // namespace

void PreviewFile(SettingsPreview& p, ParserSink& sink, const QStringList& lines, bool moreFollows)
{
    p.startPreview();
    sink.showErrorCount(p.errorCount());
    sink.showLineCount(p.lineNo());

    int lineNo = 1;
    for (const QString& line : lines) {
        const QString entry = withoutLeadingBlanks(line);
        p.readLine(lineNo, line, entry);
        if (!entry.isEmpty())
            DispatchLine(p, sink, TokenizeLine(entry));
        ++lineNo;
        p.setLineNo(lineNo);
        sink.showLineCount(lineNo);
        if (lineNo > MaxFileLines) {
            if (moreFollows || lines.size() > MaxFileLines)
                ReportFileError(p, sink, TooManyLinesText());
            break;
        }
    }
    p.endPass();
}

void ApplyAcceptedLines(SettingsPreview& p, ParserSink& sink)
{
    sink.beginApply();
    p.startApply();
    const QStringList kept = p.acceptedLines();

    // The init strings a file names are emptied first, so the 58-character check judges
    // the file's strings against each other and the unnamed ones, not against the
    // strings they replace (which would cut a valid set depending on what the editor
    // held before).
    const std::array<bool, 4> named = namedInitStrings(kept);
    static const TextField boxes[] = {TextField::InitStr1, TextField::InitStr2, TextField::InitStr3,
                                      TextField::InitStr4};
    for (int n = 0; n < 4; ++n) {
        if (named[n])
            sink.setText(boxes[n], QString());
    }

    int lineNo = 1;
    for (const QString& line : kept) {
        p.readLine(lineNo, line, line);
        DispatchLine(p, sink, TokenizeLine(line));
        ++lineNo;
    }

    p.endPass();
    sink.endApply();
}

} // namespace modParser
