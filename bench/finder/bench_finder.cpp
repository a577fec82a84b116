// Times a probe that hears nothing: the finder listens 60 ticks of half a second on a
// port whose unit was never reset. Prints name=value lines:
//   probe_wall_ms, probe_wall_over_floor   the floor is the 30 seconds of ticks
//   probe_cpu_s, probe_cpu_share           CPU seconds of this process, and over wall time
//   ui_max_stall_ms                        longest gap between ticks of a 10 ms timer
//                                          during 5 s of a second probe, ended by Cancel
//   probe_result                           0: nothing heard
//
//   bench_finder [path-to-simsync]

#include "app/CorvaneApp.h"
#include "app/Modal.h"
#include "app/frmFinder.h"
#include "app/frmMain.h"
#include "app/frmProgress.h"
#include "comm/PortLease.h"
#include "comm/PortMap.h"
#include "comm/Probe.h"
#include "comm/modCorvaneComm.h"
#include "support/BenchSupport.h"

#include <QApplication>
#include <QTimer>
#include <algorithm>

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication qapp(argc, argv);
    const QString simExe = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral(SIMSYNC_EXE);

    bench::SimProcess sim;
    if (!sim.start(simExe))
        return 1;
    constexpr int16_t Port = 1;
    CorvaneApp app;
    app.ports.setTestMapping({{Port, sim.path()}});
    app.modal.setHandler([](const Modal::Request&) { return QString(); });
    app.endHandler = [] {};
    startApplication(app);
    app.showFinderFromEditor();
    // The shown finder listens on its selected port (COM1) while the line is free. A probe's
    // caller holds the line, as a scan does, and opens the port afresh, as a scan does.
    PortLeaseHold line(app.lease(), QStringLiteral("benchmark probes"));
    CommContext c = app.comm();
    app.serial().closePort();
    const CommError opened = line.held() ? QCoro::waitFor(modCorvaneComm::OpenSyncPort(c, Port))
                                         : CommError{1, QStringLiteral("the line is held")};
    if (opened.number != 0) {
        std::fprintf(stderr, "cannot open the simulated unit: %s\n",
                     qPrintable(opened.description));
        return 1;
    }
    ProbeCancel cancel; // the progress window's Cancel reaches the probe through it

    // First the full probe alone, for its own CPU time.
    int16_t result = -99;
    const bench::Run run = bench::measure([&] {
        result = QCoro::waitFor(
                     modCorvaneComm::ProbeForSynchronizer(c, app.progressWindow(), cancel, Port))
                     .result;
    });

    // Then five seconds of another probe, ended by Cancel, with a 10 ms timer watching how
    // long the user interface goes without running it.
    QElapsedTimer sinceTick;
    double maxStallMs = 0;
    QTimer ticker;
    ticker.setTimerType(Qt::PreciseTimer);
    QObject::connect(&ticker, &QTimer::timeout, [&] {
        maxStallMs = std::max(maxStallMs, sinceTick.nsecsElapsed() / 1e6);
        sinceTick.restart();
    });
    QTimer::singleShot(5000, [&] { app.progressWindow().cmdCancel_Click(); });
    ticker.start(10);
    sinceTick.start();
    const int16_t cancelled =
        QCoro::waitFor(modCorvaneComm::ProbeForSynchronizer(c, app.progressWindow(), cancel, Port))
            .result;
    ticker.stop();

    const double floorMs = LineTiming{}.probeTicks * LineTiming{}.probeTickMs;
    std::printf("probe_result=%d\n", result);
    std::printf("probe_wall_ms=%.1f\n", run.wallMs);
    std::printf("probe_wall_over_floor=%.4f\n", run.wallMs / floorMs);
    std::printf("probe_cpu_s=%.4f\n", run.cpuS);
    std::printf("probe_cpu_share=%.5f\n", run.cpuS / (run.wallMs / 1000.0));
    std::printf("ui_max_stall_ms=%.1f\n", maxStallMs);
    return result == modCorvaneComm::ProbeNothingHeard &&
                   cancelled == modCorvaneComm::ProbeCancelled
               ? 0
               : 1;
}
