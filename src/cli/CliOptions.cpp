// The command line: one command word, then that command's options (GNU style: --port 3,
// --port=3, -o FILE). Every command takes --help; the tool takes --version.

#include "cli/CliRequest.h"
#include "cli/CliTlsOptions.h"
#include "model/AppIdentity.h"

#include <QCommandLineParser>
#include <QRegularExpression>
#include <QStringList>

namespace {

struct CommandInfo
{
    const char* name;
    const char* summary;
    const char* positional; // "" when the command takes none
};

const CommandInfo Commands[] = {
    {"ports", "List the serial ports COM1 to COM16 and why any device cannot be used.", ""},
    {"find", "Wait for freshly reset synchronizers; print each one's port, model and channel.", ""},
    {"scan", "Ask every port at once for the unit behind it (no RESET); list what answers.", ""},
    {"read", "Load a synchronizer and write its settings as a settings file.", ""},
    {"write", "Load a synchronizer, apply a settings file, save it and compare.", "FILE"},
    {"verify", "Load a synchronizer and list where it differs from a settings file.", "FILE"},
    {"backup", "Read all 64 cells of a synchronizer into a cell image.", ""},
    {"restore", "Write a cell image back to a synchronizer as a save does, and compare.", "IMAGE"},
};

const CommandInfo* findCommand(const QString& name)
{
    for (const CommandInfo& c : Commands)
        if (name == QLatin1String(c.name))
            return &c;
    return nullptr;
}

QString toolUsage()
{
    QString text = QStringLiteral("Usage: corvane-cli COMMAND [options]\n\n"
                                  "Configure synchronizers over a serial line from a script.\n\n"
                                  "Commands:\n");
    for (const CommandInfo& c : Commands)
        text += QStringLiteral("  %1  %2\n")
                    .arg(QLatin1String(c.name), -7)
                    .arg(QLatin1String(c.summary));
    text += QStringLiteral(
        "\n'corvane-cli COMMAND --help' describes a command's options.\n\n"
        "Exit status: 0 success; 1 the unit answered but needs attention (marks, differences);\n"
        "2 the line or the unit failed; 3 bad input (a file, an option, a port).\n");
    return text;
}

ParsedCommandLine failed(const QString& why)
{
    ParsedCommandLine p;
    p.exitCode = ExitCode::BadInput;
    p.err = QStringLiteral("corvane-cli: %1\n").arg(why);
    return p;
}

// A whole number in [min, max] from option `name`.
std::optional<int> numberOption(const QCommandLineParser& parser, const QString& name, int min,
                                int max, QString* error)
{
    if (!parser.isSet(name))
        return std::nullopt;
    bool ok = false;
    const int n = parser.value(name).toInt(&ok);
    if (!ok || n < min || n > max) {
        *error = QStringLiteral("--%1 must be a whole number from %2 to %3, not \"%4\"")
                     .arg(name)
                     .arg(min)
                     .arg(max)
                     .arg(parser.value(name));
        return std::nullopt;
    }
    return n;
}

// "--port 3", "--port 1-8", "--port COM3", "--port COM1-COM8", repeated: the COM numbers
// in the order given.
QList<int> portList(const QStringList& values, QString* error)
{
    static const QRegularExpression form(QStringLiteral("^(?:COM)?(\\d+)(?:-(?:COM)?(\\d+))?$"),
                                         QRegularExpression::CaseInsensitiveOption);
    QList<int> ports;
    for (const QString& v : values) {
        const QRegularExpressionMatch m = form.match(v.trimmed());
        const int first = m.captured(1).toInt();
        const int last = m.captured(2).isEmpty() ? first : m.captured(2).toInt();
        if (!m.hasMatch() || first < 1 || last > 16 || first > last) {
            *error = QStringLiteral("--port must be a whole number from 1 to 16 (or COM1 to "
                                    "COM16), or a range such as 1-8, not \"%1\"")
                         .arg(v);
            return {};
        }
        for (int n = first; n <= last; ++n)
            if (!ports.contains(n))
                ports << n;
    }
    return ports;
}

} // namespace

