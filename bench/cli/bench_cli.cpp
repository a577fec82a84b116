// Times `corvane-cli read` and `corvane-cli write` (its load, save and compare), each a
// whole process from start to exit, against the simulated unit paced at 1200 baud.
// Prints name=value lines:
//   read_wall_over_floor, write_wall_over_floor   wall time over the line's floor
//   read_cpu_share, write_cpu_share                the tool's CPU seconds over wall seconds
// The floors are those of the editor's benchmark: the line time of the bytes plus the fixed
// pauses (2.5 s before a load, 130 ms of attention, 100 ms after each write); the save's
// part is its pseudo-terminal floor, where a write's line time overlaps its pause.
//
//   bench_cli [path-to-simsync]

#include "support/BenchSupport.h"

#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>
#include <sys/resource.h>

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
    return 0;
}
