#include "flows/FileDialogs.h"

#include "flows/EditorView.h"
#include "flows/FlowHost.h"
#include "model/AppIdentity.h"

namespace modFileAccess {

namespace {
// A chosen file names the editor window until the next dialog chooses another.
QString chosen(FlowHost& host, const QString& path)
{
    if (!path.isEmpty())
        host.editor().setCaption(path);
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

Task<QString> AskFileToOpen(FlowHost& host)
{
    co_return chosen(host, co_await host.askOpenFile(OpenDialogTitle(), SettingsFileFilter(),
                                                     SettingsFileSelectedFilter()));
}

Task<QString> AskFileForSave(FlowHost& host)
{
    co_return chosen(host, co_await host.askSaveFile(SaveDialogTitle(), SettingsFileFilter(),
                                                     SettingsFileSelectedFilter()));
}

} // namespace modFileAccess
