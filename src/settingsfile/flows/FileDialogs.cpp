#include "settingsfile/flows/FileDialogs.h"

#include "app/Modal.h"
#include "app/frmMain.h"
#include "model/AppIdentity.h"

namespace modFileAccess {

namespace {
// A chosen file names the editor window until the next dialog chooses another.
QString chosen(frmMain& main, const QString& path)
{
    if (!path.isEmpty())
        main.setWindowTitle(path);
    return path;
}
} // namespace

QString SettingsFileFilter()
{
    return QStringLiteral("All Files (*.*);;Text Files (*.txt)");
}

QString SettingsFileSelectedFilter()
{
    return QStringLiteral("Text Files (*.txt)");
}

QString OpenDialogTitle()
{
    return AppIdentity::TitleWithShortVersion() + QStringLiteral(" -- File to Open");
}

QString SaveDialogTitle()
{
    return AppIdentity::TitleWithShortVersion() + QStringLiteral(" -- File for Save");
}

QString AskFileToOpen(frmMain& main)
{
    return chosen(main, Modal::openFileName(&main, OpenDialogTitle(), SettingsFileFilter(),
                                            SettingsFileSelectedFilter()));
}

QString AskFileForSave(frmMain& main)
{
    return chosen(main, Modal::saveFileName(&main, SaveDialogTitle(), SettingsFileFilter(),
                                            SettingsFileSelectedFilter()));
}

} // namespace modFileAccess
