#include "app/StartOptions.h"

#include "comm/LineAddress.h"
#include "comm/PortMap.h"

#include <QtGlobal>

namespace StartOptions {

namespace {
// Qt's own options, taken by the application object; the first ones take a value.
const QStringList QtValueOptions = {
    QStringLiteral("platform"),        QStringLiteral("platformpluginpath"),
    QStringLiteral("platformtheme"),   QStringLiteral("plugin"),
    QStringLiteral("qwindowgeometry"), QStringLiteral("geometry"),
    QStringLiteral("qwindowtitle"),    QStringLiteral("title"),
    QStringLiteral("qwindowicon"),     QStringLiteral("icon"),
    QStringLiteral("display"),         QStringLiteral("name"),
    QStringLiteral("style"),           QStringLiteral("stylesheet"),
    QStringLiteral("session"),         QStringLiteral("qmljsdebugger")};
const QStringList QtFlagOptions = {QStringLiteral("reverse"),     QStringLiteral("widgetcount"),
                                   QStringLiteral("testability"), QStringLiteral("nograb"),
                                   QStringLiteral("dograb"),      QStringLiteral("sync")};

bool startEnvSet(const char* name)
{
    return !qEnvironmentVariableIsEmpty(name);
}
} // namespace

QStringList withoutQtOptions(const QStringList& arguments, bool* namesPlatform)
{
    if (namesPlatform)
        *namesPlatform = false;
    QStringList kept;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString& a = arguments.at(i);
        // Qt reads "-style X", "--style X" and "-style=X" alike.
        QString name = a.startsWith(QLatin1String("--")) ? a.mid(2)
                       : a.startsWith(QLatin1Char('-'))  ? a.mid(1)
                                                         : QString();
        const bool joined = name.contains(QLatin1Char('='));
        name = name.section(QLatin1Char('='), 0, 0);
        if (i > 0 && QtValueOptions.contains(name)) {
            if (namesPlatform && name == QLatin1String("platform"))
                *namesPlatform = true;
            if (!joined)
                ++i;
            continue;
        }
        if (i > 0 && QtFlagOptions.contains(name))
            continue;
        kept << a;
    }
    return kept;
}

QString missingDisplay(bool platformNamed)
{
#if defined(Q_OS_UNIX) && !defined(Q_OS_MACOS)
    if (platformNamed || startEnvSet("QT_QPA_PLATFORM") || startEnvSet("DISPLAY") ||
        startEnvSet("WAYLAND_DISPLAY"))
        return {};
    return QStringLiteral("corvane: no display to open a window on (neither DISPLAY nor "
                          "WAYLAND_DISPLAY is set); corvane-cli works without one");
#else
    Q_UNUSED(platformNamed);
    return {};
#endif
}

bool putPorts(PortMap& ports, const QString& map, const QStringList& portItems, QString* error)
{
    if (!map.trimmed().isEmpty() && !ports.setMapText(map, error)) {
        *error = QStringLiteral("corvane: ") + *error;
        return false;
    }
    // "N=URL" from --port: a device server's port on COMn for this run.
    for (const QString& item : portItems) {
        bool ok = false;
        const int n = item.section(QLatin1Char('='), 0, 0).toInt(&ok);
        const QString url = item.section(QLatin1Char('='), 1);
        QString why;
        const LineAddress address = LineAddress::parse(url, &why);
        if (!ok || n < 1 || n > PortMap::MaxPort || !address.isNetwork()) {
            *error = QStringLiteral("corvane: --port %1: expected N=rfc2217://HOST:PORT or "
                                    "N=tcp://HOST:PORT with N from 1 to 16%2%3")
                         .arg(item, why.isEmpty() ? QString() : QStringLiteral(": "), why);
            return false;
        }
        ports.setNetworkPort(n, url);
    }
    return true;
}

} // namespace StartOptions
