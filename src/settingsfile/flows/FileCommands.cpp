#include "settingsfile/flows/FileCommands.h"

#include "app/CorvaneApp.h"
#include "app/Modal.h"
#include "app/frmMain.h"
#include "settingsfile/Parser.h"
#include "settingsfile/SettingsFileIO.h"
#include "settingsfile/SettingsLines.h"
#include "settingsfile/flows/EditorFieldsFromWindow.h"
#include "settingsfile/flows/EditorSink.h"
#include "settingsfile/flows/FileDialogs.h"
#include "settingsfile/flows/frmFileInput.h"

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

void LoadFromFile(frmMain& main)
{
    Globals& g = main.app.g;
    g.SettingsFileName = modFileAccess::AskFileToOpen(main);
    if (g.SettingsFileName.isEmpty())
        return;

    // The whole file is read (and closed) before anything changes, so a file that cannot
    // be read leaves the preview, its counters and the editor as they were.
    const modFileAccess::SettingsReadResult read =
        modFileAccess::readSettingsFile(g.SettingsFileName);
    if (!read.ok) {
        Modal::messageBox(
            &main,
            failureText(QStringLiteral("Cannot read the file"), g.SettingsFileName, read.errorText),
            false);
        return;
    }

    frmFileInput& preview = main.app.fileInput();
    preview.startPreview(g.SettingsFileName);
    preview.show();
    preview.raise();
    preview.activateWindow();
    EditorSink sink(main, preview);
    modParser::PreviewFile(g, sink, read.lines, read.moreFollows);
}

void SaveToFile(frmMain& main)
{
    Globals& g = main.app.g;
    modFileAccess::BuildSettingsLines(g, modFileAccess::EditorFieldsFrom(main),
                                      QDateTime::currentDateTime());
    g.SettingsFileName = modFileAccess::AskFileForSave(main);
    if (g.SettingsFileName.isEmpty())
        return;

    // Written beside the old file and renamed over it: a failed write keeps the old file.
    QString reason;
    if (!modFileAccess::writeSettingsFile(g.SettingsFileName, modFileAccess::savedLines(g),
                                          &reason)) {
        Modal::messageBox(
            &main,
            failureText(QStringLiteral("Cannot save to the file"), g.SettingsFileName, reason),
            false);
    }
}

} // namespace FileCommands
