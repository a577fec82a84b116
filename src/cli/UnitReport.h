#pragma once
// What one command did to one unit, for scripts: the unit's address, model and channel,
// the load's marks, the differences found, the backup taken, how far a write got, and the
// result, as one JSON object.

#include <QJsonObject>
#include <QString>
#include <QStringList>
#include <optional>

struct UnitReport
{
    QString address; // the device path or network address
    QString command;
    std::optional<int> model;   // as the load read it
    std::optional<int> channel; // as the load read it
    QStringList marks;          // the load's marks in plain words
    QStringList differences;    // after a write's compare, or found by a verify
    QString backup;             // the backup file taken before writing
    int writesSent = 0;         // write frames that went to the unit
    int writesPlanned = 0;      // write frames the command set out to send
    int status = -1;            // the command's exit status

    // "written", "partly written", "untouched", "read", "verified"...: what was done. A unit
    // that got every write is "written" even when its read-back failed.
    QString done() const;
    // "ok", "attention", "line failed", "bad input".
    QString result() const;
    QJsonObject toJson() const;
};
