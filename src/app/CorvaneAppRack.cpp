// The rack window: made on first use, shown beside the window that asked, and its hand-over
// of one unit to the editor.

#include "app/CorvaneApp.h"

#include "app/AccessibleNames.h"
#include "app/Placement.h"
#include "app/frmFinder.h"
#include "app/frmMain.h"
#include "app/frmRack.h"
#include "comm/LineAddress.h"
#include "comm/modCorvaneComm.h"
#include "flows/EditorDefaults.h"
#include "flows/TransferCommands.h"

#include <QFileInfo>

RackModel& CorvaneApp::rackModel()
{
    if (!rackModel_) {
        rackModel_ = std::make_unique<RackModel>(ports, timing_);
        rackModel_->backupFolder = backupFolder;
    }
    return *rackModel_;
}

frmRack& CorvaneApp::rack()
{
    if (rack_)
        return *rack_;
    rack_ = std::make_unique<frmRack>(rackModel(), modal);
    AccessibleNames::nameControls(*rack_);
    rack_->beforeLines = [this](QString* refusal) { return giveLinesToRack(refusal); };
    rack_->openInEditor = [this](RackRow row) { return openFromRack(std::move(row)); };
    return *rack_;
}

void CorvaneApp::showRack(QWidget* asker)
{
    frmRack& w = rack();
    if (!w.isVisible() && !w.testAttribute(Qt::WA_Moved))
        Placement::placeBesideClear(w, asker ? *asker : *workWindow());
    w.show();
    w.raise();
    w.activateWindow();
}

bool CorvaneApp::giveLinesToRack(QString* refusal)
{
    if (!lease_.isFree()) {
        *refusal = QStringLiteral("COM%1 is busy (%2): try again once it has ended.")
                       .arg(serial_.CommPort())
                       .arg(lease_.holder());
        return false;
    }
    // The rack opens each unit's line itself; the editor's open port would stand in its way.
    if (serial_.PortOpen()) {
        serial_.closePort();
        if (main_)
            main_->showConnected(false);
    }
    return true;
}

namespace {
// The COM number a rack row's unit is on here: its own, one whose device is the same, or a
// device server's address put on the next free number.
int portFor(PortMap& ports, const RackRow& row)
{
    if (row.unit.port)
        return *row.unit.port;
    const QString real = QFileInfo(row.device).canonicalFilePath();
    for (int n = 1; n <= PortMap::MaxPort; ++n) {
        const QString device = ports.devicePath(n);
        if (device == row.device ||
            (!real.isEmpty() && QFileInfo(device).canonicalFilePath() == real))
            return n;
    }
    if (!LineAddress::looksLikeNetwork(row.device))
        return 0;
    const int free = ports.nextFreePort();
    if (free)
        ports.setNetworkPort(free, row.device);
    return free;
}
} // namespace

Task<> CorvaneApp::openFromRack(RackRow row)
{
    const int port = portFor(ports, row);
    if (port == 0) {
        co_await modal.messageBox(
            rack_.get(), row.label + QStringLiteral(" has no COM number on this machine."), true);
        co_return;
    }
    CommContext c = comm();
    const CommError failure = co_await modCorvaneComm::OpenSyncPort(c, int16_t(port));
    if (failure.number != 0) {
        co_await modal.messageBox(
            rack_.get(),
            QStringLiteral("Unable to Open COM%1 (%2)").arg(port).arg(failure.description), true);
        co_return;
    }
    // As the finder hands a unit over: the defaults, then a load, the port kept.
    frmMain& m = main();
    showEditorFromFinder();
    modCorvaneComm::SetDefaults(m.model());
    m.showConnected(true);
    m.showUnit(std::nullopt);
    const TransferCommands::LoadOutcome loaded =
        co_await TransferCommands::LoadFromSynchronizer(*this);
    if (main_)
        main_->showUnitAfterLoad(loaded);
}
