#include "app/frmFinder.h"

#include "app/AccessibleNames.h"
#include "app/FontFit.h"
#include "app/HiddenKeys.h"
#include "app/WidgetMaking.h"
#include "comm/Probe.h"
#include "comm/modCorvaneComm.h"
#include "flows/FlowHost.h"
#include "model/AppIdentity.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QFontDatabase>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollBar>
#include <QTextCursor>
#include <exception>

using namespace WidgetMaking;

namespace {
constexpr int ClientWidth = 480;
constexpr int ClientHeight = 420;
} // namespace

frmFinder::frmFinder(FlowHost& host, PortAccess& ports, FinderStatus& status)
    : host_(host), ports_(ports), status_(status)
{
    setObjectName(QStringLiteral("frmFinder"));
    auto* client = new QWidget(this);
    client->setObjectName(QStringLiteral("client"));
    setCentralWidget(client);

    buildControls(client);
    buildMenus();
    connectHandlers();
    // Tab as one reads the window: the port, its button, the other buttons, the status.
    const std::initializer_list<QWidget*> chain = {cmbPort,    cmdConnect, cmdStart,
                                                   cmdWithout, cmdExit,    txtFindStatus};
    for (auto it = chain.begin(); it + 1 != chain.end(); ++it)
        QWidget::setTabOrder(*it, *(it + 1));
    openMenusWithF10(this);
    AccessibleNames::nameControls(*this);
    // The design places suit an 8-point font; the desktop's font may need more room.
    client->setFixedSize(FontFit::fit(client)(QSize(ClientWidth, ClientHeight)));

    // The window sees every key typed in any of its controls first.
    qApp->installEventFilter(this);
    adjustSize();
    setFixedSize(size());

    // The status box takes over the lines written before it existed.
    for (const QString& line : status_.takeBacklog())
        appendStatusLine(line);
    connect(&status_, &FinderStatus::line, this, &frmFinder::appendStatusLine);
    connect(&ports_, &PortAccess::listChanged, this, &frmFinder::showPortList);

    setPortCommandsEnabled(host_.lease().isFree());
    connect(&host_.lease(), &PortLease::changed, this,
            [this](bool free) { setPortCommandsEnabled(free); });
}

frmFinder::~frmFinder()
{
    qApp->removeEventFilter(this);
}

void frmFinder::buildControls(QWidget* c)
{
    Shape1 = makePanel(c, "Shape1", QRect(8, 6, 464, 50), QColor(255, 255, 192));
    lblFinderTop = makeLabel(c, "lblFinderTop", QStringLiteral("Press RESET on the synchronizer"),
                             QRect(16, 10, 448, 22));
    lblFinderTop->setAlignment(Qt::AlignCenter);
    QFont big = lblFinderTop->font();
    big.setBold(true);
    big.setPointSize(big.pointSize() + 2);
    lblFinderTop->setFont(big);
    Label1 = makeLabel(c, "Label1", QStringLiteral("Then press one of the buttons below"),
                       QRect(16, 32, 448, 20));
    Label1->setAlignment(Qt::AlignCenter);

    Frame1 = named(new QFrame(c), "Frame1");
    Frame1->setGeometry(8, 64, 464, 146);
    Frame1->setFrameShape(QFrame::StyledPanel);
    Frame1->setFrameShadow(QFrame::Sunken);
    cmbPort = named(new QComboBox(c), "cmbPort");
    cmbPort->setGeometry(24, 76, 130, 28);
    cmdConnect = makeButton(c, "cmdConnect", QStringLiteral("Try Specific Serial Port"),
                            QRect(180, 74, 276, 32), true);
    Line1 = named(new QFrame(c), "Line1");
    Line1->setGeometry(24, 114, 432, 2);
    Line1->setFrameShape(QFrame::HLine);
    Line1->setFrameShadow(QFrame::Sunken);
    cmdStart = makeButton(c, "cmdStart", QStringLiteral("Try All serial ports"),
                          QRect(180, 124, 276, 32), true);
    cmdWithout = makeButton(c, "cmdWithout", QStringLiteral("Work Without Synchronizer"),
                            QRect(180, 166, 276, 32), false);

    lblFinderProgress =
        makeLabel(c, "lblFinderProgress", QStringLiteral("Status"), QRect(12, 222, 200, 20));
    cmdExit = makeButton(c, "cmdExit", QStringLiteral("Exit"), QRect(376, 216, 96, 28), false);
    // An etched border around the status box.
    Shape2 = makePanel(c, "Shape2", QRect(7, 249, 466, 164), QColor(128, 128, 128));
    Shape3 = makePanel(c, "Shape3", QRect(8, 250, 466, 164), Qt::white);
    txtFindStatus = named(new QPlainTextEdit(c), "txtFindStatus");
    txtFindStatus->setGeometry(8, 250, 464, 162);
    txtFindStatus->setReadOnly(true);
    txtFindStatus->setTabChangesFocus(true);
    txtFindStatus->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    // Long lines (a port that cannot be opened, with its reason) wrap at the box's edge.
    txtFindStatus->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    txtFindStatus->setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    QFont mono = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    txtFindStatus->setFont(mono);
    Shape1->lower();
}

