#pragma once
// Several units' commands at once, in this process: each unit has a host of its own (its
// line, timer, lease, editor, wire log and report), and their commands run as coroutines
// side by side on the one event loop. One unit's silence, lost line or bad file cannot
// stop or slow another: each waits on its own line only.

#include "cli/CliHost.h"

#include <QVector>
#include <memory>
#include <vector>

class SideBySide
{
public:
    explicit SideBySide(const LineTiming& timing) : timing_(timing) {}

    // A host for one unit: COM`port` stands for `device` alone (no port: the caller maps
    // the host's ports), and `voice` speaks for it.
    CliHost& add(int16_t port, const QString& device, const UnitVoice& voice);
    std::vector<std::unique_ptr<CliHost>>& hosts() { return hosts_; }

    // Starts `command(host)` on every host at once and ends when each has ended: the exit
    // status of each, in the order the hosts were added.
    template <typename Command> Task<QVector<int>> runAll(Command command)
    {
        std::vector<Task<int>> running;
        running.reserve(hosts_.size());
        for (const std::unique_ptr<CliHost>& host : hosts_)
            running.push_back(command(*host));
        QVector<int> statuses;
        for (Task<int>& task : running)
            statuses << co_await task;
        co_return statuses;
    }

    // Every probe still listening ends as if cancelled.
    void cancelProbes();

private:
    const LineTiming timing_;
    std::vector<std::unique_ptr<CliHost>> hosts_;
};
