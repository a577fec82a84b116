// Feeds arbitrary bytes through the settings-file reader, the tokenizer and both parser
// passes, and checks what must hold for any file: bounded lines, consistent counters and
// outcome, an editor untouched by the preview, kept lines that read back as themselves,
// and an apply pass that sets one control per kept line inside its bracket.

#include "FuzzCheck.h"
#include "settingsfile/Parser.h"
#include "settingsfile/SettingsFileIO.h"

#include <cstdint>
#include <cstdio>

namespace {

class CheckingSink : public ParserSink
{
public:
    bool modelEnabled = true;
    int detailLines = 0;
    int shownErrors = 0;
    int shownLines = -1;
    int begins = 0;
    int ends = 0;
    int setters = 0;          // setter calls of any kind
    int leadingEmptyInit = 0; // empty init-string texts before the first other setter
    bool otherSetterSeen = false;
    bool setterOutsideBracket = false;

    void appendDetails(const QString& text) override
    {
        FUZZ_CHECK(text.startsWith(QLatin1String("LoadFile: ")));
        FUZZ_CHECK(text.endsWith(QLatin1String("\r\n")));
        ++detailLines;
    }
    void showErrorCount(int count) override { shownErrors = count; }
    void showLineCount(int lineNo) override { shownLines = lineNo; }
    bool isFieldEnabled(TextField) const override { return modelEnabled; }
    void beginApply() override
    {
        FUZZ_CHECK(begins == ends);
        ++begins;
    }
    void endApply() override
    {
        ++ends;
        FUZZ_CHECK(begins == ends);
    }
    void setText(TextField field, const QString& text) override
    {
        const bool initStr = field >= TextField::InitStr1 && field <= TextField::InitStr4;
        if (initStr)
            FUZZ_CHECK(text.size() <= modParser::InitStrValueMax);
        if (field == TextField::Comment)
            FUZZ_CHECK(text.size() <= modParser::CommentValueMax);
        if (initStr && text.isEmpty() && !otherSetterSeen)
            ++leadingEmptyInit;
        else
            otherSetterSeen = true;
        counted();
    }
    void selectOption(OptionField) override { other(); }
    void setCheck(CheckField, int value) override
    {
        FUZZ_CHECK(value == 0 || value == 1);
        other();
    }
    void setListIndex(ListField, int index) override
    {
        FUZZ_CHECK(index >= 0 && index <= 3);
        other();
    }

private:
    void other()
    {
        otherSetterSeen = true;
        counted();
    }
    void counted()
    {
        ++setters;
        setterOutsideBracket = setterOutsideBracket || begins == ends;
    }
};

// A kept line whose value came out empty ("Start Frame " from "Start Frame ,", "Model "
// from "Model  34"): shown in the details box, but the apply pass drops it. A comment or
// init string may be empty and is applied all the same.
bool valueless(const QString& line)
{
    return line.endsWith(QLatin1Char(' ')) &&
           !line.startsWith(QLatin1String("comment"), Qt::CaseInsensitive) &&
           !line.startsWith(QLatin1String("init string"), Qt::CaseInsensitive);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes =
        QByteArray::fromRawData(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const modFileAccess::SettingsReadResult read = modFileAccess::readSettingsLines(bytes);
    if (!read.ok) {
        FUZZ_CHECK(read.lines.isEmpty() && !read.errorText.isEmpty());
        return 0;
    }
    FUZZ_CHECK(read.lines.size() <= modParser::MaxFileLines);
    FUZZ_CHECK(!read.moreFollows || read.lines.size() == modParser::MaxFileLines);
    for (const QString& line : read.lines)
        FUZZ_CHECK(line.size() <= modFileAccess::MaxLineBytes);

    // Both lock states of Model and Channel get their share of the inputs.
    SettingsPreview state;
    CheckingSink sink;
    sink.modelEnabled = size % 2 == 1;
    modParser::PreviewFile(state, sink, read.lines, read.moreFollows);

    FUZZ_CHECK(sink.setters == 0 && sink.begins == 0);
    FUZZ_CHECK(state.acceptedCount() <= read.lines.size());
    FUZZ_CHECK(sink.detailLines == state.acceptedCount() + state.errorCount());
    FUZZ_CHECK(state.details().size() == sink.detailLines);
    FUZZ_CHECK(sink.shownErrors == state.errorCount());
    FUZZ_CHECK(sink.shownLines == read.lines.size() + 1);
    FUZZ_CHECK(state.lineNo() == 0 && state.pass() == 1);
    // Every unknown keyword is an error line and misread; a misread line is one of the
    // file's lines, so there are at most as many as lines.
    FUZZ_CHECK(state.misreadLines().size() + state.acceptedCount() <= read.lines.size());
    for (const QString& error : state.errorLines())
        FUZZ_CHECK(error == modParser::TooManyLinesText() || state.misreadLines().contains(error));

    // A kept line with a value is canonical: previewed again it is kept unchanged and is
    // no error.
    const QStringList kept = state.acceptedLines();
    QStringList withValues;
    for (const QString& line : kept)
        if (!valueless(line))
            withValues.append(line);
    const int dropped = static_cast<int>(kept.size() - withValues.size());
    {
        SettingsPreview again;
        CheckingSink quiet;
        quiet.modelEnabled = sink.modelEnabled;
        modParser::PreviewFile(again, quiet, withValues, false);
        FUZZ_CHECK(again.errorCount() == 0 && again.misreadLines().isEmpty());
        FUZZ_CHECK(again.acceptedLines() == withValues);
    }

    // The apply pass: after emptying the init strings the file names, one control per
    // kept line with a value, all inside one bracket, and nothing new in the details box.
    const int detailsBefore = sink.detailLines;
    modParser::ApplyAcceptedLines(state, sink);
    FUZZ_CHECK(sink.begins == 1 && sink.ends == 1);
    FUZZ_CHECK(!sink.setterOutsideBracket);
    const int applied = state.acceptedCount() - dropped;
    FUZZ_CHECK(sink.setters >= applied && sink.setters <= applied + 4);
    FUZZ_CHECK(sink.setters - applied <= sink.leadingEmptyInit);
    FUZZ_CHECK(sink.detailLines == detailsBefore && sink.shownErrors == state.errorCount());
    FUZZ_CHECK(state.details().size() == detailsBefore && state.acceptedLines() == kept);
    FUZZ_CHECK(state.lineNo() == 0 && state.pass() == 2);
    return 0;
}
