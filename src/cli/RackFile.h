#pragma once
// A rack file: one unit per line, its port (3 or COM3), device path or device server
// address first, then optionally channel=N, model=N, file=FILE (relative to the rack
// file's folder; in double quotes when it holds blanks) and expect=MODEL/CHANNEL (the unit
// that must be there: a write or restore to another is refused). A TLS address may add
// whom it trusts: ca=FILE, pin=SHA256, cert=FILE and key=FILE (files relative to the rack
// file's folder). Blanks around '=' are allowed.
// '#' starts a comment; blank lines are skipped.
//
//   # rack A
//   COM1 channel=1
//   /dev/ttyUSB3 channel = 2 model=22 file="hall a.txt"
//   rfc2217://rack-a:7001 channel=3 expect=22/3
//   rfc2217+tls://rack-b:7001 channel=4 pin=AB:CD:...:EF cert=me.crt key=me.key

#include "comm/TlsTrust.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

struct RackUnit
{
    int line = 0;            // in the rack file; 0 for units of the command line
    std::optional<int> port; // COM number, or
    QString device;          // a device path or address
    std::optional<int> model;
    std::optional<int> channel;
    QString file; // the unit's own settings file
    // The unit that must be found there before anything is written (expect=MODEL/CHANNEL).
    std::optional<int> expectModel;
    std::optional<int> expectChannel;
    TlsTrust trust; // for a TLS address, beside what the address itself says
};

// What is wrong with a rack: the line (0: the rack as a whole, or the command line) and why.
struct RackMistake
{
    int line = 0;
    QString why;
};

namespace RackFile {
// The units of `text`, and every bad line's reasons in `mistakes`, its bytes shown escaped;
// "no unit in it" when no line names one.
QList<RackUnit> parse(const QString& text, const QString& folder, QList<RackMistake>* mistakes);
// One unit as a rack line (what find writes for each unit it hears).
QString line(const RackUnit& unit);
} // namespace RackFile
