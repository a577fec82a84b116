#include "cli/CliSession.h"

#include "cli/RunOutput.h"
#include "cli/ShownText.h"
#include "cli/StderrBoard.h"
#include "cli/StopRequest.h"
#include "comm/LineAddress.h"
#include "comm/PortTrouble.h"
#include "comm/WireLogFile.h"
#include "comm/modCorvaneComm.h"
#include "flows/FileCommands.h"
#include "flows/TransferCommands.h"
#include "model/WholeFile.h"
#include "settingsfile/Parser.h"
#include "settingsfile/SettingsFileIO.h"
#include "transfer/LoadReport.h"
#include "transfer/LoadValidation.h"
#include "transfer/MarkLog.h"
#include "transfer/MarkPlan.h"

#include <QFileInfo>
#include <cstdio>

namespace CliSession {

bool jsonResults()
{
    return RunOutput::machine();
}

void out(const QString& line)
{
    if (jsonResults())
        return;
    std::fprintf(stdout, "%s\n", qPrintable(line));
    std::fflush(stdout);
}

void err(const QString& line)
{
    StderrBoard::writeLine(line);
}

bool applyPortMap(PortMap& ports, const QString& map, QString* error)
{
    return ports.setMapText(map, error);
}

int choosePort(CliHost& host, const CliRequest& r, int16_t* port)
{
    *port = 0;
    if (!r.device.isEmpty()) {
        QString error;
        const LineAddress address = LineAddress::parse(r.device, &error);
        if (!error.isEmpty() || (!address.isNetwork() && !QFileInfo::exists(r.device))) {
            host.err(QStringLiteral("corvane-cli: %1")
                         .arg(error.isEmpty() ? r.device + ": no such device" : error));
            return ExitCode::BadInput;
        }
        // The device alone, as COM1: nothing else of the machine is opened.
        host.ports.setTestMapping(
            {{1, address.isNetwork() ? r.device : QFileInfo(r.device).absoluteFilePath()}});
        *port = 1;
        return ExitCode::Success;
    }
    if (!r.port)
        return ExitCode::Success;
    if (host.ports.devicePath(*r.port).isEmpty()) {
        host.err(QStringLiteral("corvane-cli: COM%1: this machine has no serial device for it "
                                "(corvane-cli ports lists them)")
                     .arg(*r.port));
        return ExitCode::BadInput;
    }
    *port = static_cast<int16_t>(*r.port);
    return ExitCode::Success;
}

Task<int> openLine(CliHost& host, int16_t port)
{
    CommContext c = host.comm();
    const CommError failure = co_await modCorvaneComm::OpenSyncPort(c, port);
    if (failure.number == 0) {
        host.linePort = port;
        co_return ExitCode::Success;
    }
    const QString path = host.ports.devicePath(port);
    host.err(QStringLiteral("Unable to Open %1 (%2)").arg(host.unitName(), failure.description));
    const QString why = describeLineTrouble(path, failure);
    if (!why.isEmpty())
        host.err(why);
    co_return ExitCode::LineFailed;
}

Task<int> openChosenLine(CliHost& host, CliRequest r)
{
    int16_t port = 0;
    if (const int status = choosePort(host, r, &port))
        co_return status;
    co_return co_await openLine(host, port);
}

int checkSettingsFile(const UnitVoice& voice, const QString& path)
{
    const modFileAccess::SettingsReadResult read = modFileAccess::readSettingsFile(path);
    if (!read.ok) {
        voice.err(QStringLiteral("corvane-cli: cannot read %1: %2").arg(path, read.errorText));
        return ExitCode::BadInput;
    }
    if (read.lines.size() >= modParser::MaxFileLines && read.moreFollows) {
        voice.err(modParser::TooManyLinesText());
        voice.err(QStringLiteral("corvane-cli: %1 holds more than %2 lines; nothing was sent")
                      .arg(path)
                      .arg(modParser::MaxFileLines));
        return ExitCode::BadInput;
    }
    return ExitCode::Success;
}

int checkOutputPath(const UnitVoice& voice, const QString& path)
{
    if (path.isEmpty())
        return ExitCode::Success;
    const QFileInfo file(path);
    const QFileInfo folder(file.absolutePath());
    QString why;
    if (file.isDir())
        why = QStringLiteral("it is a folder");
    else if (!folder.isDir())
        why = QStringLiteral("the folder %1 does not exist").arg(folder.filePath());
    else if (!folder.isWritable() || (file.exists() && !file.isWritable()))
        why = QStringLiteral("it cannot be written");
    else
        return ExitCode::Success;
    voice.err(
        QStringLiteral("corvane-cli: cannot save to %1: %2; nothing was read").arg(path, why));
    return ExitCode::BadInput;
}

void tellShown(const CliHost& host, int problemsFrom, int messagesFrom)
{
    // A stop closes the line between two frames; what the flows then say about a failed
    // line is not what happened (the command tells the stop instead).
    if (host.stopped())
        return;
    for (int i = problemsFrom; i < host.problems.size(); ++i)
        host.err(host.problems[i]);
    for (int i = messagesFrom; i < host.messages.size(); ++i)
        host.err(host.messages[i]);
}

Task<int> load(CliHost& host)
{
    const int problems = host.problems.size();
    const int messages = host.messages.size();
    host.loadedCells.reset();
    const TransferCommands::LoadOutcome loaded =
        co_await TransferCommands::LoadFromSynchronizer(host);
    tellShown(host, problems, messages);
    const bool done = loaded.outcome == TransferCommands::Outcome::Done ||
                      loaded.outcome == TransferCommands::Outcome::Marked;
    if (!done || !loaded.findings)
        co_return ExitCode::LineFailed;
    host.loadedCells = loaded.findings->cells;
    // The numbers as the load decoded them from the unit's cells.
    const SyncParameters& read = loaded.findings->loaded.values;
    host.report.model = read.Model;
    host.report.channel = read.Channel;
    if (loaded.outcome == TransferCommands::Outcome::Done)
        co_return ExitCode::Success;
    // The marks in plain words stand for the load's report box.
    const LoadResult& found = loaded.findings->loaded;
    for (const PlainMark& m : plainMarks(found.marks, found.values))
        host.report.marks << UnitReport::Mark{m.field, m.mark, m.value};
    for (const QString& line : plainMarkLines(found.marks, found.values))
        host.err(line);
    co_return ExitCode::Attention;
}

void unlockModelChannel(CliHost& host)
{
    host.cliEditor.editorModel.setModelChannelUnlocked(true);
    host.cliEditor.editorModel.setModelChannelMarked(false);
    host.wireLog().event(QStringLiteral("model and channel unlocked"));
}

Task<int> applySettingsFile(CliHost& host, QString path)
{
    const int messages = host.messages.size();
    host.openPath = path;
    const FileCommands::FileResult previewed = co_await FileCommands::LoadFromFile(host);
    if (previewed.outcome != FileCommands::FileOutcome::Previewed) {
        // The file could not be read after all.
        tellShown(host, host.problems.size(), messages);
        co_return ExitCode::BadInput;
    }
    for (const QString& line : host.previewState.errorLines())
        host.err(shownText(plainText(line).trimmed()));
    FileCommands::ApplyPreviewedFile(host);
    tellShown(host, host.problems.size(), messages);
    co_return ExitCode::Success;
}

int writeWireLog(CliHost& host, const QString& path)
{
    QString reason;
    if (writeWholeFile(path, WireLogFile::text(host.wireLog()), &reason))
        return ExitCode::Success;
    host.err(QStringLiteral("corvane-cli: cannot write the wire log %1: %2").arg(path, reason));
    return ExitCode::BadInput;
}

} // namespace CliSession
