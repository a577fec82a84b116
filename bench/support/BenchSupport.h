#pragma once
// What the benchmarks share: the simulated unit served by the stand-alone `simsync` in a
// process of its own (so its work does not count as ours), the line time of bytes at
// 1200 baud, this process's CPU time, timing a piece of work, and a pause for a coroutine.
// The product's commands are coroutines: a benchmark runs one to its end with
// QCoro::waitFor, the event loop turning meanwhile.

#include "comm/Await.h"

#include <QElapsedTimer>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTimer>
#include <cstdio>
#include <ctime>

namespace bench {

constexpr double ByteMs = 10000.0 / 1200.0; // 10 bits a byte
// The attention sequence: two 4-byte frames with 130 ms between them.
constexpr double AttentionFloorMs = 8 * ByteMs + 130;

// CPU seconds this process has used.
inline double cpuSeconds()
{
    timespec ts{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &ts);
    return ts.tv_sec + ts.tv_nsec / 1e9;
}

struct Run
{
    double wallMs = 0;
    double cpuS = 0;
};

template <typename Work> Run measure(Work work)
{
    QElapsedTimer clock;
    const double cpu0 = cpuSeconds();
    clock.start();
    work();
    Run r;
    r.wallMs = clock.nsecsElapsed() / 1e6;
    r.cpuS = cpuSeconds() - cpu0;
    return r;
}

// Suspends the calling coroutine for `ms` milliseconds of the event loop.
inline Task<> sleepMs(int ms)
{
    QTimer timer;
    timer.setSingleShot(true);
    timer.start(ms);
    co_await Await::nextSignal(&timer, &QTimer::timeout);
}

// `simsync` serving a pseudo-terminal until this object goes.
class SimProcess
{
public:
    SimProcess() = default;
    SimProcess(const SimProcess&) = delete;
    SimProcess& operator=(const SimProcess&) = delete;
    ~SimProcess()
    {
        if (process_.state() == QProcess::NotRunning)
            return;
        process_.write("quit\n");
        process_.closeWriteChannel();
        if (!process_.waitForFinished(3000))
            process_.kill();
    }

    // Starts it and reads the device path it prints first; false (with a line on stderr)
    // when it does not come up.
    bool start(const QString& exe, const QStringList& args = {})
    {
        process_.start(exe, args);
        if (!process_.waitForStarted(5000) || !process_.waitForReadyRead(5000)) {
            std::fprintf(stderr, "cannot start %s\n", qPrintable(exe));
            return false;
        }
        path_ = QString::fromLocal8Bit(process_.readLine()).trimmed();
        return !path_.isEmpty();
    }

    QString path() const { return path_; }
    // RESET pressed on the unit.
    void reset()
    {
        process_.write("reset\n");
        process_.waitForBytesWritten(1000);
    }

private:
    QProcess process_;
    QString path_;
};

} // namespace bench
