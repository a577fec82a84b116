#include "transfer/CellMap.h"

namespace {
QVector<uint8_t> wholeSetOrder(bool withModelChannel)
{
    using namespace CellAddress;
    QVector<uint8_t> order;
    if (withModelChannel)
        order << Model << Channel;
    order << Mode;
    for (int i = 0; i < PointCells; ++i)
        order << uint8_t(StartPoint + i);
    for (int i = 0; i < PointCells; ++i)
        order << uint8_t(EndPoint + i);
    order << StartTitle << EndTitle << StartChapter << EndChapter << Option;
    for (int i = 0; i < CommentCells; ++i)
        order << uint8_t(Comment + i);
    for (int i = 0; i < InitStrCells; ++i)
        order << uint8_t(InitStr + i);
    return order;
}
} // namespace

QVector<uint8_t> loadReadOrder()
{
    return wholeSetOrder(true);
}

QVector<uint8_t> saveWriteOrder(bool modelChannelUnlocked)
{
    return wholeSetOrder(modelChannelUnlocked);
}

QVector<uint8_t> compareReadOrder(bool modelChannelUnlocked)
{
    return wholeSetOrder(modelChannelUnlocked);
}
