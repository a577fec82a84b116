#include "flows/RestoreBackup.h"

#include "comm/MSComm.h"
#include "flows/FlowHost.h"
#include "flows/TransferGuard.h"
#include "flows/TransferTexts.h"
#include "flows/UnitBackup.h"
#include "flows/modGetSetAll.h"
#include "model/CellAddress.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <algorithm>

namespace RestoreBackup {

QString Entry::text() const
{
    return QStringLiteral("%1  COM%2  model %3 channel %4")
        .arg(time.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")))
        .arg(port)
        .arg(model, channel);
}

QVector<Entry> listBackups(const QString& folder, const Unit& unit)
{
    static const QRegularExpression name(
        QStringLiteral("^(\\d{8}-\\d{6})-COM(\\d+)-model-(\\d+|unknown)-channel-(\\d+|unknown)"
                       "(?:-(\\d+))?\\.cells$"));
    QVector<Entry> out;
    const QDir dir(folder);
    for (const QString& file : dir.entryList({QStringLiteral("*.cells")}, QDir::Files)) {
        const QRegularExpressionMatch m = name.match(file);
        if (!m.hasMatch())
            continue;
        Entry e;
        e.path = dir.filePath(file);
        e.time = QDateTime::fromString(m.captured(1), QStringLiteral("yyyyMMdd-HHmmss"));
        e.port = m.captured(2).toInt();
        e.model = m.captured(3);
        e.channel = m.captured(4);
        e.sequence = m.captured(5).isEmpty() ? 1 : m.captured(5).toInt();
        if (e.time.isValid())
            out << e;
    }
    const auto ofUnit = [&unit](const Entry& e) {
        const auto same = [](const QString& text, std::optional<int> n) {
            return !n || text == QString::number(*n);
        };
        return e.port == unit.port && same(e.model, unit.model) && same(e.channel, unit.channel);
    };
    std::sort(out.begin(), out.end(), [&](const Entry& a, const Entry& b) {
        if (ofUnit(a) != ofUnit(b))
            return ofUnit(a);
        if (a.time != b.time)
            return a.time > b.time;
        return a.sequence > b.sequence;
    });
    return out;
}

namespace {

// The unit's model and channel read and compared with the image's: true when they are the
// same, or the user says to restore another unit's image anyway.
Task<bool> sameUnitOrAnyway(FlowHost& host, QString unit, QString path, UnitBackup::Cells image)
{
    UnitBackup::Cells held{};
    host.progress().startProgress(QStringLiteral("Restore"), QStringLiteral("Reading............."),
                                  2);
    const QVector<uint8_t> numbersAt{CellAddress::Model, CellAddress::Channel};
    const QString failed = co_await UnitBackup::readCells(host, numbersAt, held);
    host.progress().hideProgress();
    if (!failed.isEmpty()) {
        host.wireLog().command(QStringLiteral("restore ended: ") + failed);
        co_await host.showMessage(
            QStringLiteral("%1 was not restored from %2: its model and channel could not be "
                           "read (%3). Nothing was written.")
                .arg(unit, path, failed),
            true);
        co_return false;
    }
    const auto numbers = [](const UnitBackup::Cells& cells) {
        const auto text = [](std::optional<int> n) {
            return n ? QString::number(*n) : QStringLiteral("no number");
        };
        return QStringLiteral("model %1 channel %2")
            .arg(text(UnitBackup::numberIn(cells, CellAddress::Model)),
                 text(UnitBackup::numberIn(cells, CellAddress::Channel)));
    };
    const QString unitHolds = numbers(held), imageHolds = numbers(image);
    if (unitHolds == imageHolds)
        co_return true;
    const bool anyway =
        co_await host.askYesNo(QStringLiteral("%1 holds %2; %3 holds %4: restore "
                                              "it anyway?")
                                   .arg(unit, unitHolds, QFileInfo(path).fileName(), imageHolds));
    if (!anyway)
        host.wireLog().command(QStringLiteral("restore not made: %1 holds %2, the image %3")
                                   .arg(unit, unitHolds, imageHolds));
    co_return anyway;
}

} // namespace

Task<bool> Restore(FlowHost& host, QString path)
{
    const QString caption = QStringLiteral("Restore");
    UnitBackup::Cells image{};
    if (const QString why = UnitBackup::readImage(path, &image); !why.isEmpty()) {
        co_await host.showMessage(
            QStringLiteral("%1 cannot be restored: %2. Nothing was sent.").arg(path, why), true);
        co_return false;
    }
    PortLeaseHold lease(host.lease(), QStringLiteral("restore"));
    if (!lease.held())
        co_return false;
    const MSComm& line = host.comm().MSComm1;
    if (!line.PortOpen()) {
        co_await host.showProblem(QStringLiteral("Cannot Restore! ") +
                                  TransferTexts::PortNotAvailable);
        co_return false;
    }
    const QString unit = QStringLiteral("COM%1").arg(line.CommPort());
    TransferGuard guard(host);
    if (!co_await sameUnitOrAnyway(host, unit, path, image))
        co_return false;
    const UnitBackup::Written written = co_await UnitBackup::writeCells(host, image, true, caption);
    if (written.status != 0) {
        const QString why = written.status == modGetSetAll::CommunicationFailed
                                ? written.failure
                                : QStringLiteral("a program error");
        host.wireLog().command(QStringLiteral("restore ended: ") + why);
        co_await host.showMessage(QStringLiteral("The restore of %1 from %2 stopped (%3): %4 of "
                                                 "%5 cells were written.")
                                      .arg(unit, path, why)
                                      .arg(written.writesSent)
                                      .arg(written.writesPlanned),
                                  true);
        co_return written.writesSent > 0;
    }
    const UnitBackup::Compared compared =
        co_await UnitBackup::readBackAndCompare(host, image, true, caption);
    QString text;
    if (!compared.failed.isEmpty()) {
        text = QStringLiteral("Restored %1 from %2, but the compare stopped: %3.")
                   .arg(unit, path, compared.failed);
    } else if (compared.differences.isEmpty()) {
        text = QStringLiteral("Restored %1 from %2 and compared: no differences.").arg(unit, path);
    } else {
        QStringList lines;
        for (const UnitBackup::Difference& d : compared.differences)
            lines << QStringLiteral("cell %1: wrote %2, read back %3")
                         .arg(UnitBackup::hex2(d.address), UnitBackup::bytesOf(d.wrote),
                              UnitBackup::bytesOf(d.read));
        text = QStringLiteral("Restored %1 from %2; %3 cell%4 read back differently:\r\n%5")
                   .arg(unit, path)
                   .arg(compared.differences.size())
                   .arg(compared.differences.size() == 1 ? QString() : QStringLiteral("s"))
                   .arg(lines.join(QStringLiteral("\r\n")));
    }
    host.wireLog().command(QStringLiteral("restore ended: ") + text);
    co_await host.showMessage(text, !compared.failed.isEmpty() || !compared.differences.isEmpty());
    co_return true;
}

} // namespace RestoreBackup
