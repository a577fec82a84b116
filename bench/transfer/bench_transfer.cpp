// Times "LOAD from Synchronizer" and "SAVE to Synchronizer" (its save and its compare)
// through the editor window against the simulated unit paced at 1200 baud, and watches
// how this process and its user interface fare meanwhile. Prints name=value lines:
//   load_wall_over_floor, save_wall_over_floor, compare_wall_over_floor
//   transfer_cpu_share   CPU seconds of this process over wall seconds, all three together
//   ui_max_stall_ms      the longest gap between ticks of a 10 ms timer during them
//   monitor_load_*       a second load with the line monitor open and following, its
//                        log already full (the ring at capacity, the view trimming)
//   rfc2217_*, tcp_*     a load and a save again, through ser2net on 127.0.0.1 in front of
//                        the same unit (when ser2net is installed)
//   rfc2217_tls_*, tcp_tls_*  the same inside TLS, the server's certificate checked
//                        against a CA made for the run with openssl
// The floor of each is the line time of its bytes plus its fixed pauses: the 2.5 s before
// a load, the 130 ms of the attention sequence, and the 100 ms after every write.
//
//   bench_transfer [path-to-simsync]   against the simulated unit in a process of its own
//   bench_transfer --demo              against the demo's unit in this process's event loop

#include "Ser2net.h"
#include "TlsFiles.h"
#include "app/CorvaneApp.h"
#include "app/Modal.h"
#include "app/frmLineMonitor.h"
#include "app/frmMain.h"
#include "app/frmProgress.h"
#include "comm/PortMap.h"
#include "comm/WireLog.h"
#include "comm/modCorvaneComm.h"
#include "support/BenchSupport.h"

#include <QApplication>
#include <QStandardPaths>
#include <QTimer>
#include <algorithm>

