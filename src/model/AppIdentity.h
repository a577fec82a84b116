#pragma once
// The application's title and version, from which captions and file headers are built.

#include "model/Version.h"

#include <QString>

namespace AppIdentity {
inline const QString Title = QStringLiteral("Corvane");
// The version is defined once, in the project's CMakeLists.txt.
constexpr int Major = AppVersion::Major;
constexpr int Minor = AppVersion::Minor;
constexpr int Revision = AppVersion::Revision;

// "2.0.8"
inline QString VersionNumber()
{
    return QStringLiteral("%1.%2.%3").arg(Major).arg(Minor).arg(Revision);
}
// "Corvane 2.0.8(beta)"
inline QString TitleWithFullVersion()
{
    return QStringLiteral("%1 %2.%3.%4(beta)").arg(Title).arg(Major).arg(Minor).arg(Revision);
}
// "Corvane 2.0(beta)"
inline QString TitleWithShortVersion()
{
    return QStringLiteral("%1 %2.%3(beta)").arg(Title).arg(Major).arg(Minor);
}
} // namespace AppIdentity
