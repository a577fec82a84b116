// backup and restore: a unit's 64 cells as a cell image, and an image written back as a
// save writes its cells, then read back and compared byte for byte.

#include "cli/CellBackup.h"
#include "cli/CliCommands.h"
#include "cli/CliSession.h"
#include "cli/RightUnit.h"
#include "cli/StopRequest.h"
#include "comm/modCorvaneComm.h"
#include "flows/UnitBackup.h"
#include "flows/modGetSetAll.h"
#include "model/CellAddress.h"
#include "model/CellImage.h"

#include <QFile>
#include <QFileInfo>
#include <cstdio>

using namespace CliSession;

namespace {

using CellImage::Cells;
using UnitBackup::bytesOf;
using UnitBackup::hex2;
using UnitBackup::numberIn;
using UnitBackup::readCells;
using UnitBackup::readWholeUnit;

const QString Caption = QStringLiteral("Restore");

// The COM number a backup's name carries (a --device counts as COM1).
int portOf(CliHost& host)
{
    return host.linePort;
}

// The unit's 64 cells from the load just made: nothing when there was none, or it left out
// a cell a save writes (then the whole unit is read again).
Task<std::optional<QString>> readRestAfterLoad(CliHost& host, Cells* cells)
{
    if (!host.loadedCells)
        co_return std::nullopt;
    co_return co_await UnitBackup::readRestAfterLoad(host, *host.loadedCells, cells);
}

// The cell image written whole to `path`: 0, or 3 with why.
int writeImage(const UnitVoice& voice, const QString& path, const Cells& cells,
               const QString& afterwards, bool claimed)
{
    QString reason;
    if (UnitBackup::writeImage(path, cells, claimed, &reason))
        return ExitCode::Success;
    voice.err(QStringLiteral("corvane-cli: cannot write %1: %2%3").arg(path, reason, afterwards));
    return ExitCode::BadInput;
}

// The image at `path`, read and checked before anything is opened: 0, or 3 with why.
int readImage(const UnitVoice& voice, const QString& path, Cells* cells)
{
    bool notOpened = false;
    const QString error = UnitBackup::readImage(path, cells, &notOpened);
    if (error.isEmpty())
        return ExitCode::Success;
    if (notOpened)
        voice.err(QStringLiteral("corvane-cli: cannot read %1: %2").arg(path, error));
    else
        voice.err(QStringLiteral("corvane-cli: %1: %2; nothing was sent").arg(path, error));
    return ExitCode::BadInput;
}

// Not the unit a rack line expects, or an image of another model or channel than the
// unit's (most likely another unit's, refused unless forced): nothing is written. `unit` holds the
// unit's cells when a backup read them; else its model and channel cells are read now.
Task<int> checkSameUnit(CliHost& host, CliRequest r, const Cells& image, const Cells* unit)
{
    Cells read{};
    if (!unit) {
        CommContext c = host.comm();
        co_await modCorvaneComm::Pause(c, c.timing.loadSettleMs);
        const QVector<uint8_t> numbers{CellAddress::Model, CellAddress::Channel};
        const QString failed = co_await readCells(host, numbers, read);
        if (!failed.isEmpty()) {
            host.err(QStringLiteral("corvane-cli: %1: %2; nothing was written")
                         .arg(host.unitName(), failed));
            co_return ExitCode::LineFailed;
        }
        unit = &read;
    }
    const auto text = [](std::optional<int> n) {
        return n ? QString::number(*n) : QStringLiteral("no number");
    };
    const std::optional<int> model = numberIn(*unit, CellAddress::Model);
    const std::optional<int> channel = numberIn(*unit, CellAddress::Channel);
    // Not the unit the rack expects: refused, forced or not.
    if (const QString wrong =
            RightUnit::mismatch(host.unitName(), model, channel, r.expectModel, r.expectChannel);
        !wrong.isEmpty()) {
        host.err(wrong + QStringLiteral(": not restored"));
        host.report.refused = true;
        co_return ExitCode::BadInput;
    }
    const std::optional<int> imageModel = numberIn(image, CellAddress::Model);
    const std::optional<int> imageChannel = numberIn(image, CellAddress::Channel);
    if (r.force || (model == imageModel && channel == imageChannel))
        co_return ExitCode::Success;
    host.err(QStringLiteral("corvane-cli: %1 holds model %2 channel %3; %4 holds model %5 "
                            "channel %6: not restored (--force restores it anyway)")
                 .arg(host.unitName(), text(model), text(channel), r.file, text(imageModel),
                      text(imageChannel)));
    co_return ExitCode::BadInput;
}

} // namespace

