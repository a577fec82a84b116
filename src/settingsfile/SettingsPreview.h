#pragma once
// One settings file on its way from the preview pass to the apply pass: the pass and the
// line being read, the lines the preview kept, and what the preview found, as values.
// The windows' application and the command-line tool each hold one; the parser functions
// (Parser.h) move it along.

#include <QString>
#include <QStringList>

class SettingsPreview
{
public:
    // The pass running: 1 previews (records and echoes), 2 applies to the editor.
    int pass() const { return pass_; }
    // The number of the line being read (counted from 1, blank lines too); 0 between passes.
    int lineNo() const { return lineNo_; }
    // The line being read: as the file holds it in the preview, the kept line when applying.
    const QString& currentLine() const { return currentLine_; }
    // The same line without its leading blanks: what its words were taken from.
    const QString& entry() const { return entry_; }

    // What the last preview found.
    // Every line of the details box, "LoadFile: " included, without the line ending.
    const QStringList& details() const { return details_; }
    // The texts counted as errors: unrecognized lines and the too-many-lines warning.
    const QStringList& errorLines() const { return errorLines_; }
    int errorCount() const { return static_cast<int>(errorLines_.size()); }
    // The canonical lines kept for the apply pass, in file order.
    const QStringList& acceptedLines() const { return accepted_; }
    int acceptedCount() const { return static_cast<int>(accepted_.size()); }
    // Every line the preview could not use, in file order, each as an unrecognized-line
    // text: unknown keywords, and known ones with a missing or unknown part (those the
    // details box passes over without a word). Header lines and Model or Channel while
    // locked are not among them.
    const QStringList& misreadLines() const { return misread_; }

    // Pass 1 from the start: everything the last file left is forgotten.
    void startPreview();
    // Pass 2 over the kept lines; the preview's findings stay.
    void startApply();
    // Either pass: line `lineNo` is read next; `entry` is `line` without leading blanks.
    void readLine(int lineNo, const QString& line, const QString& entry);
    // Between lines and after a pass.
    void setLineNo(int lineNo) { lineNo_ = lineNo; }
    void endPass() { lineNo_ = 0; }

    // Preview pass: `text` is kept and shown as "LoadFile: " + text.
    void accept(const QString& text);
    // Preview pass: `text` is shown and counted as an error.
    void reportError(const QString& text);
    // Preview pass: the line is not used, and rightly so (a header, a locked field).
    void passOver() { passedOver_ = true; }
    // Preview pass, around a known keyword's handler: when the handler neither kept the
    // line nor passed over it, `text` (its unrecognized-line text) is noted as misread.
    void beginDispatch();
    void endDispatch(const QString& text);
    // Preview pass: a line of an unknown keyword, as its unrecognized-line text.
    void noteMisread(const QString& text);

private:
    int pass_ = 1;
    int lineNo_ = 0;
    QString currentLine_;
    QString entry_;
    QStringList details_;
    QStringList errorLines_;
    QStringList accepted_;
    QStringList misread_;
    int acceptedBefore_ = 0;
    bool passedOver_ = false;
};
