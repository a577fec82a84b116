// backup and restore: a unit's 64 cells as a cell image, and an image written back as a
// save writes its cells, then read back and compared byte for byte.

#include "cli/CellBackup.h"
#include "cli/CliCommands.h"
#include "cli/CliSession.h"
#include "cli/RightUnit.h"
#include "cli/StopRequest.h"
#include "comm/modCorvaneComm.h"
#include "flows/EditorDefaults.h"
#include "flows/EditorView.h"
#include "flows/modGetSetAll.h"
#include "model/CellAddress.h"
#include "model/CellDecode.h"
#include "model/CellImage.h"
#include "model/WholeFile.h"
#include "transfer/CellMap.h"
#include "transfer/SavePlan.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cstdio>

using namespace CliSession;

namespace {

using CellImage::Cells;
using Cell = std::array<uint8_t, 2>;

const QString Caption = QStringLiteral("Restore");

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

// The number a cell holds (the model or the channel), if it holds one.
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

// The COM number a backup's name carries (a --device counts as COM1).
int portOf(CliHost& host)
{
    return host.linePort;
}

// The attention sequence, then the cells of `order` read into `cells` with the command
// layer's retries: "" when all came in, else which cell (or the attention) failed and why.
Task<QString> readCells(CliHost& host, QVector<uint8_t> order, Cells& cells,
                        bool attend = true)
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

// All 64 cells, after the pause and the attention sequence a load begins with: "" when
// every cell came in, else why not.
Task<QString> readWholeUnit(CliHost& host, Cells* cells)
{
    PortLeaseHold lease(host.lease(), QStringLiteral("backup"));
    QVector<uint8_t> all;
    for (int address = CellImage::FirstCell; address <= CellImage::LastCell; ++address)
        all << static_cast<uint8_t>(address);
    host.progress().startProgress(QStringLiteral("Backup"), QStringLiteral("Reading............."),
                                  CellImage::CellCount);
    CommContext c = host.comm();
    co_await modCorvaneComm::Pause(c, c.timing.loadSettleMs);
    const QString failed = co_await readCells(host, all, *cells);
    host.progress().hideProgress();
    host.wireLog().command(QStringLiteral("backup read ended: ") +
                           (failed.isEmpty() ? QStringLiteral("64 cells read") : failed));
    co_return failed;
}

// The unit's 64 cells from the load just made, which read all but the eight cells no save
// writes: those eight are read now, in the same pass (no second pause or attention). False
// when the load left out any other cell: then the whole unit is read again.
Task<std::optional<QString>> readRestAfterLoad(CliHost& host, Cells* cells)
{
    if (!host.loadedCells)
        co_return std::nullopt;
    QVector<uint8_t> rest;
    for (int address = CellImage::FirstCell; address <= CellImage::LastCell; ++address) {
        const auto a = static_cast<uint8_t>(address);
        if (host.loadedCells->has(a)) {
            const CellBytes b = host.loadedCells->get(a);
            cellAt(*cells, a) = {b.d0, b.d1};
        } else if (a >= CellAddress::FirstUnsaved && a <= CellAddress::LastUnsaved) {
            rest << a;
        } else {
            co_return std::nullopt;
        }
    }
    PortLeaseHold lease(host.lease(), QStringLiteral("backup"));
    host.progress().startProgress(QStringLiteral("Backup"), QStringLiteral("Reading............."),
                                  int(rest.size()));
    const QString failed = co_await readCells(host, rest, *cells, false);
    host.progress().hideProgress();
    host.wireLog().command(
        QStringLiteral("backup read ended: ") +
        (failed.isEmpty() ? QStringLiteral("%1 cells read after the load's %2")
                                .arg(rest.size())
                                .arg(CellImage::CellCount - rest.size())
                          : failed));
    co_return failed;
}

// A path in `folder` no file has yet: the time, the port, the unit's model and channel.
QString backupPath(const QString& folder, int port, const Cells& cells)
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
    for (int n = 2; n < 1000; ++n) {
        QFile claim(path);
        if (claim.open(QIODevice::WriteOnly | QIODevice::NewOnly) || !claim.exists())
            break;
        path = dir + stem + QStringLiteral("-%1.cells").arg(n);
    }
    return path;
}

