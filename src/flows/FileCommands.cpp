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

void LoadFromFile(FlowHost& host)
{
    Globals& g = host.globals();
    g.SettingsFileName = modFileAccess::AskFileToOpen(host);
    if (g.SettingsFileName.isEmpty())
        return;

    // The whole file is read (and closed) before anything changes, so a file that cannot
    // be read leaves the preview, its counters and the editor as they were.
    const modFileAccess::SettingsReadResult read =
        modFileAccess::readSettingsFile(g.SettingsFileName);
    if (!read.ok) {
        host.showMessage(
            failureText(QStringLiteral("Cannot read the file"), g.SettingsFileName, read.errorText),
            false);
        return;
    }

    host.preview().startPreview(g.SettingsFileName);
    EditorSink sink(host.editor(), host.preview());
    modParser::PreviewFile(g, sink, read.lines, read.moreFollows);
}

void ApplyPreviewedFile(FlowHost& host)
{
    EditorSink sink(host.editor(), host.preview());
    modParser::ApplyAcceptedLines(host.globals(), sink);
}

void SaveToFile(FlowHost& host)
{
    Globals& g = host.globals();
    modFileAccess::BuildSettingsLines(g, host.editor().model().snapshot(),
                                      QDateTime::currentDateTime());
    g.SettingsFileName = modFileAccess::AskFileForSave(host);
    if (g.SettingsFileName.isEmpty())
        return;

    // Written beside the old file and renamed over it: a failed write keeps the old file.
    QString reason;
    if (!modFileAccess::writeSettingsFile(g.SettingsFileName, modFileAccess::savedLines(g),
                                          &reason)) {
        host.showMessage(
            failureText(QStringLiteral("Cannot save to the file"), g.SettingsFileName, reason),
            false);
    }
}

} // namespace FileCommands