namespace CellBackup {

int prepareFolder(const UnitVoice& voice, const CliRequest& r)
{
    if (!r.backup)
        return ExitCode::Success;
    const QString why = UnitBackup::folderProblem(r.backupDir);
    if (why.isEmpty())
        return ExitCode::Success;
    voice.err(QStringLiteral("corvane-cli: no backup can be kept in %1: %2; nothing was sent")
                  .arg(r.backupDir, why));
    return ExitCode::BadInput;
}

Task<int> takeBeforeWriting(CliHost& host, CliRequest r, Cells* unitCells)
{
    if (!r.backup)
        co_return ExitCode::Success;
    const QString nothingWritten = QStringLiteral("; without a backup nothing was written");
    Cells cells{};
    // After a load only the cells it left out are read; else the whole unit.
    // (No co_await inside ?: here: GCC 12 miscompiles it.)
    std::optional<QString> failed = co_await readRestAfterLoad(host, &cells);
    if (!failed)
        failed = co_await readWholeUnit(host, &cells);
    if (!failed->isEmpty()) {
        host.err(
            QStringLiteral("corvane-cli: %1: %2%3").arg(host.unitName(), *failed, nothingWritten));
        co_return ExitCode::LineFailed;
    }
    const QString path = UnitBackup::backupPath(r.backupDir, portOf(host), cells);
    if (const int status = writeImage(host.voice, path, cells, nothingWritten, true))
        co_return status;
    host.report.backup = path;
    host.err(QStringLiteral("Backup of %1: %2").arg(host.unitName(), path));
    if (unitCells)
        *unitCells = cells;
    co_return ExitCode::Success;
}

} // namespace CellBackup

