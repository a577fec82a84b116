#include "SimOptions.h"

#include <QStringList>

namespace {

// The value of "--name VALUE" or "--name=VALUE"; false when "--name" ends the line.
bool takeValue(const QStringList& args, int* i, const QString& name, QString* value)
{
    const QString& a = args[*i];
    if (a == name) {
        if (*i + 1 >= args.size())
            return false;
        *value = args[++*i];
        return true;
    }
    *value = a.mid(name.size() + 1);
    return true;
}

bool number(const QString& name, const QString& text, int min, int max, int* out, QString* error)
{
    bool ok = false;
    const int n = text.toInt(&ok);
    if (!ok || n < min || n > max) {
        *error = QStringLiteral("%1 must be a whole number from %2 to %3, not \"%4\"")
                     .arg(name)
                     .arg(min)
                     .arg(max)
                     .arg(text);
        return false;
    }
    *out = n;
    return true;
}

} // namespace

bool parseSimOptions(int argc, char** argv, SimOptions* o, QString* error)
{
    QStringList args;
    for (int i = 1; i < argc; ++i)
        args << QString::fromLocal8Bit(argv[i]);
    bool basePortGiven = false;
    for (int i = 0; i < args.size(); ++i) {
        const QString& a = args[i];
        QString value;
        if (a == QLatin1String("--help") || a == QLatin1String("-h")) {
            o->help = true;
        } else if (a == QLatin1String("--no-pacing")) {
            o->pacing = false;
        } else if (a == QLatin1String("--json")) {
            o->json = true;
        } else if (a == QLatin1String("--ser2net")) {
            o->ser2net = true;
        } else if (a == QLatin1String("--shell")) {
            o->shell = true;
        } else if (a == QLatin1String("--units") || a.startsWith(QLatin1String("--units="))) {
            if (!takeValue(args, &i, QStringLiteral("--units"), &value)) {
                *error = QStringLiteral("--units needs a number (1 to 16)");
                return false;
            }
            if (!number(QStringLiteral("--units"), value, 1, 16, &o->units, error))
                return false;
        } else if (a == QLatin1String("--base-port") ||
                   a.startsWith(QLatin1String("--base-port="))) {
            if (!takeValue(args, &i, QStringLiteral("--base-port"), &value)) {
                *error = QStringLiteral("--base-port needs a TCP port number");
                return false;
            }
            if (!number(QStringLiteral("--base-port"), value, 1024, 65535, &o->basePort, error))
                return false;
            basePortGiven = true;
        } else {
            *error = QStringLiteral("unknown option \"%1\"; try corvane-sim --help").arg(a);
            return false;
        }
    }
    if (o->help)
        return true;
    if (o->shell && o->json) {
        *error = QStringLiteral("give --shell or --json, not both");
        return false;
    }
    if (basePortGiven && !o->ser2net) {
        *error = QStringLiteral("--base-port goes with --ser2net");
        return false;
    }
    if (basePortGiven && o->basePort + o->units - 1 > 65535) {
        *error = QStringLiteral("--base-port %1 leaves no room for %2 units")
                     .arg(o->basePort)
                     .arg(o->units);
        return false;
    }
    return true;
}

QString simUsage()
{
    return QStringLiteral(
        "Usage: corvane-sim [--units N] [--no-pacing] [--json | --shell] [--ser2net [--base-port "
        "P]]\n"
        "\n"
        "Starts N simulated synchronizers (1 to 16, default 8), each on a pseudo-terminal of\n"
        "its own, and serves them until Ctrl+C, SIGTERM or \"quit\" on standard input. It\n"
        "prints the CORVANE_PORT_MAP line to paste into the shell where corvane-cli runs, and\n"
        "each unit's COM number with its --device path.\n"
        "\n"
        "  --units N       how many units (1 to 16, default 8); they are COM1 to COMN\n"
        "  --no-pacing     answer at once instead of at the real line speed (1200 baud)\n"
        "  --json          print the units as one JSON line instead:\n"
        "                  "
        "{\"units\":[{\"port\":1,\"device\":\"/dev/pts/5\"},...],\"port_map\":\"...\"}\n"
        "  --ser2net       put the units behind one local ser2net (Debian's, /usr/sbin/ser2net),\n"
        "                  listening on 127.0.0.1 only: the addresses are rfc2217://127.0.0.1:P\n"
        "  --base-port P   the first unit's TCP port with --ser2net (default: the first free\n"
        "                  block from 17001 up); the next units take P+1, P+2, ...\n"
        "  --shell         start a shell with CORVANE_PORT_MAP set and corvane-cli on its PATH;\n"
        "                  the units stop when it ends (RESET: kill -USR1 $CORVANE_SIM_PID)\n"
        "  -h, --help      show this text\n"
        "\n"
        "While it serves, standard input takes:\n"
        "  reset N         press RESET on the unit on COMN (it announces itself once)\n"
        "  reset all       press RESET on every unit (SIGUSR1 does the same)\n"
        "  quit            stop\n"
        "\n"
        "Exit status: 0 stopped; 1 a pseudo-terminal or ser2net could not be started;\n"
        "2 --ser2net without ser2net installed; 3 a bad option.\n");
}
