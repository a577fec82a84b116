#pragma once
// modParser: reads settings-file lines in two passes. The preview pass turns every
// understood line into a canonical line, keeps it and echoes it into the preview's
// details box; unknown keywords become error lines. The apply pass runs
// the kept lines again and hands their values to the editor's controls. The file's state
// from one pass to the next, and what the preview found, live in a SettingsPreview.

#include "settingsfile/ParserSink.h"
#include "settingsfile/SettingsPreview.h"

#include <QString>
#include <QStringList>
#include <optional>

namespace modParser {

// At most this many lines of a file are read.
constexpr int MaxFileLines = 29;
// An init string read from a file keeps at most this many characters; a comment 15.
constexpr int InitStrValueMax = 23;
constexpr int CommentValueMax = 15;

// The words of a line, or nothing for a line that is empty (also after tabs became
// blanks and outer blanks were removed).
using WordList = std::optional<QStringList>;

// Splits at every single `delimiter` (always a blank) after tabs became blanks and the
// outer blanks were removed: two blanks in a row give an empty word.
WordList TokenizeLine(const QString& line, QChar delimiter = QLatin1Char(' '));

// Calls the handler of word 0's keyword, or reports the line as unrecognized.
void DispatchLine(SettingsPreview& p, ParserSink& sink, const WordList& words);

// Keyword handlers: BEGIN, TIMESTAMP, MODEL, CHANNEL, START, END, SYNCHRONIZE, SQUELCH,
// BAUD, INIT, COMMENT. A recognised keyword with a missing or unknown part is dropped
// without a word in the details box; the preview notes it among its misread lines.
void ParseBegin(SettingsPreview& p, ParserSink& sink, const QStringList& words);
void ParseTimestamp(SettingsPreview& p, ParserSink& sink, const QStringList& words);
void ParseModel(SettingsPreview& p, ParserSink& sink, const QStringList& words);
void ParseChannel(SettingsPreview& p, ParserSink& sink, const QStringList& words);
void ParseStart(SettingsPreview& p, ParserSink& sink, const QStringList& words);
void ParseEnd(SettingsPreview& p, ParserSink& sink, const QStringList& words);
void ParseSynchronize(SettingsPreview& p, ParserSink& sink, const QStringList& words);
void ParseSquelch(SettingsPreview& p, ParserSink& sink, const QStringList& words);
void ParseBaud(SettingsPreview& p, ParserSink& sink, const QStringList& words);
void ParseInitString(SettingsPreview& p, ParserSink& sink, const QStringList& words);
void ParseComment(SettingsPreview& p, ParserSink& sink, const QStringList& words);

// Setters shared by the handlers. Preview pass: record the canonical line (the first
// wordCount - 1 words as written, then the value). Apply pass: set the control.
void ApplyTextValue(SettingsPreview& p, ParserSink& sink, const QString& value,
                    const QStringList& words, TextField field, int wordCount);
void ApplyOption(SettingsPreview& p, ParserSink& sink, const QStringList& words,
                 OptionField option);
void ApplyCheckValue(SettingsPreview& p, ParserSink& sink, int value, const QStringList& words,
                     CheckField box);
void ApplyListIndex(SettingsPreview& p, ParserSink& sink, int index, const QStringList& words,
                    ListField list);

// Removes every "," and returns the rest, which is empty for a value of commas only; an
// empty value gives "0".
QString StripCommas(const QString& value);

// Keeps `text` as the next accepted line and echoes it.
void RecordAcceptedLine(SettingsPreview& p, ParserSink& sink, const QString& text);
// Appends "LoadFile: " + text + CR LF to the details box.
void EchoLine(ParserSink& sink, const QString& text);
// Appends the line like EchoLine, counts the error and shows the new count.
void ReportFileError(SettingsPreview& p, ParserSink& sink, const QString& text);

// "->>> Ignoring Unrecognized Line (7)-->>>" + the line as read.
QString UnrecognizedLineText(int lineNo, const QString& line);
// "Warning: Input File processing stopped, > 29 Lines!!"
QString TooManyLinesText();

// The preview pass over the lines of one file (as read, without line endings). Resets
// what an earlier file left, skips empty lines, shows the line counter after every line
// and stops after 29 lines with the warning when more follow (a list longer than 29
// counts as more following). The editor is not touched.
void PreviewFile(SettingsPreview& p, ParserSink& sink, const QStringList& lines, bool moreFollows);

// The apply pass over the preview's accepted lines, bracketed by sink.beginApply()/endApply().
void ApplyAcceptedLines(SettingsPreview& p, ParserSink& sink);

} // namespace modParser
