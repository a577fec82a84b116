#pragma once
// What a serial device needs from the operating system beyond Qt's serial port. One file
// per system implements it (SerialDevicePosix.cpp for Linux and the other Unix systems).

#include <QString>
#include <QtGlobal>

namespace SerialDevicePlatform {
// Bytes still in the driver's output queue.
int driverOutQueue(qintptr handle);
// True for a device without modem-control lines (a pseudo-terminal): RTS cannot be set
// there, and that is no failure.
bool lacksModemLines(qintptr handle);
// True when the far end hung up (the adapter was unplugged, a pseudo-terminal closed).
bool hungUp(qintptr handle);
// Appended to a "permission denied" text: what the user can do about it.
QString permissionHint(const QString& path);
} // namespace SerialDevicePlatform