namespace CliCommands {

Task<int> backup(CliHost& host, CliRequest r)
{
    // "-o DIR/": the image is named in DIR as the backups before a write are.
    const bool intoFolder = r.output.endsWith(QLatin1Char('/'));
    if (intoFolder) {
        if (const QString why = UnitBackup::folderProblem(r.output); !why.isEmpty()) {
            host.err(QStringLiteral("corvane-cli: cannot save to %1: %2; nothing was read")
                         .arg(r.output, why));
            co_return ExitCode::BadInput;
        }
    } else if (const int status = checkOutputPath(host.voice, r.output)) {
        co_return status;
    }
    if (const int status = co_await openChosenLine(host, r))
        co_return status;
    Cells cells{};
    const QString failed = co_await readWholeUnit(host, &cells);
    if (!failed.isEmpty()) {
        host.err(QStringLiteral("corvane-cli: %1: %2; no image was written")
                     .arg(host.unitName(), failed));
        co_return ExitCode::LineFailed;
    }
    // The numbers the image holds, for the report.
    host.report.model = numberIn(cells, CellAddress::Model);
    host.report.channel = numberIn(cells, CellAddress::Channel);
    if (r.output.isEmpty() && jsonResults()) {
        // The image goes into the document: data and JSON never share the stream.
        host.report.image =
            QString::fromLatin1(CellImage::format(cells)).split('\n', Qt::SkipEmptyParts);
        co_return ExitCode::Success;
    }
    if (r.output.isEmpty()) {
        const QByteArray image = CellImage::format(cells);
        std::fwrite(image.constData(), 1, static_cast<size_t>(image.size()), stdout);
        std::fflush(stdout);
        co_return ExitCode::Success;
    }
    bool claimed = false;
    const QString path =
        intoFolder ? UnitBackup::backupPath(r.output, portOf(host), cells, &claimed) : r.output;
    if (const int status = writeImage(host.voice, path, cells, QString(), claimed))
        co_return status;
    host.report.backup = path;
    host.err(QStringLiteral("Backup of %1: %2").arg(host.unitName(), path));
    co_return ExitCode::Success;
}

Task<int> restore(CliHost& host, CliRequest r)
{
    Cells image{};
    if (const int status = readImage(host.voice, r.file, &image))
        co_return status;
    if (const int status = CellBackup::prepareFolder(host.voice, r))
        co_return status;
    if (const int status = co_await openChosenLine(host, r))
        co_return status;
    Cells unit{};
    if (const int status = co_await CellBackup::takeBeforeWriting(host, r, &unit))
        co_return status;
    const bool expects = r.expectModel || r.expectChannel;
    if (!r.force || expects)
        if (const int status = co_await checkSameUnit(host, r, image, r.backup ? &unit : nullptr))
            co_return status;

    // The cells a save writes, in its order, each holding the image's bytes.
    if (r.unlock)
        unlockModelChannel(host);
    PortLeaseHold lease(host.lease(), QStringLiteral("restore"));
    const int problems = host.problems.size();
    const int messages = host.messages.size();
    const UnitBackup::Written written =
        co_await UnitBackup::writeCells(host, image, r.unlock, Caption);
    host.report.writesSent = written.writesSent;
    host.report.writesPlanned = written.writesPlanned;
    tellShown(host, problems, messages);
    if (written.status != 0) {
        const QString why = written.status == modGetSetAll::CommunicationFailed
                                ? written.failure
                                : QStringLiteral("a program error");
        if (!host.stopped())
            host.err(QStringLiteral("corvane-cli: %1: the restore stopped (%2); only some cells "
                                    "of %3 may have been written")
                         .arg(host.unitName(), why, r.file));
        co_return ExitCode::LineFailed;
    }

    // Read back as the save's compare reads, compared byte for byte.
    const UnitBackup::Compared compared =
        co_await UnitBackup::readBackAndCompare(host, image, r.unlock, Caption);
    if (!compared.failed.isEmpty()) {
        host.err(QStringLiteral("corvane-cli: %1: the compare stopped: %2")
                     .arg(host.unitName(), compared.failed));
        co_return ExitCode::LineFailed;
    }
    const Cells& readBack = compared.readBack;
    const int differences = int(compared.differences.size());
    for (const UnitBackup::Difference& d : compared.differences) {
        const QString line = QStringLiteral("cell %1: wrote %2, read back %3")
                                 .arg(hex2(d.address), bytesOf(d.wrote), bytesOf(d.read));
        host.wireLog().finding(line);
        host.report.differences << UnitReport::Difference{QStringLiteral("cell ") + hex2(d.address),
                                                          bytesOf(d.read), bytesOf(d.wrote)};
        host.out(line);
    }
    if (r.unlock) {
        // Model and channel were written and read back with the rest.
        host.report.model = numberIn(readBack, CellAddress::Model);
        host.report.channel = numberIn(readBack, CellAddress::Channel);
    }
    if (differences == 0) {
        host.err(QStringLiteral("Restored %1 from %2 and compared: no differences.")
                     .arg(host.unitName(), r.file));
        co_return ExitCode::Success;
    }
    host.err(QStringLiteral("%1 cell%2 of %3 read back differently.")
                 .arg(differences)
                 .arg(differences == 1 ? QString() : QStringLiteral("s"), r.file));
    co_return ExitCode::Attention;
}

} // namespace CliCommands
