// Reading and writing settings files as Windows-1252 bytes.

#include "settingsfile/SettingsFileIO.h"

#include "model/AnsiText.h"
#include "model/WholeFile.h"

#include "settingsfile/Parser.h"

#include <QBuffer>
#include <QFile>
#include <QStringDecoder>
#include <QStringEncoder>

namespace modFileAccess {

namespace {
const char* const CodePage = "windows-1252";

// Turns the bytes of a device into lines: CR LF, CR and LF each end a line, a last line
// needs no ending, over-long lines are cut, and reading stops after 29 lines with a look
// at whether anything follows.
class LineSplitter
{
public:
    explicit LineSplitter(SettingsReadResult& result) : m_result(result) {}

    // False once no more bytes are wanted.
    bool feed(char c)
    {
        if (m_afterCR) {
            m_afterCR = false;
            if (c == '\n')
                return true; // the LF of a CR LF pair
        }
        if (m_result.lines.size() >= modParser::MaxFileLines) {
            m_result.moreFollows = true;
            return false;
        }
        if (c == '\r' || c == '\n') {
            finishLine();
            m_afterCR = c == '\r';
        } else {
            m_inLine = true;
            if (m_line.size() < MaxLineBytes)
                m_line.append(c);
        }
        return true;
    }

    void finish()
    {
        if (m_inLine)
            finishLine();
    }

private:
    void finishLine()
    {
        m_result.lines.append(m_decoder.decode(m_line));
        m_line.clear();
        m_inLine = false;
    }

    SettingsReadResult& m_result;
    QStringDecoder m_decoder{CodePage};
    QByteArray m_line;
    bool m_inLine = false;
    bool m_afterCR = false;
};

} // namespace

SettingsReadResult readSettingsLines(QIODevice& device)
{
    SettingsReadResult result;
    LineSplitter splitter(result);
    qint64 consumed = 0;
    char chunk[16384];
    for (;;) {
        const qint64 n = device.read(chunk, sizeof chunk);
        if (n < 0) {
            result.lines.clear();
            result.errorText = device.errorString();
            return result;
        }
        if (n == 0)
            break;
        for (qint64 i = 0; i < n; ++i) {
            if (!splitter.feed(chunk[i])) {
                result.ok = true;
                return result;
            }
            if (++consumed > MaxReadBytes) {
                result.lines.clear();
                result.errorText =
                    QStringLiteral("Not a settings file: its first 29 lines take more than 1 MB.");
                return result;
            }
        }
    }
    splitter.finish();
    result.ok = true;
    return result;
}

SettingsReadResult readSettingsLines(const QByteArray& bytes)
{
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    return readSettingsLines(buffer);
}

SettingsReadResult readSettingsFile(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        SettingsReadResult result;
        result.errorText = file.errorString();
        return result;
    }
    return readSettingsLines(file);
}

QByteArray encodeSettingsLines(const QStringList& lines)
{
    QByteArray bytes;
    for (const QString& line : lines)
        bytes += AnsiText::encode(line) + QByteArrayLiteral("\r\n");
    return bytes;
}

bool writeSettingsFile(const QString& path, const QStringList& lines, QString* errorText)
{
    return writeWholeFile(path, encodeSettingsLines(lines), errorText);
}

} // namespace modFileAccess
