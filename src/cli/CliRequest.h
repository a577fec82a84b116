#pragma once
// What the command line asked for, checked for form (each number in its range, each
// option allowed with its command) but not yet against the machine.

#include "comm/TlsTrust.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

// The tool's exit statuses.
namespace ExitCode {
constexpr int Success = 0;
constexpr int Attention = 1;  // the unit answered, but there were marks or differences
constexpr int LineFailed = 2; // the line or the unit failed
constexpr int BadInput = 3;   // a missing or unreadable file, a bad option or port
constexpr int Stopped = 130;  // Ctrl+C or SIGTERM stopped the command between two frames
} // namespace ExitCode

struct CliRequest
{
    QString command; // "ports", "find", "scan", "read", "write", "verify", "backup", "restore"
    std::optional<int> port;
    QString device;
    double timeoutSeconds = 30;
    int count = 0;   // find: stop after this many units (0: listen until the time is up)
    QString rackOut; // find: the units heard, written as a rack file
    QString output;  // read and backup: the file to write; "" for standard output
    QString file;    // write and verify: the settings file to apply; restore: the cell image
    bool unlock = false;
    std::optional<int> model;
    std::optional<int> channel;
    // The unit a write or restore must find behind the line (a rack line's expect=M/C).
    std::optional<int> expectModel;
    std::optional<int> expectChannel;
    // write and restore: the unit's cells are kept in a file here before the first write,
    // unless `backup` is false.
    QString backupDir = QStringLiteral("./corvane-backups/");
    bool backup = true;
    TlsTrust trust;  // for TLS addresses that name no trust of their own
    QString wireLog; // "" for none; with several units a folder, one file per unit
    bool quiet = false;
    bool json = false;   // one JSON document on standard output instead of the human results
    bool events = false; // one JSON line per event on standard output, as it happens
    // find: replace an existing --rack-out file; restore: an image of another model or
    // channel than the unit's.
    bool force = false;

    // Several units in one command: ports (ranges expanded, in the order given), devices,
    // or the lines of a rack file. Each unit runs as a corvane-cli of its own.
    QList<int> ports;
    QStringList devices;
    QString rack;
    bool several() const { return !rack.isEmpty() || ports.size() + devices.size() > 1; }
};

struct ParsedCommandLine
{
    std::optional<CliRequest> request; // nothing when the tool should exit at once
    int exitCode = ExitCode::Success;  // then: 0 after --help or --version, else 3
    QString out;                       // for standard output (help, version)
    QString err;                       // for standard error (what was wrong)
};

ParsedCommandLine parseCommandLine(const QStringList& arguments);
