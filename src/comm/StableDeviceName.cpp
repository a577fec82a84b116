#include "comm/StableDeviceName.h"

#include <QDir>
#include <QFileInfo>

namespace StableDeviceName {

QStringList defaultFolders()
{
    return {QStringLiteral("/dev/serial/by-id"), QStringLiteral("/dev/serial/by-path")};
}

QString of(const QString& device, const QStringList& folders)
{
    const QString real = QFileInfo(device).canonicalFilePath();
    if (real.isEmpty())
        return QString();
    for (const QString& folder : folders) {
        const QDir dir(folder);
        for (const QFileInfo& link : dir.entryInfoList(QDir::System | QDir::Files, QDir::Name))
            if (link.isSymLink() && link.canonicalFilePath() == real)
                return link.absoluteFilePath();
    }
    return QString();
}

} // namespace StableDeviceName
