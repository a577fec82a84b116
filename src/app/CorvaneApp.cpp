#include "app/CorvaneApp.h"

#include "app/AccessibleNames.h"
#include "app/AppIcon.h"
#include "app/Placement.h"
#include "app/frmDebug.h"
#include "app/frmFileInput.h"
#include "app/frmFinder.h"
#include "app/frmHelp.h"
#include "app/frmLineMonitor.h"
#include "app/frmMain.h"
#include "app/frmProblem.h"
#include "app/frmProgress.h"
#include "app/frmRack.h"
#include "app/frmSimUnit.h"
#include "comm/modCorvaneComm.h"
#include "flows/BackupBeforeSave.h"
#include "simunit/SimUnit.h"

#include <QGuiApplication>

CorvaneApp::CorvaneApp(const LineTiming& timing)
    : backupFolder(BackupBeforeSave::editorFolder()), timing_(timing)
{
    serial_.setWireLog(&wireLog_);
    lease_.setWireLog(&wireLog_);
    // A lost line shows at once: the editor's picture goes to "not connected", and the
    // finder's status names the port (the wire log already has it).
    QObject::connect(&serial_, &MSComm::lineLost, &serial_, [this] {
        if (main_)
            main_->showConnected(false);
        finderStatus.append(QStringLiteral("COM%1 was lost: %2")
                                .arg(serial_.CommPort())
                                .arg(serial_.lastError().description));
    });
    // Every window without an icon of its own shows the application's.
    if (qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
        QGuiApplication::setWindowIcon(applicationIcon());
}

CorvaneApp::~CorvaneApp()
{
    // Dialogs first (they may be children of the finder or the editor), then the windows
    // that may refer to the editor, the editor last.
    rack_.reset();
    progress_.reset();
    help_.reset();
    problem_.reset();
    fileInput_.reset();
    debug_.reset();
    lineMonitor_.reset();
    simUnitWindow_.reset();
    finder_.reset();
    main_.reset();
    if (serial_.PortOpen())
        serial_.closePort();
    demoUnit_.reset();
}

bool CorvaneApp::startDemo(QString* error)
{
    auto unit = std::make_unique<simsync::SimUnit>();
    unit->setPacing(timing_); // the unit's line runs at the speed the application waits for
    if (!unit->start()) {
        if (error)
            *error = unit->errorString();
        return false;
    }
    demoUnit_ = std::move(unit);
    ports.setDemoDevice(demoUnit_->path());
    // Plugged in again, the unit has a new line: COM1 follows it.
    QObject::connect(demoUnit_.get(), &simsync::SimUnit::lineChanged, demoUnit_.get(), [this] {
        if (demoUnit_->pluggedIn())
            ports.setDemoDevice(demoUnit_->path());
    });
    wireLog_.event(
        QStringLiteral("demo: simulated synchronizer on %1 as COM1").arg(demoUnit_->path()));
    return true;
}

frmSimUnit& CorvaneApp::simUnitWindow()
{
    if (!simUnitWindow_) {
        simUnitWindow_ = std::make_unique<frmSimUnit>(*demoUnit_, modal, &main());
        AccessibleNames::nameControls(*simUnitWindow_);
    }
    return *simUnitWindow_;
}

void CorvaneApp::showLineMonitor(QWidget* asker)
{
    frmLineMonitor& w = lineMonitor();
    QWidget* owner = asker ? asker : workWindow();
    // A window of the one that asked: it stays over it. One already shown is only raised.
    if (!w.isVisible() && w.parentWidget() != owner)
        w.setParent(owner, w.windowFlags());
    // Beside the window that asked, the first time; after that where the user left it.
    if (!w.isVisible() && !w.testAttribute(Qt::WA_Moved))
        Placement::placeBesideClear(w, *owner);
    w.show();
    w.raise();
    w.activateWindow();
}

void CorvaneApp::forgetDebug()
{
    if (debug_)
        debug_.release()->deleteLater();
}

CommContext CorvaneApp::comm()
{
    return CommContext{serial_, timer_,       commandState_, portAccess,
                       timing_, &resetWatch_, &finderStatus, {}};
}

EditorView& CorvaneApp::editor()
{
    return main();
}

ProgressView& CorvaneApp::progress()
{
    return progressWindow();
}

FilePreview& CorvaneApp::preview()
{
    return fileInput();
}

QWidget* CorvaneApp::workWindow()
{
    if (hasFinder() && finder().isVisible())
        return &finder();
    return &main();
}

Task<> CorvaneApp::showProblem(QString text)
{
    wireLog_.event(QStringLiteral("problem shown: ") +
                   QString(text).replace(QLatin1String("\r\n"), QLatin1String(" / ")));
    return problem().showText(text, workWindow());
}

Task<> CorvaneApp::showMessage(QString text, bool exclamation)
{
    return showMessageAt(std::move(text), exclamation, Modal::Place::CentredOnOwner);
}

Task<> CorvaneApp::showMarksReport(QString text)
{
    return showMessageAt(std::move(text), true, Modal::Place::BesideOwner);
}

Task<> CorvaneApp::showMessageAt(QString text, bool exclamation, Modal::Place place)
{
    wireLog_.event(QStringLiteral("message shown: ") +
                   QString(text).replace(QLatin1String("\r\n"), QLatin1String(" ")));
    return modal.messageBox(workWindow(), std::move(text), exclamation, place);
}

Task<bool> CorvaneApp::askYesNo(QString text)
{
    wireLog_.event(QStringLiteral("question asked: ") + text);
    const bool yes = co_await modal.question(workWindow(), text);
    wireLog_.event(QStringLiteral("answered: ") +
                   (yes ? QStringLiteral("Yes") : QStringLiteral("No")));
    co_return yes;
}

Task<QString> CorvaneApp::askOpenFile(QString title, QString filter, QString selectedFilter)
{
    return modal.openFileName(&main(), std::move(title), std::move(filter),
                              std::move(selectedFilter));
}

Task<QString> CorvaneApp::askSaveFile(QString title, QString filter, QString selectedFilter)
{
    return modal.saveFileName(&main(), std::move(title), std::move(filter),
                              std::move(selectedFilter));
}

void CorvaneApp::beforeCell(uint8_t address)
{
    if (cellHook)
        cellHook(address);
}
