#pragma once
// A rack file: one unit per line, its port (3 or COM3), device path or device server
// address first, then optionally channel=N, model=N and file=FILE (relative to the rack
// file's folder). '#' starts a comment; blank lines are skipped.
//
//   # rack A
//   COM1 channel=1
//   /dev/ttyUSB3 channel=2 model=22 file=lobby.txt
//   rfc2217://rack-a:7001 channel=3

#include <QList>
#include <QString>
#include <optional>

struct RackUnit
{
    int line = 0;            // in the rack file; 0 for units of the command line
    std::optional<int> port; // COM number, or
    QString device;          // a device path or address
    std::optional<int> model;
    std::optional<int> channel;
    QString file; // the unit's own settings file
};

namespace RackFile {
// The units of `text`; on the first bad line, nothing and `error` ("line 4: ...").
QList<RackUnit> parse(const QString& text, const QString& folder, QString* error);
// One unit as a rack line (what find writes for each unit it hears).
QString line(const RackUnit& unit);
} // namespace RackFile
