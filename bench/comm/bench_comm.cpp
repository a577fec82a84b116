// Times a whole-device worth of reads and of writes against the simulated unit paced at
// 1200 baud, and the CPU this process spends meanwhile. Prints name=value lines:
//   reads56_wall_over_floor, reads56_cpu_share, writes56_wall_over_floor, writes56_cpu_share
// The floor is the line time of every byte (8.33 ms each) plus the fixed pauses, with the
// attention sequence (two frames, 130 ms apart) counted once for each run.
//
//   bench_comm [path-to-simsync]

#include "comm/CommContext.h"
#include "comm/PortMap.h"
#include "comm/modCorvaneComm.h"
#include "support/BenchSupport.h"

#include <QCoreApplication>
#include <array>
#include <cstdio>

using namespace modCorvaneComm;

namespace {

using bench::AttentionFloorMs;
using bench::ByteMs;
using bench::Run;
constexpr int16_t Port = 1;

// The cells of a whole load, in its order.
std::array<uint8_t, 56> loadOrder()
{
    std::array<uint8_t, 56> cells{};
    int i = 0;
    for (uint8_t a : {0x3F, 0x3E, 0x3C})
        cells[i++] = a;
    for (uint8_t a = 0x30; a <= 0x3B; ++a)
        cells[i++] = a;
    cells[i++] = 0x3D;
    for (uint8_t a = 0x48; a <= 0x6F; ++a)
        cells[i++] = a;
    return cells;
}

// One attention sequence, then each cell read once; the bytes of every reply go to
// `values`. The count of exchanges that failed.
Task<int> readEach(CommContext c, const std::array<uint8_t, 56>& cells,
                   std::array<std::array<uint8_t, 2>, 56>& values)
{
    int failures = (co_await SendAttention(c)) ? 0 : 1;
    for (size_t i = 0; i < cells.size(); ++i) {
        const CellReply reply = co_await ReadCell(c, cells[i]);
        failures += reply.good() ? 0 : 1;
        values[i] = reply.bytes;
    }
    co_return failures;
}

// One attention sequence, then each cell written once with its value.
Task<int> writeEach(CommContext c, const std::array<uint8_t, 56>& cells,
                    const std::array<std::array<uint8_t, 2>, 56>& values)
{
    int failures = (co_await SendAttention(c)) ? 0 : 1;
    for (size_t i = 0; i < cells.size(); ++i)
        failures += (co_await WriteCell(c, cells[i], values[i][0], values[i][1])) ? 0 : 1;
    co_return failures;
}

void report(const char* name, const Run& r, double floorMs)
{
    std::printf("%s_wall_ms=%.1f\n", name, r.wallMs);
    std::printf("%s_floor_ms=%.1f\n", name, floorMs);
    std::printf("%s_wall_over_floor=%.3f\n", name, r.wallMs / floorMs);
    std::printf("%s_cpu_share=%.4f\n", name, r.cpuS / (r.wallMs / 1000.0));
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QString simExe = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral(SIMSYNC_EXE);

    bench::SimProcess sim;
    if (!sim.start(simExe))
        return 1;
    const QString path = sim.path();
    PortMap ports;
    ports.setTestMapping({{Port, path}});

    MSComm comm(ports);
    CommTimer timer;
    CommandState cmd;
    PortAccess portAccess;
    CommContext c{comm, timer, cmd, portAccess};
    if (const CommError e = QCoro::waitFor(OpenSyncPort(c, Port)); e.number != 0) {
        std::fprintf(stderr, "cannot open %s: %s\n", qPrintable(path), qPrintable(e.description));
        return 1;
    }

    const auto cells = loadOrder();
    std::array<std::array<uint8_t, 2>, 56> values{};
    int failures = 0;

    const Run reads =
        bench::measure([&] { failures += QCoro::waitFor(readEach(c, cells, values)); });
    // Request and reply: 3 + 4 bytes, no pauses when every reply is good.
    const double readsFloor = AttentionFloorMs + cells.size() * 7 * ByteMs;

    const Run writes =
        bench::measure([&] { failures += QCoro::waitFor(writeEach(c, cells, values)); });
    // Five bytes and the 100 ms pause after each write.
    const double writesFloor = AttentionFloorMs + cells.size() * (5 * ByteMs + 100);

    report("reads56", reads, readsFloor);
    report("writes56", writes, writesFloor);
    // A pseudo-terminal reports output as sent the moment it is written, so there the line
    // time of each write overlaps its pause; this is the floor the host can see.
    const double writesPtyFloor = 130 + cells.size() * 100.0;
    std::printf("writes56_wall_over_pty_floor=%.3f\n", writes.wallMs / writesPtyFloor);
    std::printf("failures=%d\n", failures);

    comm.closePort();
    return failures == 0 ? 0 : 1;
}
