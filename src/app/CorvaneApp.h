#pragma once
// The running application: the one serial line with its lease and the command layer's
// results, port access, the settings-file preview, the modal seam, and every window, each
// created on first use and wired to what the application does for it. It is the one place
// that knows every window; a window gets only the services it uses. Tests create a fresh
// one per case and drive its windows by objectName.

#include "app/DebugFillBytes.h"
#include "app/Modal.h"
#include "comm/CommTimer.h"
#include "comm/CommandState.h"
#include "comm/MSComm.h"
#include "comm/PortAccess.h"
#include "comm/PortLease.h"
#include "comm/PortMap.h"
#include "comm/ResetWatch.h"
#include "flows/FinderStatus.h"
#include "flows/FlowHost.h"

#include <functional>
#include <memory>

class frmMain;
class frmFinder;
class frmProgress;
class frmHelp;
class frmProblem;
class frmFileInput;
class frmDebug;
class frmLineMonitor;
class frmSimUnit;
class frmRack;
class RackModel;
struct RackRow;
namespace simsync {
class SimUnit;
}

class CorvaneApp : public FlowHost
{
public:
    // Tests may pass scaled times; the application always runs on the real ones.
    explicit CorvaneApp(const LineTiming& timing = LineTiming{});
    ~CorvaneApp() override;
    CorvaneApp(const CorvaneApp&) = delete;
    CorvaneApp& operator=(const CorvaneApp&) = delete;

    // Which ports are present, the finder's list and why a port cannot be used.
    PortAccess portAccess;
    // The finder's status lines, kept for the finder until it shows them.
    FinderStatus finderStatus;
    // The settings file the preview window shows, until its OK applies it.
    SettingsPreview filePreview;
    // Which device stands behind each COM number; tests map their own.
    PortMap ports;
    // Every modal box and file dialog; tests answer them.
    Modal modal;
    // The data bytes RandFill writes, from a fixed seed for each run.
    DebugFillBytes debugFill;
    // Where the editor's saves keep their backups; "" keeps none (tests that do not look).
    QString backupFolder;
    // Test seam: runs before each cell a transfer reads or writes.
    std::function<void(uint8_t address)> cellHook;

    frmMain& main(); // created (and loaded) on first use
    frmFinder& finder();
    frmProgress& progressWindow();
    frmHelp& help();
    frmProblem& problem();
    frmFileInput& fileInput();
    frmDebug& debug();
    frmLineMonitor& lineMonitor();
    bool hasLineMonitor() const { return lineMonitor_ != nullptr; }
    // Demo mode: a simulated unit on COM1, the machine's ports from COM2 on. False with
    // `error` when the system cannot make the unit's line.
    bool startDemo(QString* error);
    bool inDemo() const { return demoUnit_ != nullptr; }
    simsync::SimUnit& demoUnit() { return *demoUnit_; }
    frmSimUnit& simUnitWindow(); // demo mode only
    // The rack window and its rows, made on first use with the ports as they are then.
    frmRack& rack();
    RackModel& rackModel();
    bool hasRack() const { return rack_ != nullptr; }
    // Synchronizer > Rack...: the rack window shown (or raised) beside the asking window.
    void showRack(QWidget* asker = nullptr);
    // The line monitor, shown (or raised) as a window of whichever window asked for it
    // (null: the one the user works in), beside it where it covers no other window.
    void showLineMonitor(QWidget* asker = nullptr);
    bool hasFinder() const { return finder_ != nullptr; }
    bool hasDebug() const { return debug_ != nullptr; }
    void forgetDebug(); // the debug window was closed by its close box and is gone

    // The serial control; a line that is open stays with the application, not a window.
    MSComm& serial() { return serial_; }

    // Add Network Port: asks for a device server's port and puts it on the next free COM
    // number for this run, then lists the ports again.
    Task<> addNetworkPort();
    // `address` as the port is to be added: as it is, pinned to the certificate the user
    // accepted on first contact, or "" when it is not to be added.
    Task<QString> trustedAddress(QString address);

    // The About window, shown modal over `owner`.
    Task<> showAbout(QWidget* owner);
    // The editor's "Find Synchronizer": closes the port, hides the editor, shows the finder.
    void showFinderFromEditor();
    // The finder hands over to the editor: the debug window goes, the editor shows.
    void showEditorFromFinder();

    // Ends the application at once, asking nothing. Tests replace endHandler.
    void endApplication();
    std::function<void()> endHandler;

    // FlowHost
    CommContext comm() override;
    PortLease& lease() override { return lease_; }
    WireLog& wireLog() override { return wireLog_; }
    EditorView& editor() override;
    ProgressView& progress() override;
    FilePreview& preview() override;
    SettingsPreview& filePreviewState() override { return filePreview; }
    Task<> showProblem(QString text) override;
    Task<> showMessage(QString text, bool exclamation) override;
    Task<> showMarksReport(QString text) override;
    Task<bool> askYesNo(QString text) override;
    Task<QString> askOpenFile(QString title, QString filter, QString selectedFilter) override;
    Task<QString> askSaveFile(QString title, QString filter, QString selectedFilter) override;
    void beforeCell(uint8_t address) override;

private:
    // The window the user works in: the finder while it shows, else the editor.
    QWidget* workWindow();
    // The finder found a unit: the editor takes over, with the defaults, and loads it.
    Task<> handOverFoundUnit();
    // The rack window's Open in Editor: the editor takes that unit as from the finder.
    Task<> openFromRack(RackRow row);
    // Before the rack opens lines: the editor's port given up; false when a transfer runs.
    bool giveLinesToRack(QString* refusal);
    // The hidden key sequence typed in the finder: the editor's lock turns over, and the
    // debug window shows while it is open.
    void toggleLockFromFinder();
    Task<> showMessageAt(QString text, bool exclamation, Modal::Place place);
    // Every frame and event on the serial line, newest last.
    WireLog wireLog_;
    MSComm serial_{ports};
    CommTimer timer_;
    CommandState commandState_; // the command layer's results
    const LineTiming timing_;
    PortLease lease_;
    // RESET pressed before the finder's probe starts, heard on the selected port.
    ResetWatch resetWatch_{lease_};

    std::unique_ptr<frmMain> main_;
    std::unique_ptr<frmFinder> finder_;
    std::unique_ptr<frmProgress> progress_;
    std::unique_ptr<frmHelp> help_;
    std::unique_ptr<frmProblem> problem_;
    std::unique_ptr<frmFileInput> fileInput_;
    std::unique_ptr<frmDebug> debug_;
    std::unique_ptr<frmLineMonitor> lineMonitor_;
    std::unique_ptr<frmSimUnit> simUnitWindow_;
    std::unique_ptr<RackModel> rackModel_;
    std::unique_ptr<frmRack> rack_;
    std::unique_ptr<simsync::SimUnit> demoUnit_;
};

// Start-up: creates the editor window, loads it and shows it.
void startApplication(CorvaneApp& app);
