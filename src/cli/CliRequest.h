#pragma once
// What the command line asked for, checked for form (each number in its range, each
// option allowed with its command) but not yet against the machine.

#include <QString>
#include <optional>

// The tool's exit statuses.
namespace ExitCode {
constexpr int Success = 0;
constexpr int Attention = 1;  // the unit answered, but there were marks or differences
constexpr int LineFailed = 2; // the line or the unit failed
constexpr int BadInput = 3;   // a missing or unreadable file, a bad option or port
} // namespace ExitCode

struct CliRequest
{
    QString command; // "ports", "find", "read", "write", "verify", "backup", "restore"
    std::optional<int> port;
    QString device;
    double timeoutSeconds = 30;
    QString output; // read and backup: the file to write; "" for standard output
    QString file;   // write and verify: the settings file to apply; restore: the cell image
    bool unlock = false;
    std::optional<int> model;
    std::optional<int> channel;
    // write and restore: the unit's cells are kept in a file here before the first write,
    // unless `backup` is false.
    QString backupDir = QStringLiteral("./corvane-backups/");
    bool backup = true;
    QString wireLog; // "" for none
    bool quiet = false;
};

struct ParsedCommandLine
{
    std::optional<CliRequest> request; // nothing when the tool should exit at once
    int exitCode = ExitCode::Success;  // then: 0 after --help or --version, else 3
    QString out;                       // for standard output (help, version)
    QString err;                       // for standard error (what was wrong)
};

ParsedCommandLine parseCommandLine(const QStringList& arguments);
