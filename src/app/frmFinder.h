#pragma once
// The synchronizer finder window: tries one chosen serial port or every present port for
// a freshly reset synchronizer, reports each step in its status box, and hands over to
// the editor, with the unit's settings loaded or without a unit.

#include "comm/Await.h"
#include "comm/ProbeCancel.h"
#include "flows/FinderStatus.h"
#include <QMainWindow>
#include <functional>

class FlowHost;
class PortAccess;
class QAction;
class QComboBox;
class QFrame;
class QLabel;
class QMenu;
class QPlainTextEdit;
class QPushButton;

class frmFinder : public QMainWindow
{
    Q_OBJECT
public:
    // Builds the window; Form_Load lists the ports and writes the ready lines.
    frmFinder(FlowHost& host, PortAccess& ports, FinderStatus& status);
    ~frmFinder() override;

    QLabel* lblFinderTop;
    QLabel* Label1;
    QFrame* Frame1;
    QComboBox* cmbPort; // "COM" + n, carrying n
    QPushButton* cmdConnect;
    QFrame* Line1;
    QPushButton* cmdStart;
    QPushButton* cmdWithout;
    QPushButton* cmdExit;
    QLabel* lblFinderProgress;
    QPlainTextEdit* txtFindStatus;
    QFrame* Shape1;
    QFrame* Shape2;
    QFrame* Shape3;

    QMenu* menuFile;
    QAction* menuExit;
    QMenu* menuSynchro;
    QAction* menuConnect;
    QAction* menuAutoFind;
    QAction* menuWithout;
    QAction* separator1;
    QAction* menuRefreshList;
    QAction* menuAddNetworkPort;
    QAction* separatorMonitor;
    QAction* menuLineMonitor;
    QAction* menuRack;
    QMenu* menuHelp;
    QAction* menuAbout;

    Task<> Form_Load();
    void Form_KeyPress(int ch);
    // The scans end when the unit is handed over or the finder has said why not.
    Task<> cmdConnect_Click();
    Task<> cmdStart_Click();
    void cmdWithout_Click();
    void cmdExit_Click();
    Task<> menuConnect_Click();
    Task<> menuAutoFind_Click();
    void menuWithout_Click();
    void menuExit_Click();
    Task<> menuRefreshList_Click();
    // Lists the ports again, `preferred` selected when it is listed.
    Task<> refreshList(int16_t preferred);
    void menuLineMonitor_Click();
    void menuAbout_Click();

    // The editor handed over: a separating line in the status box.
    void returnedFromEditor();
    // RESET was heard on COMn before a probe started: the status box says what to do next.
    void resetHeardEarly(int16_t port);
    // A scan runs: a second start is ignored.
    bool isBusy() const { return busy_; }
    // The running probe's cancel: running() while a scan's probe runs.
    const ProbeCancel& probe() const { return probeCancel_; }
    // The application ends: a running scan tries no further port and its probe stops.
    void abandonScan();

    // The hand-over to the editor with the unit found: set by the application, awaited by
    // the scan while it still holds the line, so the editor's load follows on the same
    // lease and the scan ends when the load has.
    std::function<Task<>()> unitFound;

signals:
    // What the application does for this window: it hands over to the editor without a
    // unit, ends, shows the About window or the line monitor, turns the model/channel lock
    // over (the hidden key sequence) or locks it (the finder loaded).
    void workWithoutUnit();
    void exitRequested();
    void aboutRequested();
    void lineMonitorRequested();
    void rackRequested();
    void networkPortRequested(); // Add Network Port...
    void lockToggleRequested();
    void lockRequested();
    // The port a unit's RESET may be heard on while no command runs: the selected one
    // while the window shows, else 0.
    void listenPortChanged(int16_t port);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    void buildControls(QWidget* client);
    void buildMenus();
    void connectHandlers();
    void appendStatusLine(const QString& line);
    void showNewestStatusLine();
    void showPortList();
    // The controls that start port commands follow the serial line's lease.
    void setPortCommandsEnabled(bool enabled);
    // Try Specific (one port) or Try All; ignored while a scan runs.
    Task<> runScan(bool allPorts);
    Task<> handOverToEditor();
    void tellListenPort();

    FlowHost& host_;
    PortAccess& ports_;
    FinderStatus& status_;
    // "Work Without Synchronizer" during a scan: no further port is tried and the scan
    // does not hand over.
    bool scanAbandoned_ = false;
    ProbeCancel probeCancel_;
    bool busy_ = false;       // a scan runs
    bool debugArmed_ = false; // the first key of the hidden sequence was typed
};
