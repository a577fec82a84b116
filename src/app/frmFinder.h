#pragma once
// The synchronizer finder window: tries one chosen serial port or every present port for
// a freshly reset synchronizer, reports each step in its status box, and hands over to
// the editor, with the unit's settings loaded or without a unit.

#include <QMainWindow>

class CorvaneApp;
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
    // Builds the window and loads it: lists the ports and writes the ready lines.
    explicit frmFinder(CorvaneApp& app);
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
    QAction* separatorMonitor;
    QAction* menuLineMonitor;
    QMenu* menuHelp;
    QAction* menuAbout;

    void Form_Load();
    void Form_KeyPress(int ch);
    void cmdConnect_Click();
    void cmdStart_Click();
    void cmdWithout_Click();
    void cmdExit_Click();
    void menuConnect_Click();
    void menuAutoFind_Click();
    void menuWithout_Click();
    void menuExit_Click();
    void menuRefreshList_Click();
    void menuLineMonitor_Click();
    void menuAbout_Click();

    // The editor handed over: a separating line in the status box.
    void returnedFromEditor();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;

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
    void runScan(bool allPorts);
    void handOverToEditor();

    CorvaneApp& app_;
    // "Work Without Synchronizer" during a scan: no further port is tried and the scan
    // does not hand over.
    bool scanAbandoned_ = false;
    bool debugArmed_ = false; // the first key of the hidden sequence was typed
};
