// The default parameter set as a synchronizer stores it, and readable names for frames.

#include "simunit/SimSync.h"

namespace simsync {

namespace {

void putTwoDigits(Cells& cells, int address, int n)
{
    cells[address - FirstCell] = {static_cast<uint8_t>('0' + n / 10),
                                  static_cast<uint8_t>('0' + n % 10)};
}

// A seven-digit point value over four cells, the last cell's second byte "0".
void putPoint(Cells& cells, int firstAddress, long value)
{
    char digits[8];
    std::snprintf(digits, sizeof digits, "%07ld", value);
    for (int i = 0; i < 4; ++i) {
        const uint8_t second = i < 3 ? static_cast<uint8_t>(digits[2 * i + 1]) : '0';
        cells[firstAddress + i - FirstCell] = {static_cast<uint8_t>(digits[2 * i]), second};
    }
}

void putImage(Cells& cells, int firstAddress, const QByteArray& image)
{
    for (int i = 0; i + 1 < image.size(); i += 2)
        cells[firstAddress + i / 2 - FirstCell] = {static_cast<uint8_t>(image[i]),
                                                   static_cast<uint8_t>(image[i + 1])};
}

QString printable(uint8_t b)
{
    if (b >= 32 && b < 127)
        return QString(QChar(b));
    return QStringLiteral("\\x%1").arg(b, 2, 16, QLatin1Char('0'));
}

QString hex(const QByteArray& bytes)
{
    return QString::fromLatin1(bytes.toHex(' '));
}

} // namespace

Cells defaultCells()
{
    constexpr uint8_t Bel = 7, Cr = 13;
    Cells cells;
    for (auto& c : cells)
        c = {'0', '0'};
    putPoint(cells, 0x30, 1);    // start frame 1
    putPoint(cells, 0x34, 1000); // end frame 1000
    putTwoDigits(cells, 0x38, 1);
    putTwoDigits(cells, 0x39, 2);
    putTwoDigits(cells, 0x3A, 1);
    putTwoDigits(cells, 0x3B, 2);
    cells[0x3C - FirstCell] = {static_cast<uint8_t>('0' + 4 * 1 + 1), '0'}; // both Chapter
    cells[0x3D - FirstCell] = {'7', static_cast<uint8_t>('0' + 8 + 4)};     // 9600, both on
    putTwoDigits(cells, 0x3E, 1);
    putTwoDigits(cells, 0x3F, 22);
    putImage(cells, 0x48, QByteArray(16, Bel));
    QByteArray init = QByteArrayLiteral("0KL0DS");
    init.append(static_cast<char>(Cr));
    init.append(QByteArray(64 - init.size(), Bel));
    putImage(cells, 0x50, init);
    return cells;
}

QString describeFrame(const QByteArray& f, Direction dir)
{
    if (dir == Direction::ToUnit) {
        if (f == QByteArrayLiteral("OK\n\r"))
            return QStringLiteral("ATT");
        if (f.size() == 3 && f[0] == 'R' && f[2] == '\r')
            return QStringLiteral("R%1").arg(static_cast<uint8_t>(f[1]));
        if (f.size() == 5 && f[0] == 'W' && f[4] == '\r')
            return QStringLiteral("W%1 %2%3")
                .arg(static_cast<uint8_t>(f[1]))
                .arg(printable(static_cast<uint8_t>(f[2])), printable(static_cast<uint8_t>(f[3])));
        return QStringLiteral("JUNK ") + hex(f);
    }
    if (f == QByteArrayLiteral("ATS0=1\n\r"))
        return QStringLiteral("ANNOUNCE");
    if (f.size() == 4 && f[2] == '\n' && f[3] == '\r')
        return QStringLiteral("REPLY %1%2")
            .arg(printable(static_cast<uint8_t>(f[0])), printable(static_cast<uint8_t>(f[1])));
    return QStringLiteral("RAW ") + hex(f);
}

} // namespace simsync
