#include "transfer/TextImages.h"

#include "model/AnsiText.h"
#include "model/CellDecode.h"
#include "transfer/CellMap.h"

namespace {
template <size_t N>
void fillFromCells(std::array<uint8_t, N>& image, const CellSet& cells, uint8_t firstAddress)
{
    for (size_t i = 0; i < (N - 1) / 2; ++i) { // the last element is never sent
        const CellBytes b = cells.get(static_cast<uint8_t>(firstAddress + i));
        image[2 * i] = CellDecode::filterInitChar(b.d0);
        image[2 * i + 1] = CellDecode::filterInitChar(b.d1);
    }
    image[N - 1] = Bel;
}
} // namespace

CommentImage commentImage(const QString& comment)
{
    CommentImage image;
    image.fill(Bel);
    const QByteArray bytes = AnsiText::encode(comment);
    for (int i = 0; i < bytes.size() && size_t(i) < image.size(); ++i)
        image[i] = static_cast<uint8_t>(bytes.at(i));
    return image;
}

InitImage initImage(const std::array<QString, 4>& initStrings)
{
    InitImage image;
    image.fill(Bel);
    size_t p = 0;
    for (const QString& text : initStrings) {
        for (char c : AnsiText::encode(text)) {
            if (p < image.size())
                image[p++] = static_cast<uint8_t>(c);
        }
        if (!text.isEmpty() && p < image.size())
            image[p++] = Cr;
    }
    return image;
}

CommentImage commentImageFromCells(const CellSet& cells)
{
    CommentImage image;
    fillFromCells(image, cells, CellAddress::Comment);
    return image;
}

InitImage initImageFromCells(const CellSet& cells)
{
    InitImage image;
    fillFromCells(image, cells, CellAddress::InitStr);
    return image;
}

QString walkComment(const CommentImage& image)
{
    QByteArray bytes;
    for (uint8_t b : image) {
        if (b == Bel || b == 0)
            break;
        bytes.append(static_cast<char>(b));
    }
    return AnsiText::decode(bytes);
}

std::array<QString, 4> walkInitStrings(const InitImage& image)
{
    // The longest string a walk keeps: the character after the 24th ends it.
    constexpr int WalkStringMax = 25;
    std::array<QByteArray, 4> bytes;
    int k = 0;
    for (int i = 0; i < InitBytesSent; ++i) {
        const uint8_t b = image[i];
        if (b == Cr) {
            if (++k == 4)
                break;
            continue;
        }
        if (b == Bel || b == 0)
            break;
        bytes[k].append(static_cast<char>(b));
        if (bytes[k].size() == WalkStringMax)
            break;
    }
    std::array<QString, 4> strings;
    for (int j = 0; j < 4; ++j)
        strings[j] = AnsiText::decode(bytes[j]);
    return strings;
}
