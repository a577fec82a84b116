#include "flows/FileCommands.h"

#include "flows/EditorSink.h"
#include "flows/EditorView.h"
#include "flows/FileDialogs.h"
#include "flows/FlowHost.h"
#include "settingsfile/Parser.h"
#include "settingsfile/SettingsFileIO.h"
#include "settingsfile/SettingsLines.h"

#include <QDateTime>
#include <QDir>

namespace FileCommands {

namespace {
QString failureText(const QString& what, const QString& path, const QString& reason)
{
    return what + QStringLiteral("\r\n") + QDir::toNativeSeparators(path) + QStringLiteral("\r\n") +
           reason;
}
} // namespace

Task<FileResult> LoadFromFile(FlowHost& host)
{
    const QString fileName = co_await modFileAccess::AskFileToOpen(host);
    if (fileName.isEmpty())
        co_return FileResult{};

    // The whole file is read (and closed) before anything changes, so a file that cannot
    // be read leaves the preview, its counters and the editor as they were.
    const modFileAccess::SettingsReadResult read = modFileAccess::readSettingsFile(fileName);
    if (!read.ok) {
        co_await host.showMessage(
            failureText(QStringLiteral("Cannot read the file"), fileName, read.errorText), false);
        co_return FileResult{FileOutcome::Unreadable, fileName, read.errorText};
    }

    host.preview().startPreview(fileName);
    EditorSink sink(host.editor(), host.preview());
    modParser::PreviewFile(host.filePreviewState(), sink, read.lines, read.moreFollows);
    co_return FileResult{FileOutcome::Previewed, fileName, {}};
}

void ApplyPreviewedFile(FlowHost& host)
{
    EditorSink sink(host.editor(), host.preview());
    modParser::ApplyAcceptedLines(host.filePreviewState(), sink);
}

Task<FileResult> SaveToFile(FlowHost& host)
{
    const QStringList lines = modFileAccess::BuildSettingsLines(host.editor().model().snapshot(),
                                                                QDateTime::currentDateTime());
    const QString fileName = co_await modFileAccess::AskFileForSave(host);
    if (fileName.isEmpty())
        co_return FileResult{};

    // Written beside the old file and renamed over it: a failed write keeps the old file.
    QString reason;
    if (!modFileAccess::writeSettingsFile(fileName, lines, &reason)) {
        co_await host.showMessage(
            failureText(QStringLiteral("Cannot save to the file"), fileName, reason), false);
        co_return FileResult{FileOutcome::NotSaved, fileName, reason};
    }
    co_return FileResult{FileOutcome::Saved, fileName, {}};
}

} // namespace FileCommands