void frmFinder::buildMenus()
{
    auto action = [](QMenu* menu, const char* name, const QString& text) {
        QAction* a = menu->addAction(text);
        a->setObjectName(QString::fromLatin1(name));
        return a;
    };
    menuFile = named(menuBar()->addMenu(QStringLiteral("&File")), "menuFile");
    menuExit = action(menuFile, "menuExit", QStringLiteral("E&xit"));
    menuSynchro = named(menuBar()->addMenu(QStringLiteral("Find &Synchronizer")), "menuSynchro");
    menuConnect = action(menuSynchro, "menuConnect", QStringLiteral("Try &Specific Serial Port"));
    menuAutoFind = action(menuSynchro, "menuAutoFind", QStringLiteral("Try &All Serial Ports"));
    menuWithout = action(menuSynchro, "menuWithout", QStringLiteral("&Work Without Synchronizer"));
    separator1 = menuSynchro->addSeparator();
    separator1->setObjectName(QStringLiteral("separator1"));
    menuRefreshList =
        action(menuSynchro, "menuRefreshList", QStringLiteral("&Refresh Serial Port List"));
    menuAddNetworkPort =
        action(menuSynchro, "menuAddNetworkPort", QStringLiteral("Add &Network Port..."));
    menuRack = action(menuSynchro, "menuRack", QStringLiteral("Rac&k..."));
    separatorMonitor = menuSynchro->addSeparator();
    separatorMonitor->setObjectName(QStringLiteral("separatorMonitor"));
    menuLineMonitor = action(menuSynchro, "menuLineMonitor", QStringLiteral("Line &Monitor"));
    menuHelp = named(menuBar()->addMenu(QStringLiteral("&Help")), "menuHelp");
    menuAbout = action(menuHelp, "menuAbout", QStringLiteral("&About"));
}

void frmFinder::connectHandlers()
{
    connect(cmdConnect, &QPushButton::clicked, this, [this] { cmdConnect_Click(); });
    connect(cmdStart, &QPushButton::clicked, this, [this] { cmdStart_Click(); });
    connect(cmdWithout, &QPushButton::clicked, this, [this] { cmdWithout_Click(); });
    connect(cmdExit, &QPushButton::clicked, this, [this] { cmdExit_Click(); });
    connect(menuExit, &QAction::triggered, this, [this] { menuExit_Click(); });
    connect(menuConnect, &QAction::triggered, this, [this] { menuConnect_Click(); });
    connect(menuAutoFind, &QAction::triggered, this, [this] { menuAutoFind_Click(); });
    connect(menuWithout, &QAction::triggered, this, [this] { menuWithout_Click(); });
    connect(menuRefreshList, &QAction::triggered, this, [this] { menuRefreshList_Click(); });
    connect(menuAbout, &QAction::triggered, this, [this] { menuAbout_Click(); });
    connect(menuLineMonitor, &QAction::triggered, this, [this] { menuLineMonitor_Click(); });
    connect(menuAddNetworkPort, &QAction::triggered, this, &frmFinder::networkPortRequested);
    connect(menuRack, &QAction::triggered, this, &frmFinder::rackRequested);
    connect(cmbPort, &QComboBox::currentIndexChanged, this, [this] { tellListenPort(); });
}

Task<> frmFinder::Form_Load()
{
    setWindowTitle(AppIdentity::TitleWithFullVersion() + QStringLiteral(" - Find Synchronizer"));
    busy_ = false;
    debugArmed_ = false;
    // The hidden editor shows the lock as it will be when it comes back.
    emit lockRequested();
    CommContext c = host_.comm();
    co_await modCorvaneComm::ListSerialPorts(c);
    status_.append(QString());
    status_.append(QStringLiteral("Synchronizer Finder -- Ready"));
    status_.append(QString());
}

void frmFinder::appendStatusLine(const QString& line)
{
    QTextCursor cursor = txtFindStatus->textCursor();
    cursor.movePosition(QTextCursor::End);
    cursor.insertText(line + QLatin1Char('\n'));
    txtFindStatus->setTextCursor(cursor);
    showNewestStatusLine();
}

void frmFinder::showNewestStatusLine()
{
    txtFindStatus->moveCursor(QTextCursor::End);
    txtFindStatus->ensureCursorVisible();
    QScrollBar* down = txtFindStatus->verticalScrollBar();
    down->setValue(down->maximum());
}

void frmFinder::showEvent(QShowEvent* event)
{
    QMainWindow::showEvent(event);
    // Lines written while the window was hidden were added without scrolling.
    showNewestStatusLine();
    tellListenPort();
}

void frmFinder::hideEvent(QHideEvent* event)
{
    QMainWindow::hideEvent(event);
    emit listenPortChanged(0);
}

void frmFinder::tellListenPort()
{
    if (!isVisible())
        return;
    const int port = cmbPort->currentIndex() < 0 ? 0 : cmbPort->currentData().toInt();
    emit listenPortChanged(static_cast<int16_t>(port));
}

