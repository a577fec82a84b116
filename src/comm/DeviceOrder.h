#pragma once
// The order in which a machine's serial devices get their COM numbers: built-in UARTs
// first (ttyS*, ttyAMA*, ...), then USB and other adapters (ttyUSB*, ttyACM*, ...), then
// anything else, each group in natural name order (ttyS2 before ttyS10).

#include <QStringList>

namespace DeviceOrder {
QStringList inComOrder(const QStringList& systemLocations);
} // namespace DeviceOrder
