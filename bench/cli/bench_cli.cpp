// Times corvane-cli's command lines, each run in this process as the tool runs it, against
// simulated units paced at 1200 baud (each in a process of its own, so their work does not
// count as the tool's). Prints name=value lines:
//   read_wall_over_floor, write_wall_over_floor   wall time over the line's floor
//   read_cpu_share, write_cpu_share                the tool's CPU seconds over wall seconds
//   write_with_backup_over_no_backup   a write that keeps its backup over one that does not
//   rack8_write_over_one_write    a write of 8 units side by side over a write of one, all
//   rack16_write_over_one_write   paced, in the same run; 16 units likewise
//   rack8_write_cpu_share         the rack write's CPU seconds over its wall seconds
//   rack16_write_cpu_share
//   scan16_ms                     scan of 16 ports, 8 with a unit behind them, 8 silent
//   find16_reported_after_ms_*    find on those 16 ports: from RESET to the unit's line
// The floors are those of the editor's benchmark: the line time of the bytes plus the fixed
// pauses (2.5 s before a load, 130 ms of attention, 100 ms after each write); the save's
// part is its pseudo-terminal floor, where a write's line time overlaps its pause.
//
//   bench_cli [path-to-simsync]

#include "cli/CliCommands.h"
#include "support/BenchSupport.h"

#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>
#include <QTemporaryFile>
#include <fcntl.h>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>
#include <vector>

namespace {

constexpr int LoadCells = 56;
constexpr int SaveCells = 54; // model and channel locked
constexpr double LoadPauseMs = 2500;
constexpr double WritePauseMs = 100;

// The tool's standard output goes to a file of its own while this object lives, so that
// only the figures reach ours.
class CapturedStdout
{
public:
    CapturedStdout()
    {
        if (!file_.open())
            return;
        std::fflush(stdout);
        kept_ = ::dup(1);
        ::dup2(file_.handle(), 1);
    }
    ~CapturedStdout()
    {
        if (kept_ < 0)
            return;
        std::fflush(stdout);
        ::dup2(kept_, 1);
        ::close(kept_);
    }
    CapturedStdout(const CapturedStdout&) = delete;
    CapturedStdout& operator=(const CapturedStdout&) = delete;

