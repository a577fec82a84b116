#include "cli/FileCheck.h"

#include "cli/CliHost.h"
#include "cli/CliSession.h"
#include "cli/ShownText.h"
#include "flows/EditorDefaults.h"
#include "flows/EditorSink.h"
#include "settingsfile/Parser.h"
#include "settingsfile/SettingsFileIO.h"

#include <QRegularExpression>
#include <algorithm>

namespace FileCheck {

namespace {

// The editor's label of the field a kept line sets ("Start Frame" for a Start Timecode
// line, whose value goes to the frame), or "" for a mode or switch line.
QString fieldOf(const QString& keptLine)
{
    const modParser::WordList words = modParser::TokenizeLine(keptLine);
    if (!words || words->isEmpty())
        return QString();
    const QString key = words->at(0).toUpper();
    if (key == QLatin1String("MODEL"))
        return QStringLiteral("Model");
    if (key == QLatin1String("CHANNEL"))
        return QStringLiteral("Channel");
    if (key == QLatin1String("COMMENT"))
        return QStringLiteral("Comment");
    if (key == QLatin1String("INIT") && words->size() >= 3)
        return QStringLiteral("Init String %1").arg(words->at(2).toInt());
    if ((key != QLatin1String("START") && key != QLatin1String("END")) || words->size() < 2)
        return QString();
    const QString side =
        key == QLatin1String("START") ? QStringLiteral("Start ") : QStringLiteral("End ");
    const QString what = words->at(1).toUpper();
    if (what == QLatin1String("FRAME") || what == QLatin1String("TIMECODE"))
        return side + QStringLiteral("Frame");
    if (what == QLatin1String("TITLE"))
        return side + QStringLiteral("Title");
    if (what == QLatin1String("CHAPTER"))
        return side + QStringLiteral("Chapter");
    return QString();
}

} // namespace

PreviewedFile previewFile(const UnitVoice& voice, const QString& path, bool unlocked)
{
    const auto err = [&voice](const QString& line) { voice.err(line); };
    PreviewedFile result;
    const modFileAccess::SettingsReadResult read = modFileAccess::readSettingsFile(path);
    if (!read.ok) {
        err(QStringLiteral("corvane-cli: cannot read %1: %2").arg(path, read.errorText));
        result.status = ExitCode::BadInput;
        return result;
    }

    // An editor of its own, holding the defaults, locked or unlocked as the command will be.
    CliEditor editor;
    modCorvaneComm::SetDefaults(editor.model());
    editor.model().setModelChannelUnlocked(unlocked);
    CliPreview window;
    EditorSink sink(editor, window);
    SettingsPreview preview;
    modParser::PreviewFile(preview, sink, read.lines, read.moreFollows);
    modParser::ApplyAcceptedLines(preview, sink);
    result.made = editor.model().snapshot();
    result.kept = preview.acceptedLines();

    // A comment longer than the unit holds is cut, as the editor cuts it; say so.
    const bool commentKept =
        std::any_of(result.kept.begin(), result.kept.end(),
                    [](const QString& l) { return fieldOf(l) == QLatin1String("Comment"); });
    for (const QString& raw : commentKept ? read.lines : QStringList()) {
        const QString line = raw.trimmed();
        static const QRegularExpression keyword(QStringLiteral("^comment\\s+"),
                                                QRegularExpression::CaseInsensitiveOption);
        const QRegularExpressionMatch m = keyword.match(line);
        if (!m.hasMatch())
            continue;
        const QString given = line.mid(m.capturedEnd());
        if (given.size() > result.made.txtComment.size())
            err(QStringLiteral("%1: the comment \"%2\" is cut to %3 characters: \"%4\"")
                    .arg(path, shownText(given))
                    .arg(result.made.txtComment.size())
                    .arg(shownText(result.made.txtComment)));
    }
    const QStringList& misread = preview.misreadLines();
    for (const QString& line : misread)
        err(shownText(plainText(line).trimmed()));
    if (!misread.isEmpty()) {
        err(QStringLiteral("corvane-cli: %1: %2 line%3 not understood; nothing was sent")
                .arg(path)
                .arg(misread.size())
                .arg(misread.size() == 1 ? QString() : QStringLiteral("s")));
        result.status = ExitCode::BadInput;
    } else if (result.kept.isEmpty()) {
        err(QStringLiteral("corvane-cli: %1: no settings line was understood; nothing was sent")
                .arg(path));
        result.status = ExitCode::BadInput;
    }
    return result;
}

QVector<SaveProblem> problemsInFile(const EditorSnapshot& made, const QStringList& kept)
{
    QStringList fields;
    for (const QString& line : kept)
        fields << fieldOf(line);
    QVector<SaveProblem> found;
    for (const SaveProblem& p : checkSaveValues(made))
        if (fields.contains(p.field))
            found << p;
    return found;
}

QString writeProblemText(const QString& path, const QVector<SaveProblem>& problems)
{
    QStringList lines{
        QStringLiteral("corvane-cli: %1 sets values that the synchronizer cannot hold:").arg(path)};
    for (const SaveProblem& p : problems)
        lines << p.sentence();
    lines << QStringLiteral("Nothing was sent.");
    return lines.join(QLatin1Char('\n'));
}

QString verifyProblemText(const QString& path, const QVector<SaveProblem>& problems,
                          bool beforeLoad)
{
    QStringList lines;
    lines << (beforeLoad
                  ? QStringLiteral("corvane-cli: %1 sets values that the synchronizer cannot "
                                   "hold:")
                        .arg(path)
                  : QStringLiteral("corvane-cli: what %1 makes of the unit's settings holds "
                                   "values that the synchronizer cannot hold:")
                        .arg(path));
    for (const SaveProblem& p : problems)
        lines << p.sentence();
    lines << (beforeLoad ? QStringLiteral("The unit cannot match the file; nothing was sent.")
                         : QStringLiteral("The unit cannot match the file."));
    return lines.join(QLatin1Char('\n'));
}

} // namespace FileCheck
