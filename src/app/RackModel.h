#pragma once
// The rack window's rows and what it does with them, without a widget: one row per unit,
// filled by a scan of every usable port, by listening for RESET on every port at once, from
// a rack file or by hand; and the actions on chosen rows (write, verify, backup, restore),
// each unit on a host of its own, side by side on the one event loop, as corvane-cli runs
// a rack. Each row keeps its last action's result until the next one.

#include "cli/RackFile.h"
#include "cli/UnitReport.h"
#include "comm/Await.h"
#include "comm/PortMap.h"
#include "model/LineTiming.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>
#include <optional>

class CliHost;
class SideBySide;
struct CliRequest;

struct RackRow
{
    RackUnit unit;  // as the rack file or the user named it: what to set and what to expect
    QString label;  // "COM3", or the device or address
    QString device; // what its line opens
    std::optional<int> model;   // as last heard or read
    std::optional<int> channel; // as last heard or read
    QString state;              // "", "listening", "answering", "working", "Saving... 38%", "done"
    QString result;             // of the last action: "ok", "already held", "refused"...
    QString backup;             // its last backup
    QStringList said;           // the last action's messages
    QList<UnitReport::Difference> differences;

    // The row as a listener hears it: "COM3, model 22, channel 1, done, ok".
    QString sentence() const;
    bool failed() const;
};

class RackModel
{
public:
    RackModel(const PortMap& ports, const LineTiming& timing);
    ~RackModel();
    RackModel(const RackModel&) = delete;
    RackModel& operator=(const RackModel&) = delete;

    // Where writes and restores keep their backups first, and Backup writes; "" keeps none.
    QString backupFolder;
    // Told when a row was added (its index) or changed.
    std::function<void(int row)> rowAdded;
    std::function<void(int row)> rowChanged;
    // Told what the rack as a whole has to say ("Press RESET...", "3 units answered").
    std::function<void(const QString& text)> status;

    const QList<RackRow>& rows() const { return rows_; }
    bool busy() const { return busy_; }

    // A unit by hand: "3", "COM3", a device path or a device server's address. "" when it
    // was added (or was there already), else why not.
    QString add(const QString& text);
    // The units of a rack file, after those already there. "" or its mistakes, one a line;
    // with a mistake no row is added.
    QString openRack(const QString& path);
    // The rows as a rack file, each with what it expects (the model and channel last heard).
    bool saveRack(const QString& path, QString* why) const;

    // Every usable port asked for its unit at once, without RESET: a row for each unit that
    // answers (the rows there get its numbers).
    Task<> scan();
    // RESET listened for on every usable port at once, `seconds` long: a row for each unit
    // as soon as it is heard, in the order heard.
    Task<> listen(double seconds);
    // Ends a listen early; an action's units stop between two frames ("stopped").
    void stop();

    // The actions on `chosen` rows, side by side. A write applies `file`, or each row's own
    // file when `file` is "". A restore writes `image`, or each row's last backup when "".
    Task<> write(QList<int> chosen, QString file);
    Task<> verify(QList<int> chosen, QString file);
    Task<> backup(QList<int> chosen);
    Task<> restore(QList<int> chosen, QString image);

    // The rows whose last action did not end well, to try again.
    QList<int> failedRows() const;

private:
    // A command of corvane-cli's ("write", "verify", "backup", "restore") on each chosen row.
    Task<> runOnRows(QString command, QList<int> chosen, QString file);
    Task<int> runRow(CliHost& host, CliRequest r, int row);
    Task<int> findRow(CliHost& host, double seconds, const std::function<void(size_t)>* settled,
                      size_t index, int* heard);
    Task<QList<int>> usablePorts();
    int rowOf(const QString& device) const;
    int append(RackRow row);
    void changed(int row);
    void tell(const QString& text);
    QString newestBackupOf(const RackRow& row) const;

    const PortMap& ports_; // the application's, as it stands at each action
    const LineTiming timing_;
    QList<RackRow> rows_;
    bool busy_ = false;
    SideBySide* running_ = nullptr; // the hosts of the action that runs
};
