// The rack's rows: as a listener hears them, added by hand or from a rack file, and kept
// as a rack file.

#include "app/RackModel.h"

#include "comm/LineAddress.h"
#include "comm/StableDeviceName.h"
#include "model/WholeFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <algorithm>
#include <vector>

namespace {
QString heardNumber(std::optional<int> n)
{
    return n ? QString::number(*n) : QStringLiteral("unknown");
}
} // namespace

QString RackRow::sentence() const
{
    QStringList parts{label};
    parts << QStringLiteral("model ") + heardNumber(model)
          << QStringLiteral("channel ") + heardNumber(channel);
    if (!state.isEmpty())
        parts << state;
    if (!result.isEmpty())
        parts << result;
    return parts.join(QStringLiteral(", "));
}

bool RackRow::failed() const
{
    return !result.isEmpty() && result != QLatin1String("ok") &&
           result != QLatin1String("already held");
}

RackModel::RackModel(const PortMap& ports, const LineTiming& timing)
    : ports_(ports), timing_(timing)
{
}

RackModel::~RackModel() = default;

void RackModel::changed(int row)
{
    if (rowChanged)
        rowChanged(row);
}

void RackModel::tell(const QString& text)
{
    if (status)
        status(text);
}

int RackModel::rowOf(const QString& device) const
{
    for (int i = 0; i < rows_.size(); ++i)
        if (rows_[i].device == device)
            return i;
    return -1;
}

int RackModel::append(RackRow row)
{
    row.backup = newestBackupOf(row);
    rows_ << row;
    if (rowAdded)
        rowAdded(int(rows_.size() - 1));
    return int(rows_.size() - 1);
}

// The newest backup in the folder kept of the row's port (its name starts with the time).
QString RackModel::newestBackupOf(const RackRow& row) const
{
    if (backupFolder.isEmpty() || !row.unit.port)
        return {};
    const QDir folder(backupFolder);
    const QStringList names =
        folder.entryList({QStringLiteral("*-COM%1-*.cells").arg(*row.unit.port)}, QDir::Files,
                         QDir::Name | QDir::Reversed);
    return names.isEmpty() ? QString() : folder.filePath(names.first());
}

QString RackModel::add(const QString& text)
{
    static const QRegularExpression number(QStringLiteral("^(?:COM)?(\\d+)$"),
                                           QRegularExpression::CaseInsensitiveOption);
    const QString given = text.trimmed();
    RackRow row;
    if (const QRegularExpressionMatch m = number.match(given); m.hasMatch()) {
        const int port = m.captured(1).toInt();
        row.unit.port = port;
        row.label = QStringLiteral("COM%1").arg(port);
        row.device = ports_.devicePath(port);
        if (row.device.isEmpty())
            return row.label + QStringLiteral(": this machine has no serial device for it");
    } else {
        QString error;
        LineAddress::parse(given, &error);
        if (given.isEmpty())
            return QStringLiteral("give a port (3 or COM3), a device or an address");
        if (!error.isEmpty())
            return error;
        if (!LineAddress::looksLikeNetwork(given) && !QFileInfo::exists(given))
            return given + QStringLiteral(": no such device");
        row.unit.device = row.device = given;
        row.label = LineAddress::shownName(given);
    }
    if (rowOf(row.device) < 0)
        append(row);
    return {};
}

QString RackModel::openRack(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return path + QStringLiteral(" cannot be read: ") + f.errorString();
    QList<RackMistake> mistakes;
    const QList<RackUnit> units =
        RackFile::parse(QString::fromUtf8(f.readAll()), QFileInfo(path).absolutePath(), &mistakes);
    std::vector<RackRow> found;
    for (const RackUnit& unit : units) {
        RackRow row;
        row.unit = unit;
        row.label = unit.port ? QStringLiteral("COM%1").arg(*unit.port)
                              : LineAddress::shownName(unit.device);
        // The line's own trust goes with the address it reaches.
        row.device = LineAddress::withTrustDefaults(
            unit.port ? ports_.devicePath(*unit.port) : unit.device, unit.trust);
        if (row.device.isEmpty())
            mistakes << RackMistake{unit.line,
                                    row.label + QStringLiteral(": this machine has no serial "
                                                               "device for it")};
        found.push_back(row);
    }
    if (!mistakes.isEmpty()) {
        std::stable_sort(
            mistakes.begin(), mistakes.end(),
            [](const RackMistake& a, const RackMistake& b) { return a.line < b.line; });
        QStringList lines;
        for (const RackMistake& m : mistakes)
            lines << (m.line ? QStringLiteral("line %1: %2").arg(m.line).arg(m.why) : m.why);
        return lines.join(QLatin1Char('\n'));
    }
    for (const RackRow& row : found) {
        const int at = rowOf(row.device);
        if (at < 0)
            append(row);
        else {
            rows_[at].unit = row.unit;
            changed(at);
        }
    }
    return {};
}

bool RackModel::saveRack(const QString& path, QString* why) const
{
    QStringList lines{QStringLiteral("# saved by Corvane's rack window")};
    for (const RackRow& row : rows_) {
        RackUnit unit = row.unit;
        // A USB adapter by the name that survives the machine renumbering its adapters.
        if (unit.port) {
            if (const QString stable = StableDeviceName::of(row.device); !stable.isEmpty()) {
                unit.port.reset();
                unit.device = stable;
            }
        }
        if (row.model && row.channel) {
            unit.expectModel = row.model;
            unit.expectChannel = row.channel;
        }
        lines << RackFile::line(unit);
    }
    return writeWholeFile(path, (lines.join(QLatin1Char('\n')) + QLatin1Char('\n')).toUtf8(), why);
}
