#include "app/CorvaneApp.h"

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
#include "app/frmSimUnit.h"
#include "simunit/SimUnit.h"

#include <QGuiApplication>
#include <cstdio>
#include <cstdlib>

CorvaneApp::CorvaneApp()
{
    serial_.setWireLog(&wireLog_);
    lease_.setWireLog(&wireLog_);
    // Every window without an icon of its own shows the application's.
    if (qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
        QGuiApplication::setWindowIcon(applicationIcon());
}

CorvaneApp::~CorvaneApp()
{
    // Dialogs first (they may be children of the finder or the editor), then the windows
    // that may refer to the editor, the editor last.
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
        serial_.setPortOpen(false);
    demoUnit_.reset();
}

bool CorvaneApp::startDemo(QString* error)
{
    auto unit = std::make_unique<simsync::SimUnit>();
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
    if (!simUnitWindow_)
        simUnitWindow_ = std::make_unique<frmSimUnit>(*demoUnit_, modal, &main());
    return *simUnitWindow_;
}

// The unit window to the right of the window the user works in.
static void showBeside(QWidget& w, const QWidget& owner)
{
    Placement::placeBeside(w, owner);
    w.show();
}

frmMain& CorvaneApp::main()
{
    if (!main_) {
        main_ = std::make_unique<frmMain>(*this);
        main_->Form_Load();
    }
    return *main_;
}

frmFinder& CorvaneApp::finder()
{
    if (!finder_) {
        main(); // the finder keeps the hidden editor's lock display up to date
        finder_ = std::make_unique<frmFinder>(*this);
    }
    return *finder_;
}

frmProgress& CorvaneApp::progressWindow()
{
    if (!progress_)
        progress_ = std::make_unique<frmProgress>(*this);
    return *progress_;
}

frmHelp& CorvaneApp::help()
{
    if (!help_)
        help_ = std::make_unique<frmHelp>(modal);
    return *help_;
}

frmProblem& CorvaneApp::problem()
{
    if (!problem_)
        problem_ = std::make_unique<frmProblem>(modal);
    return *problem_;
}

frmFileInput& CorvaneApp::fileInput()
{
    if (!fileInput_)
        fileInput_ = std::make_unique<frmFileInput>(*this, &main());
    return *fileInput_;
}

frmDebug& CorvaneApp::debug()
{
    if (!debug_) {
        main();
        debug_ = std::make_unique<frmDebug>(*this);
    }
    return *debug_;
}

frmLineMonitor& CorvaneApp::lineMonitor()
{
    if (!lineMonitor_)
        lineMonitor_ = std::make_unique<frmLineMonitor>(wireLog_, modal, &main());
    return *lineMonitor_;
}

void CorvaneApp::showLineMonitor()
{
    frmLineMonitor& w = lineMonitor();
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
    return CommContext{serial_, timer_, g};
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

// The window a box belongs to: the one the user works in.
static QWidget* activeOwner(CorvaneApp& app)
{
    if (app.hasFinder() && app.finder().isVisible())
        return &app.finder();
    return &app.main();
}

void CorvaneApp::showProblem(const QString& text)
{
    wireLog_.event(QStringLiteral("problem shown: ") +
                   QString(text).replace(QLatin1String("\r\n"), QLatin1String(" / ")));
    problem().showText(text, activeOwner(*this));
}

void CorvaneApp::showMessage(const QString& text, bool exclamation)
{
    showMessageAt(text, exclamation, Modal::Place::CentredOnOwner);
}

void CorvaneApp::showMarksReport(const QString& text)
{
    showMessageAt(text, true, Modal::Place::BesideOwner);
}

void CorvaneApp::showMessageAt(const QString& text, bool exclamation, Modal::Place place)
{
    wireLog_.event(QStringLiteral("message shown: ") +
                   QString(text).replace(QLatin1String("\r\n"), QLatin1String(" ")));
    modal.messageBox(&main(), text, exclamation, place);
}

QString CorvaneApp::askOpenFile(const QString& title, const QString& filter,
                                const QString& selectedFilter)
{
    return modal.openFileName(&main(), title, filter, selectedFilter);
}

QString CorvaneApp::askSaveFile(const QString& title, const QString& filter,
                                const QString& selectedFilter)
{
    return modal.saveFileName(&main(), title, filter, selectedFilter);
}

void CorvaneApp::beforeCell(uint8_t address)
{
    if (cellHook)
        cellHook(address);
}

void CorvaneApp::showAbout(QWidget* owner)
{
    help().showOver(owner);
}

void CorvaneApp::showFinderFromEditor()
{
    frmMain& m = main();
    if (serial_.PortOpen())
        serial_.setPortOpen(false);
    frmFinder& f = finder();
    f.show();
    m.hide();
    if (inDemo())
        showBeside(simUnitWindow(), f);
    f.returnedFromEditor();
}

void CorvaneApp::showEditorFromFinder()
{
    // The debug window belongs to the finder; its commands must not run under the editor's.
    if (debug_)
        debug_->hide();
    if (finder_)
        finder_->hide();
    main().show();
}

void CorvaneApp::endApplication()
{
    if (endHandler) {
        endHandler();
        return;
    }
    // Nothing is asked and nothing saved; the port goes with the process.
    if (serial_.PortOpen())
        serial_.setPortOpen(false);
    std::fflush(nullptr);
    std::exit(0);
}

void startApplication(CorvaneApp& app)
{
    frmMain& m = app.main();
    m.show();
    if (app.inDemo())
        showBeside(app.simUnitWindow(), m);
}
