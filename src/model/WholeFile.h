#pragma once
// Writing a file whole or not at all.

#include <QByteArray>
#include <QString>

// Writes `bytes` beside `path` and renames the result over it. On failure the old file is
// left as it was and `errorText` (when given) holds the system's reason.
bool writeWholeFile(const QString& path, const QByteArray& bytes, QString* errorText);
