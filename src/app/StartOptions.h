#pragma once
// What `corvane` is asked at start-up, read before any window exists: its own options apart
// from Qt's, whether there is a display to open a window on, and which device stands
// behind each COM number for the run. Each failure is one line for standard error.

#include <QString>
#include <QStringList>

class PortMap;

namespace StartOptions {

// The arguments without Qt's own (-platform NAME, -style=NAME, -reverse, ...), which the
// application object takes for itself; `namesPlatform` tells whether -platform was given.
QStringList withoutQtOptions(const QStringList& arguments, bool* namesPlatform = nullptr);

// Why no window can open here ("" when one can): on a desktop system neither DISPLAY nor
// WAYLAND_DISPLAY is set and no platform was named (QT_QPA_PLATFORM or -platform).
QString missingDisplay(bool platformNamed);

// CORVANE_PORT_MAP's numbering (`map`, "" for none), then each --port "N=URL", which wins
// for its N. False with a one-line message for the first item that cannot be used.
bool putPorts(PortMap& ports, const QString& map, const QStringList& portItems, QString* error);

} // namespace StartOptions
