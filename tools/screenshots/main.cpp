// Shows the editor, the finder, the progress window during a probe and the problem window
// with the demo's unit, at a chosen font size, and saves a picture of each:
//   corvane-screenshots OUTDIR [--point-size N] [--screen]
// --screen takes the whole screen (window frames included, under a window manager) instead
// of the window alone.

#include "app/CorvaneApp.h"
#include "app/frmFinder.h"
#include "app/frmMain.h"
#include "app/frmProblem.h"
#include "app/frmProgress.h"
#include "app/frmRack.h"
#include "app/frmSimUnit.h"
#include "comm/modCorvaneComm.h"
#include "flows/TransferTexts.h"
#include "simunit/SimSync.h"

#include <QApplication>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QDir>
#include <QScreen>
#include <QTimer>
#include <cstdio>

namespace {
Task<> pause(int ms)
{
    QTimer timer;
    timer.setSingleShot(true);
    timer.start(ms);
    co_await Await::nextSignal(&timer, &QTimer::timeout);
}

// The windows get `ms` of the event loop to lay out and paint before their picture.
void settle(int ms)
{
    QCoro::waitFor(pause(ms));
}

struct Shooter
{
    QString dir;
    bool wholeScreen = false;

    void take(QWidget& w, const QString& name)
    {
        settle(400);
        // From the screen: the window with the frame its window manager drew.
        const QRect frame = w.frameGeometry();
        const QPixmap picture = wholeScreen ? w.screen()->grabWindow(0, frame.x(), frame.y(),
                                                                     frame.width(), frame.height())
                                            : w.grab();
        const QString path = QDir(dir).filePath(name + QStringLiteral(".png"));
        if (!picture.save(path))
            std::fprintf(stderr, "could not save %s\n", qPrintable(path));
        else
            std::printf("%s %dx%d (window %dx%d)\n", qPrintable(path), picture.width(),
                        picture.height(), w.width(), w.height());
    }
};
// The rack window after a write of one file to eight units: one fell silent, one lost its
// line in the middle of the save, one kept its old cells, one held the file already.
void shootRack(Shooter& shoot)
{
    std::vector<std::unique_ptr<SimSync>> units;
    QMap<int, QString> map;
    for (int n = 1; n <= 8; ++n) {
        units.push_back(std::make_unique<SimSync>());
        units.back()->setPacing(false);
        units.back()->start();
        map.insert(n, units.back()->path());
    }
    QTemporaryDir backups;
    CorvaneApp app(LineTiming::unpaced());
    app.ports.setTestMapping(map);
    app.backupFolder = backups.path();
    const QString file = QStringLiteral(CORVANE_DOCS_DIR "/lobby.txt");
    app.modal.setHandler([&](const Modal::Request&) { return file; });
    frmRack& rack = app.rack();
    rack.show();
    QCoro::waitFor(rack.cmdScan_Click());
    rack.selectRows({7});
    QCoro::waitFor(rack.cmdWriteFile_Click());
    units[2]->setStandingFault(simsync::Fault::Silence);
    units[4]->closeAfterFrames(75);
    units[5]->setFrozen(true);
    rack.selectRows({0, 1, 2, 3, 4, 5, 6, 7});
    QCoro::waitFor(rack.cmdWriteFile_Click());
    rack.tblRack->resizeColumnsToContents();
    rack.resize(880, 600); // every row in sight
    rack.selectRows({2});
    shoot.take(rack, QStringLiteral("rack"));
}

} // namespace

int main(int argc, char** argv)
{
    QApplication qapp(argc, argv);
    QStringList args = qapp.arguments();
    args.removeFirst();
    Shooter shoot;
    double pointSize = 0;
    for (int i = 0; i < args.size(); ++i) {
        if (args[i] == QLatin1String("--point-size") && i + 1 < args.size())
            pointSize = args[++i].toDouble();
        else if (args[i] == QLatin1String("--screen"))
            shoot.wholeScreen = true;
        else
            shoot.dir = args[i];
    }
    if (shoot.dir.isEmpty()) {
        std::fprintf(stderr, "usage: corvane-screenshots OUTDIR [--point-size N] [--screen]\n");
        return 3;
    }
    QDir().mkpath(shoot.dir);
    if (pointSize > 0) {
        QFont f = QApplication::font();
        f.setPointSizeF(pointSize);
        QApplication::setFont(f);
    }
    std::printf("font: %s %.1f pt, %d px high\n", qPrintable(QApplication::font().family()),
                QApplication::font().pointSizeF(), QFontMetrics(QApplication::font()).height());

    CorvaneApp app;
    QString error;
    if (!app.startDemo(&error)) {
        std::fprintf(stderr, "no demo unit: %s\n", qPrintable(error));
        return 1;
    }
    startApplication(app);
    app.simUnitWindow().hide(); // it would lie over the others' pictures
    frmMain& editor = app.main();
    shoot.take(editor, QStringLiteral("editor"));

    // The problem window answers through the modal seam: pictured while it is shown.
    app.modal.setHandler([&](const Modal::Request& r) {
        if (r.dialog)
            shoot.take(*r.dialog, QStringLiteral("problem"));
        return QString();
    });
    QCoro::waitFor(app.showProblem(TransferTexts::CannotLoad + TransferTexts::CommunicationErrors));

    app.showFinderFromEditor();
    app.simUnitWindow().hide();
    frmFinder& finder = app.finder();
    app.finderStatus.append(
        QStringLiteral("Unable to Open COM2 (Permission denied: /dev/ttyS1 belongs to the "
                       "group dialout; sudo usermod -aG dialout $USER, then log in again)"));
    shoot.take(finder, QStringLiteral("finder"));

    frmProgress& progress = app.progressWindow();
    progress.startProgress(QStringLiteral("Testing COM1"), QStringLiteral("Probing............."),
                           60);
    progress.setBar(8);
    progress.setProgressHint(
        QStringLiteral("26 seconds left: press RESET on the synchronizer now"));
    shoot.take(progress, QStringLiteral("progress"));
    progress.hideProgress();
    shootRack(shoot);
    return 0;
}
