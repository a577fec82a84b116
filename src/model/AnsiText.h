#pragma once
// Text as a unit keeps it: one byte per character in the Windows-1252 code page.

#include <QByteArray>
#include <QString>

namespace AnsiText {

// One byte per character. A character the code page lacks (a letter of another script,
// an emoji) becomes "?", so that it still takes exactly one place and stays printable.
QByteArray encode(const QString& text);

QString decode(const QByteArray& bytes);

} // namespace AnsiText
