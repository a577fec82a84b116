#pragma once
// Settings files on disk: bytes in Windows-1252, every written line ended by CR LF.
// Reading accepts CR LF, CR and LF mixed and a last line without an ending, keeps at
// most 29 lines and cuts over-long lines, so a binary or huge file stays harmless.

#include <QByteArray>
#include <QString>
#include <QStringList>

class QIODevice;

namespace modFileAccess {

// A line is kept up to this many bytes; the rest of it is skipped.
constexpr int MaxLineBytes = 4096;
// Reading gives up when the first 29 lines (and the look past them) take more bytes than
// this: such a file is not a settings file.
constexpr qint64 MaxReadBytes = 1024 * 1024;

struct SettingsReadResult
{
    bool ok = false;
    QString errorText;        // why the file could not be read, when !ok
    QStringList lines;        // at most 29, decoded, without their endings
    bool moreFollows = false; // the file holds a further line (an empty one counts)
};

SettingsReadResult readSettingsLines(QIODevice& device);
SettingsReadResult readSettingsLines(const QByteArray& bytes);
SettingsReadResult readSettingsFile(const QString& path);

// Each line in Windows-1252 plus CR LF; a character outside the code page becomes "?".
QByteArray encodeSettingsLines(const QStringList& lines);
// Replaces the file as a whole (written beside it, then renamed). On failure returns
// false with the system's reason in *errorText and leaves an existing file untouched.
bool writeSettingsFile(const QString& path, const QStringList& lines, QString* errorText);

} // namespace modFileAccess
