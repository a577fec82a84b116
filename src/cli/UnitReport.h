#pragma once
// What one command did to one unit, for scripts: the unit's name and address, model and
// channel, the load's marks, the differences found, the backup taken, how far a write got,
// the settings or image read, and the result, as one JSON object.

#include <QJsonObject>
#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

struct UnitReport
{
    // A field that differs: what the unit holds (or read back) against what the file (or
    // the image, or the write) makes of it.
    struct Difference
    {
        QString field; // "End Title", or "cell 39" for a restore
        QString unit;
        QString file;
    };
    struct Mark
    {
        QString field;
        QString mark; // "unreadable", "out of range"
        QString value;
    };

    QString unit;    // as its messages name it: "COM3", a device path or an address
    QString address; // the device path or network address
    QString command;
    std::optional<int> model;   // as the load read it
    std::optional<int> channel; // as the load read it
    QList<Mark> marks;
    QList<Difference> differences; // after a write's compare, or found by a verify
    QStringList settings;          // read: the settings file's lines
    QStringList image;             // backup without a file: the cell image's lines
    QString backup;                // the backup file taken before writing
    int writesSent = 0;            // write frames that went to the unit
    int writesPlanned = 0;         // write frames the command set out to send
    bool stopped = false;          // Ctrl+C or SIGTERM ended the command
    bool alreadyHeld = false;      // the unit held what the write would send: not written
    bool refused = false;          // not the unit the rack expects: not written
    int status = -1;               // the command's exit status

    // "written", "partly written", "untouched", "read", "compared"...: what was done. A unit
    // that got every write is "written" even when its read-back failed.
    QString done() const;
    // "ok", "already held", "marks", "differences", "refused", "line failed", "bad input",
    // "stopped".
    QString result() const;
    QJsonObject toJson() const;
    // After a stop: how to undo what a write got ("corvane-cli restore --port 3 --unlock
    // BACKUP"), or why it cannot be undone; "" when no write frame went out.
    QString undoHint() const;
};
