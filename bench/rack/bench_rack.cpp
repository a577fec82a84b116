// Times the rack window's Write File... on every row against simulated units paced at
// 1200 baud (each in a process of its own, so their work does not count as ours), the
// rows added by hand, the file chosen through the modal seam, each write keeping its
// backup first. Prints name=value lines, each figure with its target beside it:
//   one_write_wall_ms        one selected row written
//   rack16_write_wall_ms     all 16 rows written side by side
//   rack16_write_over_one_write       the two in the same run (target at most 1.03)
//   rack16_ui_max_gap_ms     the longest gap between ticks of a 10 ms timer on the user
//                            interface thread during the 16 (target at most 50); a 1 ms
//                            timer's own wake-ups cost about 3% of a core here, more
//                            than the rack's work, and would swamp the next figure
//   rack16_write_cpu_share   this process's CPU seconds over wall seconds during the 16
//                            (target at most 0.05)
//
//   bench_rack [path-to-simsync]

#include "app/CorvaneApp.h"
#include "app/Modal.h"
#include "app/frmRack.h"
#include "cli/CliCommands.h"
#include "comm/PortMap.h"
#include "support/BenchSupport.h"

#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QTableWidget>
#include <QTemporaryDir>
#include <algorithm>
#include <memory>
#include <vector>

namespace {

constexpr int Units = 16;

// A 10 ms timer on the user interface thread: the longest gap between its ticks.
class TickGap
{
public:
    TickGap()
    {
        timer_.setTimerType(Qt::PreciseTimer);
        timer_.setInterval(10);
        QObject::connect(&timer_, &QTimer::timeout, [this] {
            const double now = clock_.nsecsElapsed() / 1e6;
            if (last_ >= 0)
                maxGap_ = std::max(maxGap_, now - last_);
            last_ = now;
        });
    }
    void start()
    {
        last_ = -1;
        maxGap_ = 0;
        clock_.start();
        timer_.start();
    }
    double stop()
    {
        timer_.stop();
        return maxGap_;
    }

private:
    QTimer timer_;
    QElapsedTimer clock_;
    double last_ = -1, maxGap_ = 0;
};

// `from` with its "End Title" line changed to `title`, written to `to`.
bool withEndTitle(const QString& from, const QString& to, int title)
{
    QFile in(from);
    QFile out(to);
    if (!in.open(QIODevice::ReadOnly) || !out.open(QIODevice::WriteOnly))
        return false;
    QList<QByteArray> lines = in.readAll().split('\n');
    for (QByteArray& l : lines)
        if (l.startsWith("End Title "))
            l = "End Title " + QByteArray::number(title) + (l.endsWith('\r') ? "\r" : "");
    return out.write(lines.join('\n')) > 0;
}

void figure(const char* name, double value, const char* target)
{
    std::printf("%s=%.3f\n%s_target=%s\n", name, value, name, target);
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication qapp(argc, argv);
    const QString simExe = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral(SIMSYNC_EXE);

    std::vector<std::unique_ptr<bench::SimProcess>> units;
    QMap<int, QString> map;
    for (int i = 1; i <= Units; ++i) {
        units.push_back(std::make_unique<bench::SimProcess>());
        if (!units.back()->start(simExe))
            return 1;
        map.insert(i, units.back()->path());
    }

    // The settings file as corvane-cli reads it from a unit, then two versions of it with
    // other end titles, so that each write changes what its units hold.
    QTemporaryDir dir;
    const QString read = dir.filePath("read.txt");
    const QString once = dir.filePath("once.txt");
    const QString all = dir.filePath("all.txt");
    {
        // Named, not a braced list in the call: GCC 12 destroys such a coroutine argument's
        // temporaries twice.
        const QStringList args{"corvane-cli", "read",           "-o",     read,
                               "--device",    units[0]->path(), "--quiet"};
        const int status = QCoro::waitFor(CliCommands::runCommandLine(args));
        if (status != 0 || !withEndTitle(read, once, 8) || !withEndTitle(read, all, 9)) {
            std::fprintf(stderr, "cannot read the unit's settings (%d)\n", status);
            return 1;
        }
    }

    CorvaneApp app;
    // Each write keeps its backup first, as the rack window's writes do.
    app.backupFolder = dir.filePath("backups");
    // The rack copies the port map when it is first made.
    app.ports.setTestMapping(map);
    QString answer;
    int boxes = 0;
    app.modal.setHandler([&](const Modal::Request& r) {
        if (r.kind == Modal::Request::OpenFile)
            return answer;
        ++boxes;
        std::fprintf(stderr, "box: %s\n", qPrintable(r.text.isEmpty() ? r.caption : r.text));
        return QString();
    });
    app.endHandler = [] {};
    startApplication(app);
    app.rackModel();
    app.showRack(nullptr);
    frmRack& rack = app.rack();
    for (int i = 1; i <= Units; ++i) {
        rack.txtAddUnit->setText(QString::number(i));
        rack.cmdAddUnit_Click();
    }
    if (rack.tblRack->rowCount() != Units) {
        std::fprintf(stderr, "the rack has %d rows: %s\n", rack.tblRack->rowCount(),
                     qPrintable(rack.lblRackStatus->text()));
        return 1;
    }

    const auto failures = [&] {
        int failed = 0;
        for (const RackRow& row : app.rackModel().rows())
            if (row.failed() || row.state == QLatin1String("working")) {
                ++failed;
                std::fprintf(stderr, "%s\n",
                             qPrintable(row.sentence() + ": " + row.said.join("; ")));
            }
        return failed;
    };

    rack.selectRows({0});
    answer = once;
    const bench::Run one = bench::measure([&] { QCoro::waitFor(rack.cmdWriteFile_Click()); });
    if (failures() != 0 || app.rackModel().rows()[0].result != QLatin1String("ok")) {
        std::fprintf(stderr, "the write of one unit failed: %s\n",
                     qPrintable(rack.lblRackStatus->text()));
        return 1;
    }

    rack.tblRack->selectAll();
    answer = all;
    TickGap ticks;
    ticks.start();
    const bench::Run sixteen = bench::measure([&] { QCoro::waitFor(rack.cmdWriteFile_Click()); });
    const double gapMs = ticks.stop();
    if (failures() != 0 || rack.lblRackStatus->text() != QStringLiteral("write: 16 of 16 ok.")) {
        std::fprintf(stderr, "the write of 16 units failed: %s\n",
                     qPrintable(rack.lblRackStatus->text()));
        return 1;
    }

    std::printf("one_write_wall_ms=%.1f\n", one.wallMs);
    std::printf("rack16_write_wall_ms=%.1f\n", sixteen.wallMs);
    figure("rack16_write_over_one_write", sixteen.wallMs / one.wallMs, "<=1.03");
    figure("rack16_ui_max_gap_ms", gapMs, "<=50");
    figure("rack16_write_cpu_share", sixteen.cpuS / (sixteen.wallMs / 1000.0), "<=0.05");
    std::printf("boxes=%d\n", boxes);
    return boxes == 0 ? 0 : 1;
}
