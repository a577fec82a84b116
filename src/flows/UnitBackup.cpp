#include "flows/UnitBackup.h"

#include "comm/modCorvaneComm.h"
#include "editor/EditorModel.h"
#include "flows/EditorDefaults.h"
#include "flows/FlowHost.h"
#include "flows/modGetSetAll.h"
#include "model/CellAddress.h"
#include "model/CellDecode.h"
#include "model/WholeFile.h"
#include "transfer/SavePlan.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace UnitBackup {

namespace {

const QString Reading = QStringLiteral("Reading.............");

} // namespace

QString hex2(int b)
{
    return QStringLiteral("%1").arg(b, 2, 16, QLatin1Char('0')).toUpper();
}

Cell& cellAt(Cells& cells, uint8_t address)
{
    return cells[address - CellImage::FirstCell];
}

const Cell& cellAt(const Cells& cells, uint8_t address)
{
    return cells[address - CellImage::FirstCell];
}

std::optional<int> numberIn(const Cells& cells, uint8_t address)
{
    const Cell& c = cellAt(cells, address);
    const int n = CellDecode::number(c[0], c[1]);
    return n < 0 ? std::nullopt : std::optional<int>(n);
}

QString bytesOf(const Cell& c)
{
    return hex2(c[0]) + QLatin1Char(' ') + hex2(c[1]);
}

Task<QString> readCells(FlowHost& host, QVector<uint8_t> order, Cells& cells, bool attend)
{
    CommContext c = host.comm();
    if (attend) {
        const modCorvaneComm::FrameReply attention = co_await modCorvaneComm::SendAttention(c);
        if (!attention)
            co_return QStringLiteral("the attention frames did not go out (%1)")
                .arg(attention.failure);
    }
    for (uint8_t address : order) {
        host.beforeCell(address);
        const modCorvaneComm::CellReply reply = co_await modCorvaneComm::ReadCell(c, address);
        if (!reply.good())
            co_return QStringLiteral("cell %1 could not be read (%2)")
                .arg(hex2(address), reply.failure);
        cellAt(cells, address) = reply.bytes;
        host.progress().advance();
    }
    co_return QString();
}

Task<QString> readWholeUnit(FlowHost& host, Cells* cells)
{
    PortLeaseHold lease(host.lease(), QStringLiteral("backup"));
    QVector<uint8_t> all;
    for (int address = CellImage::FirstCell; address <= CellImage::LastCell; ++address)
        all << static_cast<uint8_t>(address);
    host.progress().startProgress(QStringLiteral("Backup"), Reading, CellImage::CellCount);
    CommContext c = host.comm();
    co_await modCorvaneComm::Pause(c, c.timing.loadSettleMs);
    const QString failed = co_await readCells(host, all, *cells);
    host.progress().hideProgress();
    host.wireLog().command(QStringLiteral("backup read ended: ") +
                           (failed.isEmpty() ? QStringLiteral("64 cells read") : failed));
    co_return failed;
}

Task<std::optional<QString>> readRestAfterLoad(FlowHost& host, CellSet loaded, Cells* cells)
{
    QVector<uint8_t> rest;
    for (int address = CellImage::FirstCell; address <= CellImage::LastCell; ++address) {
        const auto a = static_cast<uint8_t>(address);
        if (loaded.has(a)) {
            const CellBytes b = loaded.get(a);
            cellAt(*cells, a) = {b.d0, b.d1};
        } else if (a >= CellAddress::FirstUnsaved && a <= CellAddress::LastUnsaved) {
            rest << a;
        } else {
            co_return std::nullopt;
        }
    }
    PortLeaseHold lease(host.lease(), QStringLiteral("backup"));
    host.progress().startProgress(QStringLiteral("Backup"), Reading, int(rest.size()));
    const QString failed = co_await readCells(host, rest, *cells, false);
    host.progress().hideProgress();
    host.wireLog().command(QStringLiteral("backup read ended: ") +
                           (failed.isEmpty() ? QStringLiteral("%1 cells read after the load's %2")
                                                   .arg(rest.size())
                                                   .arg(CellImage::CellCount - rest.size())
                                             : failed));
    co_return failed;
}

