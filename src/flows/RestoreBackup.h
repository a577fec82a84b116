#pragma once
// The editor's "Restore Backup...": the backups in the backup folder, newest first with the
// ones of the unit the editor works on before the others, and one of them written back
// exactly (model and channel too), read back and compared, the result told in a box.

#include "comm/Await.h"

#include <QDateTime>
#include <QString>
#include <QVector>
#include <optional>

class FlowHost;

namespace RestoreBackup {

// A backup file as its name describes it.
struct Entry
{
    QString path;
    QDateTime time;
    int sequence = 1; // 2, 3... for later backups within the same second
    int port = 0;
    QString model;   // a number, or "unknown"
    QString channel; // the same
    // "2026-12-08 14:30:12  COM3  model 22 channel 1"
    QString text() const;
};

// The unit the editor works on: its port, and its model and channel when known.
struct Unit
{
    int port = 0;
    std::optional<int> model;
    std::optional<int> channel;
};

// The backups in `folder` (files named as a backup is named), newest first; those of
// `unit` come before the rest.
QVector<Entry> listBackups(const QString& folder, const Unit& unit);

// Writes the image at `path` to the unit on the open line, every cell a save writes with
// model and channel, reads them back and compares them, and tells the result in a box.
// The unit's model and channel are read first: when the image holds others (most likely
// another unit's backup), the user is asked, and No writes nothing. True when every cell
// went out (the unit then holds something new).
Task<bool> Restore(FlowHost& host, QString path);

} // namespace RestoreBackup