    // Bytes the tool has written so far.
    qint64 size() const
    {
        struct stat st
        {
        };
        return ::fstat(file_.handle(), &st) == 0 ? qint64(st.st_size) : 0;
    }

private:
    QTemporaryFile file_;
    int kept_ = -1;
};

struct ToolRun
{
    int status = -1;
    bench::Run time;
};

// Runs the tool's command line `args` to its end, its ports mapped by `portMap`.
ToolRun runTool(const QStringList& args, const QString& portMap = {})
{
    qputenv("CORVANE_PORT_MAP", portMap.toLocal8Bit());
    ToolRun r;
    CapturedStdout out;
    r.time = bench::measure([&] {
        r.status = QCoro::waitFor(
            CliCommands::runCommandLine(QStringList{QStringLiteral("corvane-cli")} + args));
    });
    return r;
}

void report(const char* name, const bench::Run& r, double floorMs)
{
    std::printf("%s_wall_ms=%.1f\n", name, r.wallMs);
    std::printf("%s_floor_ms=%.1f\n", name, floorMs);
    std::printf("%s_wall_over_floor=%.3f\n", name, r.wallMs / floorMs);
    std::printf("%s_cpu_share=%.4f\n", name, r.cpuS / (r.wallMs / 1000.0));
}

// 16 paced units and 8 silent lines (pseudo-terminals nobody answers on).
struct Rack
{
    std::vector<std::unique_ptr<bench::SimProcess>> units;
    std::vector<QString> silent;
    std::vector<int> silentFds;
    bool start(const QString& simExe)
    {
        for (int i = 1; i <= 16; ++i) {
            units.push_back(std::make_unique<bench::SimProcess>());
            if (!units.back()->start(simExe))
                return false;
        }
        for (int i = 0; i < 8; ++i) {
            const int fd = ::posix_openpt(O_RDWR | O_NOCTTY);
            if (fd < 0 || ::grantpt(fd) != 0 || ::unlockpt(fd) != 0)
                return false;
            silentFds.push_back(fd);
            silent.push_back(QString::fromLocal8Bit(::ptsname(fd)));
        }
        return true;
    }
    ~Rack()
    {
        for (int fd : silentFds)
            ::close(fd);
    }
    // COM1 to COM16: a unit behind each.
    QString allUnits() const
    {
        QStringList map;
        for (size_t i = 0; i < units.size(); ++i)
            map << QStringLiteral("%1=%2").arg(i + 1).arg(units[i]->path());
        return map.join(',');
    }
    // COM1 to COM8 units, COM9 to COM16 silent.
    QString halfSilent() const
    {
        QStringList map;
        for (int i = 0; i < 8; ++i)
            map << QStringLiteral("%1=%2").arg(i + 1).arg(units[size_t(i)]->path());
        for (int i = 0; i < 8; ++i)
            map << QStringLiteral("%1=%2").arg(i + 9).arg(silent[size_t(i)]);
        return map.join(',');
    }
};

// From RESET on unit `port` to find's line for it, with find listening on every port of
// `portMap`; -1 when no line came.
Task<double> findDelayMs(Rack& rack, int port, QString portMap)
{
    qputenv("CORVANE_PORT_MAP", portMap.toLocal8Bit());
    CapturedStdout out;
    Task<int> find = CliCommands::runCommandLine(
        {QStringLiteral("corvane-cli"), "find", "--timeout", "20", "--count", "1"});
    co_await bench::sleepMs(3000); // every port listening
    QElapsedTimer clock;
    clock.start();
    rack.units[size_t(port - 1)]->reset();
    while (out.size() == 0 && clock.elapsed() < 10000)
        co_await bench::sleepMs(1);
    const double ms = out.size() > 0 ? clock.nsecsElapsed() / 1e6 : -1;
    co_await find;
    co_return ms;
}

bool rackRows(const QString& simExe, const QString& file)
{
    Rack rack;
    if (!rack.start(simExe))
        return false;
    const QStringList write{"write", file, "--no-backup", "--quiet", "--port"};
    const QString all = rack.allUnits();
    const ToolRun one = runTool(write + QStringList{"1"}, all);
    const ToolRun rack8 = runTool(write + QStringList{"1-8"}, all);
    const ToolRun rack16 = runTool(write + QStringList{"1-16"}, all);
    if (one.status != 0 || rack8.status != 0 || rack16.status != 0) {
        std::fprintf(stderr, "rack write failed: %d %d %d\n", one.status, rack8.status,
                     rack16.status);
        return false;
    }
    std::printf("one_write_wall_ms=%.1f\n", one.time.wallMs);
    for (const auto& [name, r] : {std::pair{"rack8", rack8}, std::pair{"rack16", rack16}}) {
        std::printf("%s_write_wall_ms=%.1f\n", name, r.time.wallMs);
        std::printf("%s_write_over_one_write=%.3f\n", name, r.time.wallMs / one.time.wallMs);
        std::printf("%s_write_cpu_share=%.4f\n", name, r.time.cpuS / (r.time.wallMs / 1000.0));
    }
    const ToolRun scan = runTool({"scan"}, rack.halfSilent());
    if (scan.status != 0)
        return false;
    std::printf("scan16_ms=%.1f\n", scan.time.wallMs);
    for (int port : {1, 8})
        std::printf("find16_reported_after_ms_com%d=%.1f\n", port,
                    QCoro::waitFor(findDelayMs(rack, port, rack.halfSilent())));
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

    const ToolRun read = runTool(QStringList{"read", "-o", file} + line);
    if (read.status != 0) {
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
    const ToolRun write = runTool(QStringList{"write", file, "--no-backup"} + line);
    if (write.status != 0) {
        std::fprintf(stderr, "write failed\n");
        return 1;
    }

    // The same write with its backup, to another end title so it writes as much.
    QFile g(file);
    if (!g.open(QIODevice::ReadWrite))
        return 1;
    text = g.readAll().replace("End Title 9", "End Title 8");
    g.resize(0);
    g.write(text);
    g.close();
    const ToolRun backedUp =
        runTool(QStringList{"write", file, "--backup-dir", dir.filePath("backups")} + line);
    if (backedUp.status != 0) {
        std::fprintf(stderr, "write with a backup failed\n");
        return 1;
    }
    std::printf("write_with_backup_over_no_backup=%.3f\n", backedUp.time.wallMs / write.time.wallMs);

    const double loadFloor = LoadPauseMs + bench::AttentionFloorMs + LoadCells * 7 * bench::ByteMs;
    const double savePtyFloor = 130 + SaveCells * WritePauseMs;
    const double compareFloor = bench::AttentionFloorMs + SaveCells * 7 * bench::ByteMs;
    report("read", read.time, loadFloor);
    report("write", write.time, loadFloor + savePtyFloor + compareFloor);
    return rackRows(simExe, file) ? 0 : 1;
}
