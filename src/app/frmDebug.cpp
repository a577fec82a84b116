#include "app/frmDebug.h"

#include "app/DebugFillBytes.h"
#include "app/FontFit.h"
#include "comm/modCorvaneComm.h"
#include "flows/FlowHost.h"
#include "model/AppIdentity.h"
#include "model/HexText.h"

#include <QCloseEvent>
#include <QPlainTextEdit>
#include <QPushButton>

namespace {
constexpr int FirstCell = 48;
constexpr int LastDumpCell = 111;
constexpr int LastFillCell = 110;

QChar printable(uint8_t b)
{
    return b >= 32 && b < 127 ? QChar(char16_t(b)) : QLatin1Char('.');
}

// "3F  32 32  "22"", or "3E  Reply Timed Out" for a cell that did not answer.
QString dumpLine(uint8_t address, const modCorvaneComm::CellReply& reply)
{
    if (!reply.good())
        return hexByte(address) + QStringLiteral("  ") + reply.failure;
    const uint8_t d0 = reply.bytes[0], d1 = reply.bytes[1];
    return hexByte(address) + QStringLiteral("  ") + hexByte(d0) + QLatin1Char(' ') + hexByte(d1) +
           QStringLiteral("  \"") + printable(d0) + printable(d1) + QLatin1Char('"');
}
} // namespace

class frmDebug::RunScope
{
public:
    explicit RunScope(frmDebug& w) : w_(w) { w_.running_ = true; }
    ~RunScope()
    {
        w_.running_ = false;
        if (w_.closePending_)
            emit w_.closedForGood(); // deleted once the click has been handled
    }
    RunScope(const RunScope&) = delete;
    RunScope& operator=(const RunScope&) = delete;

private:
    frmDebug& w_;
};

frmDebug::frmDebug(FlowHost& host, DebugFillBytes& fillBytes) : host_(host), fillBytes_(fillBytes)
{
    setObjectName(QStringLiteral("frmDebug"));
    setWindowTitle(QStringLiteral("%1 %2.%3 Debug")
                       .arg(AppIdentity::Title)
                       .arg(AppIdentity::Major)
                       .arg(AppIdentity::Minor));
    auto button = [this](const char* name, const QString& text, QRect r) {
        auto* b = new QPushButton(text, this);
        b->setObjectName(QString::fromLatin1(name));
        b->setGeometry(r);
        return b;
    };
    cmdCompare = button("cmdCompare", QStringLiteral("Compare"), QRect(88, 24, 81, 33));
    cmdDump = button("cmdDump", QStringLiteral("Dump"), QRect(192, 24, 81, 33));
    cmdRandFill = button("cmdRandFill", QStringLiteral("RandFill"), QRect(320, 24, 81, 33));
    txtMsg = new QPlainTextEdit(this);
    txtMsg->setObjectName(QStringLiteral("txtMsg"));
    txtMsg->setGeometry(24, 104, 393, 97);
    txtMsg->setReadOnly(true);
    txtMsg->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setTabOrder(txtMsg, cmdCompare);
    setTabOrder(cmdCompare, cmdDump);
    setTabOrder(cmdDump, cmdRandFill);
    setFixedSize(FontFit::fit(this)(QSize(451, 230)));

    connect(cmdCompare, &QPushButton::clicked, this, [this] { cmdCompare_Click(); });
    connect(cmdDump, &QPushButton::clicked, this, [this] { cmdDump_Click(); });
    connect(cmdRandFill, &QPushButton::clicked, this, [this] { cmdRandFill_Click(); });

    setPortCommandsEnabled(host_.lease().isFree());
    connect(&host_.lease(), &PortLease::changed, this,
            [this](bool free) { setPortCommandsEnabled(free); });
}

void frmDebug::setPortCommandsEnabled(bool enabled)
{
    cmdDump->setEnabled(enabled);
    cmdRandFill->setEnabled(enabled);
}

void frmDebug::cmdCompare_Click() {}

Task<> frmDebug::cmdDump_Click()
{
    PortLeaseHold lease(host_.lease(), QStringLiteral("Dump"));
    if (!lease.held())
        co_return;
    RunScope scope(*this);
    CommContext c = host_.comm();
    txtMsg->clear();
    int unanswered = 0;
    for (int address = FirstCell; address <= LastDumpCell; ++address) {
        const auto a = static_cast<uint8_t>(address);
        const modCorvaneComm::CellReply reply = co_await modCorvaneComm::ReadCell(c, a);
        unanswered += !reply.good();
        txtMsg->appendPlainText(dumpLine(a, reply));
    }
    host_.wireLog().command(QStringLiteral("Dump ended: %1 cells read, %2 unanswered")
                                .arg(LastDumpCell - FirstCell + 1 - unanswered)
                                .arg(unanswered));
}

Task<> frmDebug::cmdRandFill_Click()
{
    PortLeaseHold lease(host_.lease(), QStringLiteral("RandFill"));
    if (!lease.held())
        co_return;
    RunScope scope(*this);
    CommContext c = host_.comm();
    DebugFillBytes& bytes = fillBytes_;
    int failed = 0;
    for (int address = FirstCell; address <= LastFillCell; ++address) {
        const auto pair = bytes.nextPair();
        failed +=
            !co_await modCorvaneComm::WriteCell(c, static_cast<uint8_t>(address), pair[0], pair[1]);
    }
    host_.wireLog().command(QStringLiteral("RandFill ended: %1 cells written, %2 failed")
                                .arg(LastFillCell - FirstCell + 1 - failed)
                                .arg(failed));
}

void frmDebug::closeEvent(QCloseEvent* event)
{
    event->accept();
    // A running Dump or RandFill still writes to this window: the window goes when it ends.
    if (running_)
        closePending_ = true;
    else
        emit closedForGood();
}
