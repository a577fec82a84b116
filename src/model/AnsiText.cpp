#include "model/AnsiText.h"

#include <QStringDecoder>
#include <QStringEncoder>

namespace {
const char* const CodePage = "windows-1252";
} // namespace

namespace AnsiText {

QByteArray encode(const QString& text)
{
    QByteArray out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size();) {
        // A character outside the basic plane is a surrogate pair: one character, one byte.
        const qsizetype len =
            (text.at(i).isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate())
                ? 2
                : 1;
        // A fresh encoder for each character: an error sticks to an encoder even across
        // resetState(), and would hide the next unmappable character.
        QStringEncoder encoder(CodePage, QStringConverter::Flag::Stateless);
        const QByteArray bytes = encoder.encode(QStringView(text).mid(i, len));
        if (encoder.hasError() || bytes.size() != 1)
            out.append('?');
        else
            out.append(bytes);
        i += len;
    }
    return out;
}

QString decode(const QByteArray& bytes)
{
    QStringDecoder decoder(CodePage, QStringConverter::Flag::Stateless);
    return decoder.decode(bytes);
}

} // namespace AnsiText