// The cell image written whole to `path` (through a temporary file, renamed when
// complete): 0, or 3 with why. A name claimed for it and left empty is given up again, so
// a failed backup never looks like the newest one.
int writeImage(const UnitVoice& voice, const QString& path, const Cells& cells,
               const QString& afterwards, bool claimed)
{
    QString reason;
    if (writeWholeFile(path, CellImage::format(cells), &reason))
        return ExitCode::Success;
    if (claimed && QFileInfo(path).size() == 0)
        QFile::remove(path);
    voice.err(QStringLiteral("corvane-cli: cannot write %1: %2%3").arg(path, reason, afterwards));
    return ExitCode::BadInput;
}

// The image at `path`, read and checked before anything is opened: 0, or 3 with why.
int readImage(const UnitVoice& voice, const QString& path, Cells* cells)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        voice.err(QStringLiteral("corvane-cli: cannot read %1: %2").arg(path, file.errorString()));
        return ExitCode::BadInput;
    }
    QString error;
    if (CellImage::parse(file.readAll(), cells, &error))
        return ExitCode::Success;
    voice.err(QStringLiteral("corvane-cli: %1: %2; nothing was sent").arg(path, error));
    return ExitCode::BadInput;
}

// Not the unit a rack line expects, or an image of another model or channel than the
// unit's (most likely another unit's, refused unless forced): nothing is written. `unit` holds the unit's cells when a
// backup read them; else its model and channel cells are read now.
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
    QDir().mkpath(r.backupDir);
    const QFileInfo folder(r.backupDir);
    QString why;
    if (!folder.exists())
        why = QStringLiteral("the folder cannot be made");
    else if (!folder.isDir())
        why = QStringLiteral("it is not a folder");
    else if (!folder.isWritable())
        why = QStringLiteral("the folder cannot be written");
    else
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
    const QString path = backupPath(r.backupDir, portOf(host), cells);
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
    if (const int status = checkOutputPath(host.voice, r.output))
        co_return status;
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
    if (const int status = writeImage(host.voice, r.output, cells, QString(), false))
        co_return status;
    host.report.backup = r.output;
    host.err(QStringLiteral("Backup of %1: %2").arg(host.unitName(), r.output));
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
    EditorModel& editor = host.editor().model();
    modCorvaneComm::SetDefaults(editor);
    if (r.unlock)
        unlockModelChannel(host);
    SavePlan plan = buildSavePlan(editor.snapshot());
    for (CellWrite& w : plan.writes)
        w.bytes = {cellAt(image, w.address)[0], cellAt(image, w.address)[1]};

    PortLeaseHold lease(host.lease(), QStringLiteral("restore"));
    const int problems = host.problems.size();
    const int messages = host.messages.size();
    host.progress().startProgress(Caption, QStringLiteral("Writing............."), 100);
    const modGetSetAll::SetRun written = co_await modGetSetAll::SetAll(host, plan);
    host.report.writesSent = written.writesSent;
    host.report.writesPlanned = int(plan.writes.size());
    host.progress().hideProgress();
    tellShown(host, problems, messages);
    if (written.status != 0) {
        const QString why = written.status == modGetSetAll::CommunicationFailed
                                ? written.failure
                                : QStringLiteral("a program error");
        if (!StopRequest::requested())
            host.err(QStringLiteral("corvane-cli: %1: the restore stopped (%2); only some cells "
                                    "of %3 may have been written")
                         .arg(host.unitName(), why, r.file));
        co_return ExitCode::LineFailed;
    }

    // Read back as the save's compare reads, compared byte for byte.
    const QVector<uint8_t> order = compareReadOrder(r.unlock);
    Cells readBack = image;
    host.progress().startProgress(Caption, QStringLiteral("Comparing............."), order.size());
    const QString failed = co_await readCells(host, order, readBack);
    host.progress().hideProgress();
    if (!failed.isEmpty()) {
        host.err(QStringLiteral("corvane-cli: %1: the compare stopped: %2")
                     .arg(host.unitName(), failed));
        co_return ExitCode::LineFailed;
    }
    int differences = 0;
    for (uint8_t address : order) {
        const Cell& wrote = cellAt(image, address);
        const Cell& read = cellAt(readBack, address);
        if (wrote == read)
            continue;
        const QString line = QStringLiteral("cell %1: wrote %2, read back %3")
                                 .arg(hex2(address), bytesOf(wrote), bytesOf(read));
        host.wireLog().finding(line);
        host.report.differences << UnitReport::Difference{QStringLiteral("cell ") + hex2(address),
                                                          bytesOf(read), bytesOf(wrote)};
        host.out(line);
        ++differences;
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