namespace {

constexpr int16_t Port = 1;
constexpr int LoadCells = 56;
constexpr int SaveCells = 54; // model and channel locked
constexpr double LoadPauseMs = 2500;
constexpr double WritePauseMs = 100;

// When the progress window is shown and hidden: the save command shows it once for the
// save and once for the compare.
class ProgressTimes : public QObject
{
public:
    QElapsedTimer clock;
    QVector<double> shown, hidden;

protected:
    bool eventFilter(QObject*, QEvent* e) override
    {
        if (e->type() == QEvent::Show)
            shown << clock.nsecsElapsed() / 1e6;
        else if (e->type() == QEvent::Hide)
            hidden << clock.nsecsElapsed() / 1e6;
        return false;
    }
};

void report(const char* name, double wallMs, double floorMs)
{
    std::printf("%s_wall_ms=%.1f\n", name, wallMs);
    std::printf("%s_floor_ms=%.1f\n", name, floorMs);
    std::printf("%s_wall_over_floor=%.3f\n", name, wallMs / floorMs);
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication qapp(argc, argv);
    const QString arg = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QString();
    const bool demo = arg == QLatin1String("--demo");
    const QString simExe = !arg.isEmpty() && !demo ? arg : QStringLiteral(SIMSYNC_EXE);

    bench::SimProcess sim;
    if (!demo && !sim.start(simExe))
        return 1;
    CorvaneApp app;
    // The save as described, timed alone: the backup the editor keeps before it is not
    // part of the figure.
    app.backupFolder.clear();
    if (demo) {
        app.ports.setTestMapping({}); // COM1 is the demo's unit, nothing of the machine
        QString error;
        if (!app.startDemo(&error)) {
            std::fprintf(stderr, "no demo unit: %s\n", qPrintable(error));
            return 1;
        }
        std::printf("unit=demo (in this process)\n");
    } else {
        app.ports.setTestMapping({{Port, sim.path()}});
    }

    // Any box or problem window means a transfer did not go cleanly.
    int boxes = 0;
    app.modal.setHandler([&boxes](const Modal::Request& r) {
        ++boxes;
        std::fprintf(stderr, "box: %s\n", qPrintable(r.text.isEmpty() ? r.caption : r.text));
        return QString();
    });
    app.endHandler = [] {};
    startApplication(app);
    frmMain& m = app.main();
    CommContext c = app.comm();
    if (const CommError e = QCoro::waitFor(modCorvaneComm::OpenSyncPort(c, Port)); e.number != 0) {
        std::fprintf(stderr, "cannot open COM%d: %s\n", int(Port), qPrintable(e.description));
        return 1;
    }

    // A 10 ms timer that should tick on time throughout.
    QElapsedTimer tickClock;
    double lastTickMs = -1, maxGapMs = 0;
    QTimer ticker;
    ticker.setTimerType(Qt::PreciseTimer);
    ticker.setInterval(10);
    QObject::connect(&ticker, &QTimer::timeout, [&] {
        const double now = tickClock.nsecsElapsed() / 1e6;
        if (lastTickMs >= 0)
            maxGapMs = std::max(maxGapMs, now - lastTickMs);
        lastTickMs = now;
    });

    ProgressTimes progress;
    app.progressWindow().installEventFilter(&progress);
    tickClock.start();
    ticker.start();

    const bench::Run load = bench::measure([&] { QCoro::waitFor(m.cmdLoadFrom_Click()); });
    progress.shown.clear(); // the load's own showing
    progress.hidden.clear();
    progress.clock.start();
    const bench::Run saveAndCompare = bench::measure([&] { QCoro::waitFor(m.cmdSaveTo_Click()); });
    ticker.stop();

    if (progress.shown.size() != 2 || progress.hidden.size() != 2) {
        std::fprintf(stderr, "the save did not show its two phases\n");
        return 1;
    }
    const double saveMs = progress.hidden[0];
    const double compareMs = progress.hidden[1] - progress.shown[1];

    const double loadFloor = LoadPauseMs + bench::AttentionFloorMs + LoadCells * 7 * bench::ByteMs;
    const double saveFloor =
        bench::AttentionFloorMs + SaveCells * (5 * bench::ByteMs + WritePauseMs);
    const double compareFloor = bench::AttentionFloorMs + SaveCells * 7 * bench::ByteMs;
    report("load", load.wallMs, loadFloor);
    report("save", saveMs, saveFloor);
    report("compare", compareMs, compareFloor);
    // A pseudo-terminal takes a frame the moment it is written, so there a write's line
    // time overlaps its pause; this is the floor the host can see.
    std::printf("save_wall_over_pty_floor=%.3f\n", saveMs / (130 + SaveCells * WritePauseMs));

    const double wallS = (load.wallMs + saveAndCompare.wallMs) / 1000.0;
    std::printf("transfer_cpu_share=%.4f\n", (load.cpuS + saveAndCompare.cpuS) / wallS);
    std::printf("ui_max_stall_ms=%.1f\n", maxGapMs);
    std::printf("boxes=%d\n", boxes);

    // The same load with the monitor open on a full log: what the view costs.
    for (int i = app.wireLog().size(); i < app.wireLog().capacity(); ++i)
        app.wireLog().event(QStringLiteral("filler %1").arg(i));
    app.showLineMonitor();
    QApplication::processEvents();
    lastTickMs = -1;
    maxGapMs = 0;
    ticker.start();
    const bench::Run monitored = bench::measure([&] { QCoro::waitFor(m.cmdLoadFrom_Click()); });
    ticker.stop();
    app.lineMonitor().flushPending();
    report("monitor_load", monitored.wallMs, loadFloor);
    std::printf("monitor_load_cpu_share=%.4f\n", monitored.cpuS / (monitored.wallMs / 1000.0));
    std::printf("monitor_ui_max_stall_ms=%.1f\n", maxGapMs);
    std::printf("boxes_after_monitor=%d\n", boxes);

    app.serial().closePort();
    // The same unit behind a device server: the line time is the same, the network adds
    // its own round trips.
    if (!demo && Ser2net::installed()) {
        // The TLS rows trust the server by the CA the certificates are made with here.
        const TlsFiles files;
        if (!files.ok) {
            std::fprintf(stderr, "no certificates for the TLS rows: %s\n",
                         qPrintable(files.failure));
            return 1;
        }
        struct Kind
        {
            const char* name;
            bool rfc2217;
            bool tls;
        };
        for (const Kind& k : {Kind{"rfc2217", true, false}, Kind{"tcp", false, false},
                              Kind{"rfc2217_tls", true, true}, Kind{"tcp_tls", false, true}}) {
            const Ser2net::Tls tls = k.tls ? Ser2net::Tls{files.path("server.crt"),
                                                          files.path("server.key"), QString()}
                                           : Ser2net::Tls{};
            const Ser2net server(QStringList{sim.path()}, k.rfc2217, tls);
            if (!server.ok) {
                std::fprintf(stderr, "ser2net did not come up for %s\n", k.name);
                return 1;
            }
            const QString url = server.url(k.rfc2217) +
                                (k.tls ? QStringLiteral("?ca=") + files.path("ca.crt") : QString());
            app.ports.setTestMapping({{Port, url}});
            CommContext nc = app.comm();
            if (const CommError e = QCoro::waitFor(modCorvaneComm::OpenSyncPort(nc, Port));
                e.number != 0) {
                std::fprintf(stderr, "cannot open %s: %s\n", qPrintable(url),
                             qPrintable(e.description));
                return 1;
            }
            const bench::Run netLoad =
                bench::measure([&] { QCoro::waitFor(m.cmdLoadFrom_Click()); });
            const bench::Run netSave = bench::measure([&] { QCoro::waitFor(m.cmdSaveTo_Click()); });
            app.serial().closePort();
            report(QByteArray(k.name).append("_load").constData(), netLoad.wallMs, loadFloor);
            // As on the pseudo-terminal, the writes' line time overlaps their pauses.
            report(QByteArray(k.name).append("_save_and_compare").constData(), netSave.wallMs,
                   130 + SaveCells * WritePauseMs + compareFloor);
            std::printf("%s_cpu_share=%.4f\n", k.name,
                        (netLoad.cpuS + netSave.cpuS) / ((netLoad.wallMs + netSave.wallMs) / 1000));
            std::printf("%s_boxes=%d\n", k.name, boxes);
        }
    }
    return boxes == 0 ? 0 : 1;
}
