#pragma once
// The application's title and version, from which captions and file headers are built.

#include <QString>

namespace AppIdentity {
inline const QString Title = QStringLiteral("Corvane");
constexpr int Major = 2;
constexpr int Minor = 0;
constexpr int Revision = 8;

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
