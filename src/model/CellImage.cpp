#include "model/CellImage.h"

#include <QList>
#include <array>

namespace CellImage {

namespace {

QString hex2(int b)
{
    return QStringLiteral("%1").arg(b, 2, 16, QLatin1Char('0')).toUpper();
}

QChar shown(uint8_t b)
{
    return b >= 32 && b < 127 ? QChar(char16_t(b)) : QChar(u'.');
}

} // namespace

QByteArray format(const Cells& cells)
{
    QString out = QStringLiteral("# synchronizer cells: address d0 d1, in hex\n");
    for (int i = 0; i < CellCount; ++i) {
        const auto& c = cells[i];
        out += QStringLiteral("%1 %2 %3   # '%4' \"%5%6\"\n")
                   .arg(hex2(FirstCell + i), hex2(c[0]), hex2(c[1]))
                   .arg(shown(uint8_t(FirstCell + i)))
                   .arg(shown(c[0]))
                   .arg(shown(c[1]));
    }
    return out.toLatin1();
}

bool parse(const QByteArray& text, Cells* cells, QString* error)
{
    Cells read{};
    std::array<bool, CellCount> seen{};
    const QList<QByteArray> lines = text.split('\n');
    for (int n = 0; n < lines.size(); ++n) {
        QByteArray line = lines[n];
        const int hash = line.indexOf('#');
        if (hash >= 0)
            line.truncate(hash);
        const QList<QByteArray> words = line.simplified().split(' ');
        if (line.simplified().isEmpty())
            continue;
        auto fail = [&](const QString& what) {
            *error = QStringLiteral("line %1: %2").arg(n + 1).arg(what);
            return false;
        };
        if (words.size() != 3)
            return fail(QStringLiteral("expected an address and two bytes in hex"));
        int v[3];
        for (int k = 0; k < 3; ++k) {
            bool ok = false;
            v[k] = words[k].toInt(&ok, 16);
            if (!ok || words[k].size() > 2 || v[k] < 0 || v[k] > 255)
                return fail(QStringLiteral("\"%1\" is not a byte in hex")
                                .arg(QString::fromLatin1(words[k])));
        }
        if (v[0] < FirstCell || v[0] > LastCell)
            return fail(QStringLiteral("%1 is not a cell (30 to 6F)").arg(hex2(v[0])));
        const int i = v[0] - FirstCell;
        if (seen[i])
            return fail(QStringLiteral("cell %1 appears twice").arg(hex2(v[0])));
        seen[i] = true;
        read[i] = {uint8_t(v[1]), uint8_t(v[2])};
    }
    for (int i = 0; i < CellCount; ++i)
        if (!seen[i]) {
            *error = QStringLiteral("cell %1 is missing").arg(hex2(FirstCell + i));
            return false;
        }
    *cells = read;
    return true;
}

} // namespace CellImage
