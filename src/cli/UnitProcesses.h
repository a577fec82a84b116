#pragma once
// corvane-cli processes side by side, one per unit: each with its own line, event loop and
// wire log, so one unit's silence, lost line or crash cannot touch another. Their standard
// error comes back line by line, their JSON report (the last line of standard output) when
// they end.

#include <QJsonObject>
#include <QProcess>
#include <functional>
#include <memory>
#include <vector>

class UnitProcesses
{
public:
    struct Child
    {
        QString label; // "COM3", or the device or address
        std::unique_ptr<QProcess> process;
        QByteArray pendingErr;
        QJsonObject report; // empty when the process gave none
        bool ended = false;
    };

    // Called for each line a child writes to standard error, and once for each child that
    // ends, after its report is read.
    std::function<void(Child&, const QString&)> onErrorLine;
    std::function<void(Child&)> onEnded;

    // The tool itself (CORVANE_CLI_EXE may name another build of it).
    static QString executable();

    void start(const QString& label, const QStringList& arguments);
    // Runs the event loop until every child ended, `enough()` holds after one ends, or
    // `limitMs` passes (-1: no limit); children still running then are stopped.
    void wait(const std::function<bool()>& enough = {}, int limitMs = -1);
    // Every child still running is asked to stop between two frames (as Ctrl+C does).
    void stopAll();
    std::vector<Child>& children() { return children_; }
    const std::vector<Child>& children() const { return children_; }

private:
    void readErrors(Child& c, bool all);
    std::vector<Child> children_;
};
