#pragma once
// A name for a serial device that survives the machine renumbering its adapters: the link
// the system keeps for it by the adapter's identity (/dev/serial/by-id) or by where it is
// plugged in (/dev/serial/by-path). Built-in ports and pseudo-terminals have none.

#include <QString>
#include <QStringList>

namespace StableDeviceName {

QStringList defaultFolders();

// The first link in `folders` that leads to `device`; "" when there is none.
QString of(const QString& device, const QStringList& folders = defaultFolders());

} // namespace StableDeviceName
