// The application object's windows: each made on first use and wired to what the
// application does for it, the hand-overs between the finder and the editor, and the end.

#include "app/CorvaneApp.h"

#include "app/AccessibleNames.h"
#include "app/Placement.h"
#include "app/frmDebug.h"
#include "app/frmFileInput.h"
#include "app/frmFinder.h"
#include "app/frmHelp.h"
#include "app/frmLineMonitor.h"
#include "app/frmMain.h"
#include "app/frmNetworkPort.h"
#include "app/frmProblem.h"
#include "app/frmProgress.h"
#include "app/frmSimUnit.h"
#include "flows/EditorDefaults.h"
#include "flows/TransferCommands.h"

#include <QCoreApplication>
#include <QPointer>

namespace {
// A window made on first use, its controls named for a screen reader.
template <typename Window, typename... Args>
Window& madeOnce(std::unique_ptr<Window>& window, Args&&... args)
{
    if (!window) {
        window = std::make_unique<Window>(std::forward<Args>(args)...);
        AccessibleNames::nameControls(*window);
    }
    return *window;
}
} // namespace

frmMain& CorvaneApp::main()
{
    if (main_)
        return *main_;
    main_ = std::make_unique<frmMain>(*this, modal);
    frmMain* m = main_.get();
    m->backupFolder = [this] { return backupFolder; };
    QObject::connect(m, &frmMain::exitRequested, m, [this] { endApplication(); });
    QObject::connect(m, &frmMain::aboutRequested, m, [this, m] { showAbout(m); });
    QObject::connect(m, &frmMain::findRequested, m, [this] { showFinderFromEditor(); });
    QObject::connect(m, &frmMain::lineMonitorRequested, m, [this, m] { showLineMonitor(m); });
    QObject::connect(m, &frmMain::rackRequested, m, [this, m] { showRack(m); });
    m->Form_Load();
    return *m;
}

frmFinder& CorvaneApp::finder()
{
    if (finder_)
        return *finder_;
    main(); // the finder keeps the hidden editor's lock up to date
    finder_ = std::make_unique<frmFinder>(*this, portAccess, finderStatus);
    frmFinder* f = finder_.get();
    f->unitFound = [this] { return handOverFoundUnit(); };
    QObject::connect(f, &frmFinder::workWithoutUnit, f, [this] {
        showEditorFromFinder();
        modCorvaneComm::SetDefaults(main().model());
        main().showUnit(std::nullopt);
    });
    QObject::connect(f, &frmFinder::exitRequested, f, [this] { endApplication(); });
    QObject::connect(f, &frmFinder::aboutRequested, f, [this, f] { showAbout(f); });
    QObject::connect(f, &frmFinder::lineMonitorRequested, f, [this, f] { showLineMonitor(f); });
    QObject::connect(f, &frmFinder::rackRequested, f, [this, f] { showRack(f); });
    QObject::connect(f, &frmFinder::networkPortRequested, f,
                     [this] { Await::start(addNetworkPort()); });
    QObject::connect(f, &frmFinder::lockToggleRequested, f, [this] { toggleLockFromFinder(); });
    QObject::connect(f, &frmFinder::lockRequested, f,
                     [this] { main().model().setModelChannelUnlocked(false); });
    QObject::connect(f, &frmFinder::listenPortChanged, f,
                     [this](int16_t port) { resetWatch_.watch(comm(), port); });
    QObject::connect(&resetWatch_, &ResetWatch::announcementHeard, f, &frmFinder::resetHeardEarly);
    f->Form_Load();
    return *f;
}

frmProgress& CorvaneApp::progressWindow()
{
    return madeOnce(progress_, [this] { return workWindow(); });
}

frmHelp& CorvaneApp::help()
{
    return madeOnce(help_, modal);
}

frmProblem& CorvaneApp::problem()
{
    return madeOnce(problem_, modal);
}

frmFileInput& CorvaneApp::fileInput()
{
    return madeOnce(fileInput_, *this, &main());
}

