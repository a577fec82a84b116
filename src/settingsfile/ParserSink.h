#pragma once
// What the settings-file parser talks to: the preview window (details box, line and
// error counters) and the editor's controls. The editor window implements it; tests and
// the fuzzer implement it with recorders. Widget-free on purpose.

#include <QString>

// The editor's text boxes a settings line can fill.
enum class TextField
{
    Model,
    Channel,
    StartFrame,
    EndFrame,
    StartTitle,
    EndTitle,
    StartChapter,
    EndChapter,
    InitStr1,
    InitStr2,
    InitStr3,
    InitStr4,
    Comment
};

// The editor's start and end option buttons.
enum class OptionField
{
    StartTitle,
    StartChapter,
    StartTimecode,
    StartFrame,
    EndTitle,
    EndChapter,
    EndTimecode,
    EndFrame
};

enum class CheckField
{
    Synchronize,
    Squelch
};

// The hidden speed list (entries "1200", "2400", "4800", "9600").
enum class ListField
{
    Baud
};

class ParserSink
{
public:
    virtual ~ParserSink() = default;

    // Preview window. `text` already carries the "LoadFile: " prefix and the CR LF
    // ending; append it at the end of the details box txtInput.
    virtual void appendDetails(const QString& text) = 0;
    // Shows the error count in txtErrs.
    virtual void showErrorCount(int count) = 0;
    // Shows the line counter in txtLines (after n lines it is n + 1).
    virtual void showLineCount(int lineNo) = 0;

    // Whether a text box takes input; asked for txtModel and txtChannel, which are
    // disabled while Model and Channel are locked.
    virtual bool isFieldEnabled(TextField field) const = 0;

    // The apply pass brackets all its setter calls with these two. Between them the
    // editor shows the init-string limit message at most once, however many times its
    // init-string handlers cut a string.
    virtual void beginApply() = 0;
    virtual void endApply() = 0;

    // Apply pass only. Each call must run the editor's own change handler, exactly as if
    // the user had made the change. setText on Model, Channel, the titles and chapters
    // sets the box beside the spinner and leaves the spinner alone.
    virtual void setText(TextField field, const QString& text) = 0;
    virtual void selectOption(OptionField option) = 0;
    virtual void setCheck(CheckField box, int value) = 0;     // 0 or 1
    virtual void setListIndex(ListField list, int index) = 0; // 0 to 3
};
