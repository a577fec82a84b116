#pragma once
// The orders in which a synchronizer's whole parameter set is read and written.

#include "model/CellAddress.h"

#include <QVector>
#include <cstdint>

// Model, channel, modes, start and end points, titles and chapters, options, comment and
// init strings: the 56 cells a load reads, in that order.
QVector<uint8_t> loadReadOrder();

// A save writes the same cells in the same order, but leaves out model and channel while
// they are locked (54 cells) so that the unit keeps its own.
QVector<uint8_t> saveWriteOrder(bool modelChannelUnlocked);

// The compare after a save reads back exactly the cells the save wrote.
QVector<uint8_t> compareReadOrder(bool modelChannelUnlocked);
