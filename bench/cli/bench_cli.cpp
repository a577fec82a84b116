// Times `corvane-cli read` and `corvane-cli write` (its load, save and compare), each a
// whole process from start to exit, against the simulated unit paced at 1200 baud.
// Prints name=value lines:
//   read_wall_over_floor, write_wall_over_floor   wall time over the line's floor
//   read_cpu_share, write_cpu_share                the tool's CPU seconds over wall seconds
//   rack8_write_over_one_write    a write of 8 units side by side over a write of one, both
//                                 paced, in the same run
//   rack8_write_cpu_share         the 8-unit write's CPU seconds (every process) over wall
//   scan16_ms                     scan of 16 ports, 8 with a unit behind them, 8 silent
//   find16_reported_after_ms_*    find on 16 ports: from RESET to the unit's line
// The floors are those of the editor's benchmark: the line time of the bytes plus the fixed
// pauses (2.5 s before a load, 130 ms of attention, 100 ms after each write); the save's
// part is its pseudo-terminal floor, where a write's line time overlaps its pause.
//
//   bench_cli [path-to-simsync]

#include "support/BenchSupport.h"

#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>
#include <QThread>
#include <cstdlib>
#include <fcntl.h>
#include <memory>
#include <sys/resource.h>
#include <unistd.h>
#include <vector>

namespace {

constexpr int LoadCells = 56;
constexpr int SaveCells = 54; // model and channel locked
constexpr double LoadPauseMs = 2500;
constexpr double WritePauseMs = 100;

double childCpuSeconds()
{
    rusage u{};
    getrusage(RUSAGE_CHILDREN, &u);
    return u.ru_utime.tv_sec + u.ru_stime.tv_sec + (u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e6;
}

// Runs the tool to its end; its exit status, or -1.
int runTool(const QStringList& args, double* wallMs, double* cpuS)
{
    QProcess p;
    p.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    const double cpu0 = childCpuSeconds();
    QElapsedTimer clock;
    clock.start();
    p.start(QStringLiteral(CORVANE_CLI), args);
    if (!p.waitForFinished(120000))
        return -1;
    *wallMs = clock.nsecsElapsed() / 1e6;
    *cpuS = childCpuSeconds() - cpu0;
    return p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
}

void report(const char* name, double wallMs, double floorMs, double cpuS)
{
    std::printf("%s_wall_ms=%.1f\n", name, wallMs);
    std::printf("%s_floor_ms=%.1f\n", name, floorMs);
    std::printf("%s_wall_over_floor=%.3f\n", name, wallMs / floorMs);
    std::printf("%s_cpu_share=%.4f\n", name, cpuS / (wallMs / 1000.0));
}

// 8 paced units and 8 silent lines (pseudo-terminals nobody answers on), as COM1 to COM16.
struct Rack
{
    std::vector<std::unique_ptr<bench::SimProcess>> units;
    std::vector<int> silent;
    bool start(const QString& simExe)
    {
        QStringList map;
        for (int i = 1; i <= 8; ++i) {
            units.push_back(std::make_unique<bench::SimProcess>());
            if (!units.back()->start(simExe))
                return false;
            map << QStringLiteral("%1=%2").arg(i).arg(units.back()->path());
        }
        for (int i = 9; i <= 16; ++i) {
            const int fd = ::posix_openpt(O_RDWR | O_NOCTTY);
            if (fd < 0 || ::grantpt(fd) != 0 || ::unlockpt(fd) != 0)
                return false;
            silent.push_back(fd);
            map << QStringLiteral("%1=%2").arg(i).arg(QString::fromLocal8Bit(::ptsname(fd)));
        }
        qputenv("CORVANE_PORT_MAP", map.join(',').toLocal8Bit());
        return true;
    }
    ~Rack()
    {
        for (int fd : silent)
            ::close(fd);
    }
};

// From RESET on unit `port` to find's line for it, with find listening on all 16 ports.
double findDelayMs(Rack& rack, int port)
{
    QProcess p;
    p.start(QStringLiteral(CORVANE_CLI), {"find", "--timeout", "20", "--count", "1"});
    p.waitForStarted();
    QThread::msleep(3000); // every port listening
    QElapsedTimer clock;
    clock.start();
    rack.units[size_t(port - 1)]->reset();
    p.setReadChannel(QProcess::StandardOutput);
    if (!p.waitForReadyRead(10000))
        return -1;
    const double ms = clock.nsecsElapsed() / 1e6;
    p.waitForFinished(10000);
    return ms;
}

bool rackRows(const QString& simExe, const QString& file)
{
    Rack rack;
    if (!rack.start(simExe))
        return false;
    double oneMs = 0, oneCpu = 0, rackMs = 0, rackCpu = 0, scanMs = 0, scanCpu = 0;
    const QStringList write{"write", file, "--no-backup", "--quiet"};
    if (runTool(write + QStringList{"--port", "1"}, &oneMs, &oneCpu) != 0 ||
        runTool(write + QStringList{"--port", "1-8"}, &rackMs, &rackCpu) != 0) {
        std::fprintf(stderr, "rack write failed\n");
        return false;
    }
    std::printf("one_write_wall_ms=%.1f\nrack8_write_wall_ms=%.1f\n", oneMs, rackMs);
    std::printf("rack8_write_over_one_write=%.3f\n", rackMs / oneMs);
    std::printf("rack8_write_cpu_share=%.4f\n", rackCpu / (rackMs / 1000.0));
    if (runTool({"scan"}, &scanMs, &scanCpu) != 0)
        return false;
    std::printf("scan16_ms=%.1f\n", scanMs);
    for (int port : {1, 8})
        std::printf("find16_reported_after_ms_com%d=%.1f\n", port, findDelayMs(rack, port));
    return true;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication qapp(argc, argv);
    const QString simExe = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral(SIMSYNC_EXE);
    bench::SimProcess sim;
    if (!sim.start(simExe))
        return 1;
    QTemporaryDir dir;
    const QString file = dir.filePath("unit.txt");
    const QStringList line{QStringLiteral("--device"), sim.path(), QStringLiteral("--quiet")};

    double readMs = 0, readCpu = 0;
    if (runTool(QStringList{"read", "-o", file} + line, &readMs, &readCpu) != 0) {
        std::fprintf(stderr, "read failed\n");
        return 1;
    }
    // The file with another end title, so the write changes the unit.
    QFile f(file);
    if (!f.open(QIODevice::ReadWrite))
        return 1;
    QByteArray text = f.readAll().replace("End Title 2", "End Title 9");
    f.resize(0);
    f.write(text);
    f.close();
    double writeMs = 0, writeCpu = 0;
    if (runTool(QStringList{"write", file, "--no-backup"} + line, &writeMs, &writeCpu) != 0) {
        std::fprintf(stderr, "write failed\n");
        return 1;
    }

    const double loadFloor = LoadPauseMs + bench::AttentionFloorMs + LoadCells * 7 * bench::ByteMs;
    const double savePtyFloor = 130 + SaveCells * WritePauseMs;
    const double compareFloor = bench::AttentionFloorMs + SaveCells * 7 * bench::ByteMs;
    report("read", readMs, loadFloor, readCpu);
    report("write", writeMs, loadFloor + savePtyFloor + compareFloor, writeCpu);
    return rackRows(simExe, file) ? 0 : 1;
}
