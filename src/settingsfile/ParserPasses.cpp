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
std::array<bool, 4> namedInitStrings(const Globals& g)
{
    std::array<bool, 4> named{};
    for (int i = 0; i < g.AcceptedCount && i < static_cast<int>(g.AcceptedLines.size()); ++i) {
        const WordList words = TokenizeLine(g.AcceptedLines[i]);
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

void PreviewFile(Globals& g, ParserSink& sink, const QStringList& lines, bool moreFollows)
{
    g.FileErrorCount = 0;
    g.FileLineNo = 1;
    g.AcceptedCount = 0;
    g.ParsePass = 1;
    sink.showErrorCount(g.FileErrorCount);
    sink.showLineCount(g.FileLineNo);

    for (const QString& line : lines) {
        g.CurrentLine = line;
        QString& entry = g.FileLines[g.FileLineNo];
        entry = withoutLeadingBlanks(line);
        if (!entry.isEmpty())
            DispatchLine(g, sink, TokenizeLine(entry));
        ++g.FileLineNo;
        sink.showLineCount(g.FileLineNo);
        if (g.FileLineNo > MaxFileLines) {
            if (moreFollows || lines.size() > MaxFileLines)
                ReportFileError(g, sink, TooManyLinesText());
            break;
        }
    }

    g.FileLineNo = 0;
}

void ApplyAcceptedLines(Globals& g, ParserSink& sink)
{
    sink.beginApply();
    g.ParsePass = 2;
    g.FileLineNo = 1;

    // The init strings a file names are emptied first, so the 58-character check judges
    // the file's strings against each other and the unnamed ones, not against the
    // strings they replace (which would cut a valid set depending on what the editor
    // held before).
    const std::array<bool, 4> named = namedInitStrings(g);
    static const TextField boxes[] = {TextField::InitStr1, TextField::InitStr2, TextField::InitStr3,
                                      TextField::InitStr4};
    for (int n = 0; n < 4; ++n) {
        if (named[n])
            sink.setText(boxes[n], QString());
    }

    const int last = static_cast<int>(g.FileLines.size()) - 1;
    for (int i = 0; i < g.AcceptedCount && g.FileLineNo <= last; ++i) {
        g.CurrentLine = g.AcceptedLines[i];
        g.FileLines[g.FileLineNo] = g.AcceptedLines[i];
        DispatchLine(g, sink, TokenizeLine(g.FileLines[g.FileLineNo]));
        ++g.FileLineNo;
    }

    g.FileLineNo = 0;
    sink.endApply();
}

} // namespace modParser