QString backupPath(const QString& folder, int port, const Cells& cells, bool* claimed)
{
    const auto number = [&cells](uint8_t address) {
        const std::optional<int> n = numberIn(cells, address);
        return n ? QString::number(*n) : QStringLiteral("unknown");
    };
    const QString stem =
        QStringLiteral("%1-COM%2-model-%3-channel-%4")
            .arg(QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss")))
            .arg(port)
            .arg(number(CellAddress::Model), number(CellAddress::Channel));
    const QString dir = folder.endsWith(QLatin1Char('/')) ? folder : folder + QLatin1Char('/');
    // A second backup within the same second (a write, then a restore, or units of a rack
    // side by side) keeps the first: the name is taken by creating the file, which only
    // one process can do; the image then replaces it whole.
    QString path = dir + stem + QStringLiteral(".cells");
    if (claimed)
        *claimed = false;
    for (int n = 2; n < 1000; ++n) {
        QFile claim(path);
        if (claim.open(QIODevice::WriteOnly | QIODevice::NewOnly)) {
            if (claimed)
                *claimed = true;
            break;
        }
        if (!claim.exists())
            break;
        path = dir + stem + QStringLiteral("-%1.cells").arg(n);
    }
    return path;
}

QString folderProblem(const QString& folder)
{
    QDir().mkpath(folder);
    const QFileInfo info(folder);
    if (!info.exists())
        return QStringLiteral("the folder cannot be made");
    if (!info.isDir())
        return QStringLiteral("it is not a folder");
    if (!info.isWritable())
        return QStringLiteral("the folder cannot be written");
    return QString();
}

bool writeImage(const QString& path, const Cells& cells, bool claimed, QString* reason)
{
    if (writeWholeFile(path, CellImage::format(cells), reason))
        return true;
    if (claimed && QFileInfo(path).size() == 0)
        QFile::remove(path);
    return false;
}

QString readImage(const QString& path, Cells* cells, bool* notOpened)
{
    if (notOpened)
        *notOpened = false;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        if (notOpened)
            *notOpened = true;
        return file.errorString();
    }
    QString error;
    if (CellImage::parse(file.readAll(), cells, &error))
        return QString();
    return error;
}

Task<Written> writeCells(FlowHost& host, Cells image, bool unlocked, QString caption)
{
    EditorModel editor;
    modCorvaneComm::SetDefaults(editor);
    editor.setModelChannelUnlocked(unlocked);
    SavePlan plan = buildSavePlan(editor.snapshot());
    for (CellWrite& w : plan.writes)
        w.bytes = {cellAt(image, w.address)[0], cellAt(image, w.address)[1]};
    host.progress().startProgress(caption, QStringLiteral("Writing............."), 100);
    const modGetSetAll::SetRun written = co_await modGetSetAll::SetAll(host, plan);
    host.progress().hideProgress();
    co_return Written{written.status, written.failure, written.writesSent, int(plan.writes.size())};
}

Task<Compared> readBackAndCompare(FlowHost& host, Cells image, bool unlocked, QString caption)
{
    const QVector<uint8_t> order = compareReadOrder(unlocked);
    Compared out;
    out.readBack = image;
    host.progress().startProgress(caption, QStringLiteral("Comparing............."), order.size());
    out.failed = co_await readCells(host, order, out.readBack);
    host.progress().hideProgress();
    if (!out.failed.isEmpty())
        co_return out;
    for (uint8_t address : order)
        if (cellAt(image, address) != cellAt(out.readBack, address))
            out.differences << Difference{address, cellAt(image, address),
                                          cellAt(out.readBack, address)};
    co_return out;
}

} // namespace UnitBackup
