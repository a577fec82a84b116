#pragma once
// Why a serial device could not be opened, in one status line the user can act on.
//
// The facts are gathered from the system (the device's group, lock files, which other
// process has the device open; one file per operating system gathers them); the line is
// decided from the facts alone, so every wording can be checked without a machine in that
// state.

#include "comm/CommError.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <optional>

// A process that holds a device.
struct PortHolder
{
    qint64 pid = 0;
    QString name; // from /proc/<pid>/comm; "" when unknown
};

struct PortFacts
{
    QString path;
    int openErrno = 0;          // errno of a plain open() of the device; 0 when that worked
    bool accessRefused = false; // the serial layer refused access (permission or its lock)
    QString systemText;         // the serial layer's text for the failure
    QString group;              // the group owning the device; "" when unknown
    std::optional<PortHolder> lockHolder; // live process named by a lock file
    std::optional<PortHolder> openHolder; // another process with the device open
};

// Where the facts are looked up; tests point these at a directory of their own.
struct PortFactPlaces
{
    QStringList lockDirs = {QStringLiteral("/var/lock"), QStringLiteral("/run/lock")};
    QString procRoot = QStringLiteral("/proc");
};

// One status line ("  /dev/ttyUSB0: ..."), or "" when the device does not exist at all.
QString describePortTrouble(const PortFacts& f);

// The status line for a port that failed to open with `failure`: for a device of this
// machine from the facts about it ("" when it does not exist); for a device server's port
// ("rfc2217://HOST:PORT") its address and the reason the line gave.
QString describeLineTrouble(const QString& address, const CommError& failure);

// The facts about `path` after the serial layer failed to open it with `failure`.
// Opens (and at once closes) the device to learn the system's own reason.
PortFacts gatherPortFacts(const QString& path, const CommError& failure,
                          const PortFactPlaces& places = {});

// The process id in a lock file: ASCII, possibly padded and followed by more lines, or
// 4 bytes binary in old ones. 0 when there is none.
qint64 pidInLockFile(const QByteArray& content);

// The lock file name the serial layers use for `path` ("/dev/ttyUSB0" -> "LCK..ttyUSB0").
QString lockFileName(const QString& path);

// True when the device refuses us for lack of permission (not because someone holds it).
bool lacksPermission(const QString& path);
