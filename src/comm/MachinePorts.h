#pragma once
// The serial devices of this machine, as the operating system lists them. One file per
// system implements it (MachinePortsPosix.cpp for Linux and the other Unix systems).

#include <QString>
#include <QStringList>

namespace MachinePorts {
// The machine's serial devices in COM order: the first is COM1.
QStringList devicesInComOrder();
// A short text for the user about a device ("/dev/ttyUSB0 - FT232R USB UART (FTDI)").
QString describe(const QString& path);
} // namespace MachinePorts