ParsedCommandLine parseCommandLine(const QStringList& arguments)
{
    ParsedCommandLine result;
    const QString word = arguments.value(1);
    if (word == QLatin1String("--version") || word == QLatin1String("-v")) {
        result.out = QStringLiteral("corvane-cli %1\n").arg(AppIdentity::VersionNumber());
        return result;
    }
    if (word.isEmpty() || word == QLatin1String("--help") || word == QLatin1String("-h")) {
        result.out = toolUsage();
        result.exitCode = word.isEmpty() ? ExitCode::BadInput : ExitCode::Success;
        if (word.isEmpty()) {
            result.err = result.out;
            result.out.clear();
        }
        return result;
    }
    const CommandInfo* info = findCommand(word);
    if (!info) {
        // Options before the command word: name the order that works.
        for (qsizetype i = 2; word.startsWith(QLatin1Char('-')) && i < arguments.size(); ++i)
            if (findCommand(arguments[i])) {
                QStringList reordered = arguments.mid(1);
                reordered.move(i - 1, 0);
                return failed(QStringLiteral("unknown command \"%1\"; the command comes first: "
                                             "corvane-cli %2")
                                  .arg(word, reordered.join(QLatin1Char(' '))));
            }
        return failed(QStringLiteral("unknown command \"%1\"; try corvane-cli --help").arg(word));
    }

    const QString name = QLatin1String(info->name);
    const bool talksToUnit = name != QLatin1String("ports");
    const bool needsPort =
        talksToUnit && name != QLatin1String("find") && name != QLatin1String("scan");
    QCommandLineParser parser;
    parser.setApplicationDescription(QLatin1String(info->summary));
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")},
                                  QStringLiteral("Show this help."));
    parser.addOption(help);
    if (talksToUnit) {
        parser.addOption(
            {QStringLiteral("port"),
             needsPort ? QStringLiteral("The unit's port, 1 to 16 (or COM1 to COM16); repeat it "
                                        "or give a range (1-8) for several units.")
             : name == QLatin1String("scan")
                 ? QStringLiteral("Ask the unit on this port only (1 to 16).")
                 : QStringLiteral("Listen on this port only (1 to 16)."),
             QStringLiteral("N")});
        parser.addOption({QStringLiteral("device"),
                          QStringLiteral("The unit's serial device, or a device server's port "
                                         "(rfc2217://HOST:PORT, tcp://HOST:PORT), instead of a "
                                         "port number."),
                          QStringLiteral("PATH")});
        parser.addOption({QStringLiteral("wire-log"),
                          needsPort ? QStringLiteral("Write every frame and event on the line to "
                                                     "FILE (with several units: a folder, one "
                                                     "file per unit).")
                                    : QStringLiteral("Write every frame and event on the line to "
                                                     "FILE (with --port or --device only)."),
                          QStringLiteral("FILE")});
        parser.addOption(
            {{QStringLiteral("q"), QStringLiteral("quiet")}, QStringLiteral("No progress line.")});
    }
    CliTlsOptions::add(parser);
    const bool rackable = needsPort;
    if (rackable)
        parser.addOption({QStringLiteral("rack"),
                          QStringLiteral("The units of a rack, one line each: a port, device or "
                                         "address, then channel=N, model=N, file=FILE (when "
                                         "every line names its file, no FILE is needed)."),
                          QStringLiteral("FILE")});
    parser.addOption({QStringLiteral("json"),
                      QStringLiteral("One JSON document on standard output instead of the "
                                     "results: {\"schema\":1,\"status\":N,\"units\":[...]}.")});
    if (talksToUnit)
        parser.addOption({QStringLiteral("events"),
                          QStringLiteral("One JSON line on standard output per event as it "
                                         "happens (unit started, progress, cell retried, unit "
                                         "done), the last one \"run done\" with the document.")});
    if (name == QLatin1String("find")) {
        parser.addOption({QStringLiteral("timeout"),
                          QStringLiteral("Seconds to listen (default 30); without a port, on "
                                         "every usable port at once."),
                          QStringLiteral("S")});
        parser.addOption({QStringLiteral("count"), QStringLiteral("Stop once N units are heard."),
                          QStringLiteral("N")});
        parser.addOption({QStringLiteral("rack-out"),
                          QStringLiteral("Write the units heard to FILE as a rack file (a file "
                                         "already there only with --force)."),
                          QStringLiteral("FILE")});
        parser.addOption({QStringLiteral("force"),
                          QStringLiteral("Replace the --rack-out file when it exists.")});
    }
    const bool backup = name == QLatin1String("backup"), restore = name == QLatin1String("restore");
    if (name == QLatin1String("read") || backup)
        parser.addOption(
            {{QStringLiteral("o"), QStringLiteral("output")},
             backup ? QStringLiteral("Write the cell image to FILE (default: standard output); "
                                     "FILE ending in / is a folder, where the image is named as "
                                     "backups are.")
                    : QStringLiteral("Write the settings file to FILE (default: standard output)."),
             QStringLiteral("FILE")});
    if (name == QLatin1String("write") || name == QLatin1String("verify") || restore)
        parser.addOption({QStringLiteral("unlock"),
                          restore
                              ? QStringLiteral("Restore the model and channel cells too.")
                              : QStringLiteral("Let the file's MODEL and CHANNEL lines apply.")});
    const bool writes = name == QLatin1String("write") || restore;
    if (writes) {
        parser.addOption({QStringLiteral("backup-dir"),
                          QStringLiteral("Keep the unit's cells in DIR before the first write "
                                         "(default ./corvane-backups/)."),
                          QStringLiteral("DIR")});
        parser.addOption({QStringLiteral("no-backup"),
                          QStringLiteral("Write without keeping the unit's cells first.")});
    }
    if (restore)
        parser.addOption({QStringLiteral("force"),
                          QStringLiteral("Restore an image whose model or channel differ from "
                                         "the unit's.")});
    if (name == QLatin1String("write")) {
        parser.addOption({QStringLiteral("model"),
                          QStringLiteral("Write this model number (1 to 99); unlocks."),
                          QStringLiteral("N")});
        parser.addOption({QStringLiteral("channel"),
                          QStringLiteral("Write this channel number (1 to 99); unlocks."),
                          QStringLiteral("N")});
    }
    if (*info->positional)
        parser.addPositionalArgument(QLatin1String(info->positional),
                                     restore ? QStringLiteral("The cell image.")
                                             : QStringLiteral("The settings file."));

    QStringList args = arguments;
    args.removeAt(1);
    if (!parser.parse(args))
        return failed(parser.errorText());
    if (parser.isSet(help)) {
        // The usage line names the command, not the program's path.
        QString text = parser.helpText();
        const qsizetype options = text.indexOf(QLatin1String(" [options]"));
        if (text.startsWith(QLatin1String("Usage: ")) && options > 0)
            text.replace(7, options - 7, QStringLiteral("corvane-cli ") + name);
        result.out = text + QStringLiteral("\nExit status: 0 success; 1 marks or differences; "
                                           "2 the line or the unit failed; 3 bad input.\n");
        return result;
    }

    CliRequest r;
    r.command = name;
    QString error;
    if (talksToUnit) {
        r.ports = portList(parser.values(QStringLiteral("port")), &error);
        r.devices = parser.values(QStringLiteral("device"));
        if (rackable)
            r.rack = parser.value(QStringLiteral("rack"));
        r.wireLog = parser.value(QStringLiteral("wire-log"));
        r.quiet = parser.isSet(QStringLiteral("quiet"));
        if (error.isEmpty() && !r.ports.isEmpty() && !r.devices.isEmpty())
            error = QStringLiteral("give --port or --device, not both");
        if (error.isEmpty() && !r.rack.isEmpty() && !(r.ports.isEmpty() && r.devices.isEmpty()))
            error = QStringLiteral("give --rack or --port/--device, not both");
        if (error.isEmpty() && !rackable && r.several())
            error = QStringLiteral("%1 takes one --port or --device").arg(name);
        if (error.isEmpty() && needsPort && r.ports.isEmpty() && r.devices.isEmpty() &&
            r.rack.isEmpty())
            error = QStringLiteral("%1 needs --port N or --device PATH").arg(name);
        if (!r.several()) {
            if (!r.ports.isEmpty())
                r.port = r.ports.first();
            if (!r.devices.isEmpty())
                r.device = r.devices.first();
        }
    }
    if (error.isEmpty() && name == QLatin1String("find") &&
        parser.isSet(QStringLiteral("timeout"))) {
        bool ok = false;
        r.timeoutSeconds = parser.value(QStringLiteral("timeout")).toDouble(&ok);
        if (!ok || r.timeoutSeconds < 0.5 || r.timeoutSeconds > 3600)
            error = QStringLiteral("--timeout must be seconds from 0.5 to 3600, not \"%1\"")
                        .arg(parser.value(QStringLiteral("timeout")));
    }
    if (error.isEmpty())
        r.trust = CliTlsOptions::read(parser, &error);
    r.json = parser.isSet(QStringLiteral("json"));
    r.events = talksToUnit && parser.isSet(QStringLiteral("events"));
    if (error.isEmpty() && r.json && r.events)
        error = QStringLiteral("give --json or --events, not both");
    r.force = (name == QLatin1String("find") || restore) && parser.isSet(QStringLiteral("force"));
    if (name == QLatin1String("find")) {
        if (error.isEmpty() && parser.isSet(QStringLiteral("count")))
            r.count = numberOption(parser, QStringLiteral("count"), 1, 16, &error).value_or(0);
        r.rackOut = parser.value(QStringLiteral("rack-out"));
        if (error.isEmpty() && (r.count || !r.rackOut.isEmpty()) && (r.port || !r.device.isEmpty()))
            error = QStringLiteral("--count and --rack-out are for find on every port");
    }
    if (name == QLatin1String("read") || backup)
        r.output = parser.value(QStringLiteral("output"));
    if (error.isEmpty() && (name == QLatin1String("read") || backup) && r.several() &&
        r.output.isEmpty())
        error =
            QStringLiteral("%1 with several units needs -o FOLDER (one file per unit)").arg(name);
    if (name == QLatin1String("write") || name == QLatin1String("verify") || restore)
        r.unlock = parser.isSet(QStringLiteral("unlock"));
    if (writes && parser.isSet(QStringLiteral("backup-dir"))) {
        r.backupDir = parser.value(QStringLiteral("backup-dir"));
        if (error.isEmpty() && parser.isSet(QStringLiteral("no-backup")))
            error = QStringLiteral("give --backup-dir or --no-backup, not both");
        if (error.isEmpty() && r.backupDir.isEmpty())
            error = QStringLiteral("--backup-dir needs a folder");
    }
    if (writes)
        r.backup = !parser.isSet(QStringLiteral("no-backup"));
    if (error.isEmpty() && name == QLatin1String("write")) {
        r.model = numberOption(parser, QStringLiteral("model"), 1, 99, &error);
        if (error.isEmpty())
            r.channel = numberOption(parser, QStringLiteral("channel"), 1, 99, &error);
    }
    const QStringList positional = parser.positionalArguments();
    // A rack whose every line names its own file needs none on the command line; whether
    // each does is known once the rack file is read.
    const bool fileMayBeInRack = !r.rack.isEmpty() && positional.isEmpty();
    if (error.isEmpty() && *info->positional && !fileMayBeInRack) {
        if (positional.size() != 1)
            error = QStringLiteral("%1 needs exactly one %2")
                        .arg(name, restore ? QStringLiteral("cell IMAGE")
                                           : QStringLiteral("settings FILE"));
        else
            r.file = positional.first();
    } else if (error.isEmpty() && !positional.isEmpty()) {
        error = QStringLiteral("%1 takes no argument \"%2\"").arg(name, positional.first());
    }
    if (!error.isEmpty())
        return failed(error);
    result.request = r;
    return result;
}