void frmFinder::showPortList()
{
    const PortAccess& ports = ports_;
    cmbPort->clear();
    for (const PortListEntry& e : ports.PortList) {
        cmbPort->addItem(e.label, int(e.port));
        cmbPort->setItemData(cmbPort->count() - 1, e.device, Qt::ToolTipRole);
    }
    cmbPort->setCurrentIndex(ports.PortListSelected);
}

void frmFinder::setPortCommandsEnabled(bool enabled)
{
    // "Work Without Synchronizer" stays: during a scan it abandons the scan.
    for (QPushButton* b : {cmdConnect, cmdStart})
        b->setEnabled(enabled);
    for (QAction* a : {menuConnect, menuAutoFind, menuRefreshList, menuAddNetworkPort})
        a->setEnabled(enabled);
}

Task<> frmFinder::runScan(bool allPorts)
{
    PortLeaseHold lease(host_.lease(), allPorts ? QStringLiteral("scan of all ports")
                                                : QStringLiteral("scan of one port"));
    if (!lease.held())
        co_return;
    busy_ = true;
    scanAbandoned_ = false;
    struct BusyReset
    {
        bool& busy;
        ~BusyReset() { busy = false; }
    } busyReset{busy_};

    try {
        CommContext c = host_.comm();
        int16_t port = 0;
        if (allPorts) {
            if (!co_await modCorvaneComm::ListSerialPorts(c))
                co_return;
        } else {
            if (cmbPort->currentIndex() < 0)
                co_return; // an empty list: nothing to try
            port = static_cast<int16_t>(cmbPort->currentData().toInt());
            if (port <= 0)
                co_return;
        }
        const std::optional<modCorvaneComm::FoundUnit> found =
            co_await modCorvaneComm::FindSynchronizer(c, host_.progress(), probeCancel_, port,
                                                      [this] { return scanAbandoned_; });
        if (found && !scanAbandoned_)
            co_await handOverToEditor();
    } catch (const std::exception&) {
        // An unexpected failure ends the command quietly; Busy is reset on the way out.
    }
}

Task<> frmFinder::handOverToEditor()
{
    // The scan's lease is still held: the load follows on the same line without a gap.
    if (unitFound)
        co_await unitFound();
}

Task<> frmFinder::cmdConnect_Click()
{
    return runScan(false);
}

Task<> frmFinder::cmdStart_Click()
{
    return runScan(true);
}

void frmFinder::cmdWithout_Click()
{
    abandonScan();
    emit workWithoutUnit();
}

void frmFinder::abandonScan()
{
    // Leaving a scan behind would leave it probing the port under the editor's commands:
    // its probe ends as if cancelled, and nothing else is tried.
    if (!busy_ || scanAbandoned_)
        return;
    scanAbandoned_ = true;
    if (probeCancel_.running()) {
        host_.progress().hideProgress();
        probeCancel_.cancel();
    }
}

void frmFinder::cmdExit_Click()
{
    emit exitRequested();
}

Task<> frmFinder::menuConnect_Click()
{
    return cmdConnect_Click();
}
Task<> frmFinder::menuAutoFind_Click()
{
    return cmdStart_Click();
}
void frmFinder::menuWithout_Click()
{
    cmdWithout_Click();
}
void frmFinder::menuExit_Click()
{
    cmdExit_Click();
}

Task<> frmFinder::menuRefreshList_Click()
{
    return refreshList(0);
}

Task<> frmFinder::refreshList(int16_t preferred)
{
    // Listing closes the open port: never under a running command.
    PortLeaseHold lease(host_.lease(), QStringLiteral("port listing"));
    if (!lease.held())
        co_return;
    CommContext c = host_.comm();
    co_await modCorvaneComm::ListSerialPorts(c, preferred);
}

void frmFinder::menuLineMonitor_Click()
{
    emit lineMonitorRequested();
}

void frmFinder::menuAbout_Click()
{
    emit aboutRequested();
}

void frmFinder::returnedFromEditor()
{
    status_.append(QString());
    status_.append(QString(33, QLatin1Char('=')));
    status_.append(QString());
}

void frmFinder::resetHeardEarly(int16_t port)
{
    status_.append(
        QStringLiteral("RESET heard on COM%1: press Try Specific Serial Port").arg(port));
}

void frmFinder::Form_KeyPress(int ch)
{
    // The editor's lock follows, as if the sequence had been typed there, and the debug
    // window shows while it is open.
    if (HiddenKeys::completes(debugArmed_, ch))
        emit lockToggleRequested();
}

bool frmFinder::eventFilter(QObject* watched, QEvent* event)
{
    if (const int ch = HiddenKeys::keyFor(this, watched, event); ch >= 0)
        Form_KeyPress(ch);
    return QMainWindow::eventFilter(watched, event);
}

void frmFinder::closeEvent(QCloseEvent* event)
{
    // With the editor hidden, a closed finder would leave the process running with no
    // window at all: the close box ends the application, as Exit does.
    event->accept();
    emit exitRequested();
}