frmDebug& CorvaneApp::debug()
{
    if (!debug_) {
        main();
        debug_ = std::make_unique<frmDebug>(*this, debugFill);
        AccessibleNames::nameControls(*debug_);
        QObject::connect(debug_.get(), &frmDebug::closedForGood, debug_.get(),
                         [this] { forgetDebug(); });
    }
    return *debug_;
}

frmLineMonitor& CorvaneApp::lineMonitor()
{
    return madeOnce(lineMonitor_, wireLog_, modal, &main());
}

Task<> CorvaneApp::handOverFoundUnit()
{
    frmMain& m = main();
    showEditorFromFinder();
    modCorvaneComm::SetDefaults(m.model());
    m.showConnected(true);
    m.showUnit(std::nullopt);
    // The scan's lease is still held: the load follows on the same line without a gap.
    const TransferCommands::LoadOutcome loaded = co_await TransferCommands::LoadWhileHeld(*this);
    if (main_)
        main_->showUnitAfterLoad(loaded);
}

void CorvaneApp::toggleLockFromFinder()
{
    EditorModel& editor = main().model();
    editor.setModelChannelUnlocked(!editor.modelChannelUnlocked());
    if (editor.modelChannelUnlocked()) {
        // Beside the finder, the first time; after that where the user left it.
        if (!debug().testAttribute(Qt::WA_Moved))
            Placement::placeBesideClear(debug(), finder());
        debug().show();
    } else if (debug_)
        debug_->hide();
    editor.setModelChannelMarked(false);
}

Task<> CorvaneApp::showAbout(QWidget* owner)
{
    return help().showOver(owner);
}

void CorvaneApp::showFinderFromEditor()
{
    frmMain& m = main();
    if (serial_.PortOpen())
        serial_.closePort();
    frmFinder& f = finder();
    // The finder opens where the editor was, the first time; after that where the user
    // left it. The unit window stays where it is.
    if (!f.testAttribute(Qt::WA_Moved))
        Placement::centreOn(f, m);
    f.show();
    m.hide();
    if (inDemo())
        simUnitWindow().show();
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
    // Nothing is asked and nothing saved. A scan tries no further port and the line
    // closes first, so a command still unwinding sends nothing more; then every event
    // loop ends, and the application object and its windows go as main returns.
    if (finder_)
        finder_->abandonScan();
    if (serial_.PortOpen())
        serial_.closePort();
    QCoreApplication::exit(0);
}

void startApplication(CorvaneApp& app)
{
    frmMain& m = app.main();
    // Placed once, so that a desktop does not place them again each time they show; the
    // demo's unit window beside the editor, not over it.
    if (app.inDemo()) {
        Placement::placePair(m, app.simUnitWindow());
        app.simUnitWindow().show();
    } else {
        Placement::centreOnScreen(m);
    }
    m.show();
}

Task<> CorvaneApp::addNetworkPort()
{
    frmFinder& f = finder();
    const int n = ports.nextFreePort();
    if (n == 0) {
        co_await modal.messageBox(&f, QStringLiteral("Every port from COM1 to COM16 is taken."),
                                  true);
        co_return;
    }
    // A child of the finder: it goes with the finder, and then nothing here runs on.
    QPointer<frmNetworkPort> dialog = new frmNetworkPort(n, &f);
    dialog->setModal(true);
    co_await modal.showDialog(dialog);
    if (!dialog)
        co_return;
    const bool accepted = dialog->result() == QDialog::Accepted;
    const QString address = dialog->address();
    dialog->deleteLater();
    if (!accepted || address.isEmpty())
        co_return;
    const QString trusted = co_await trustedAddress(address);
    if (trusted.isEmpty())
        co_return;
    ports.setNetworkPort(n, trusted);
    wireLog().event(QStringLiteral("COM%1 is %2 for this run").arg(n).arg(trusted));
    // The new port is the one the user means to try next.
    co_await f.refreshList(static_cast<int16_t>(n));
}
