#pragma once
// corvane-cli against a simulated unit on a pseudo-terminal (served from a thread of the
// test), run in this process or as a process of its own, with its output, its exit status
// and the unit's record of every frame it received.

#include "cli/CliCommands.h"
#include "simunit/SimSync.h"
#include "support/Awaited.h"
#include "support/ScratchFolder.h"

#include <QElapsedTimer>
#include <QProcess>
#include <QProcessEnvironment>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTemporaryFile>
#include <QTest>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <memory>
#include <unistd.h>
#include <vector>

namespace CliTest {

struct Run
{
    int status = -1;
    QString out;
    QString err;
    bool finished = false;
};

// Runs the tool as a process with `args` to its end (at most `timeoutMs`), at the real
// times of the line; `env` adds variables; `inChild` runs in the new process before the
// tool starts (async-signal-safe calls only: limits, signal dispositions).
inline Run runProcess(const QStringList& args, int timeoutMs = 120000,
                      const QMap<QString, QString>& env = {},
                      const std::function<void()>& inChild = {})
{
    QProcess p;
    QProcessEnvironment e = QProcessEnvironment::systemEnvironment();
    for (auto it = env.begin(); it != env.end(); ++it)
        e.insert(it.key(), it.value());
    p.setProcessEnvironment(e);
    if (inChild)
        p.setChildProcessModifier(inChild);
    p.start(QStringLiteral(CORVANE_CLI), args);
    Run r;
    r.finished = p.waitForFinished(timeoutMs);
    if (!r.finished)
        p.kill();
    r.status = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    r.out = QString::fromLocal8Bit(p.readAllStandardOutput());
    r.err = QString::fromLocal8Bit(p.readAllStandardError());
    return r;
}

// Runs the tool's whole command line in this process (the event loop turning until the
// command has ended), unpaced, with its two output streams caught in files; `portMap`
// stands for CORVANE_PORT_MAP.
inline Run runCli(const QStringList& args, const QString& portMap = {},
                  const LineTiming& timing = LineTiming::unpaced())
{
    QTemporaryFile out, err;
    if (!out.open() || !err.open())
        return {};
    std::fflush(stdout);
    std::fflush(stderr);
    const int keptOut = dup(1), keptErr = dup(2);
    dup2(out.handle(), 1);
    dup2(err.handle(), 2);
    qputenv("CORVANE_PORT_MAP", portMap.toLocal8Bit());
    // Qt's own messages go to standard error, as in the tool's process, not into the test
    // log (which shares standard output here).
    const QtMessageHandler testLog = qInstallMessageHandler(
        [](QtMsgType, const QMessageLogContext&, const QString& text) {
            std::fprintf(stderr, "%s\n", qPrintable(text));
        });
    Run r;
    r.status = awaited(CliCommands::runCommandLine(QStringList{"corvane-cli"} + args, timing));
    r.finished = true;
    qInstallMessageHandler(testLog);
    qunsetenv("CORVANE_PORT_MAP");
    std::fflush(stdout);
    std::fflush(stderr);
    dup2(keptOut, 1);
    dup2(keptErr, 2);
    close(keptOut);
    close(keptErr);
    out.seek(0);
    err.seek(0);
    r.out = QString::fromLocal8Bit(out.readAll());
    r.err = QString::fromLocal8Bit(err.readAll());
    return r;
}

// True once no command holds the line (within `ms`). Runs the event loop between the
// lease's changes, so a command that waits on frames goes at the line's pace (a polling
// wait would add its poll to every frame).
inline bool leaseGivenBack(PortLease& lease, int ms = 30000)
{
    QSignalSpy changes(&lease, &PortLease::changed);
    QElapsedTimer clock;
    clock.start();
    while (!lease.isFree() && clock.elapsed() < ms)
        changes.wait(int(std::max<qint64>(1, ms - clock.elapsed())));
    return lease.isFree();
}

struct Unit
{
    SimSync sim;
    bool ok = false;
    explicit Unit(bool pacing = false)
    {
        sim.setPacing(pacing);
        ok = sim.start();
    }
    QStringList device() const { return {QStringLiteral("--device"), sim.path()}; }
    QStringList received() const { return sim.frames(simsync::Direction::ToUnit); }
};

// Units on COM1 to COMn, and the port map that names them.
struct Rack
{
    std::vector<std::unique_ptr<Unit>> units;
    QString map;
    explicit Rack(int n, bool pacing = false)
    {
        QStringList entries;
        for (int i = 1; i <= n; ++i) {
            units.push_back(std::make_unique<Unit>(pacing));
            entries << QStringLiteral("%1=%2").arg(i).arg(units.back()->sim.path());
        }
        map = entries.join(',');
    }
    bool ok() const
    {
        return std::all_of(units.begin(), units.end(), [](const auto& u) { return u->ok; });
    }
    SimSync& sim(int port) { return units[size_t(port - 1)]->sim; }
    Unit& unit(int port) { return *units[size_t(port - 1)]; }
};

// The write frames a unit received.
inline int writesReceived(const SimSync& sim)
{
    return sim.frames(simsync::Direction::ToUnit).filter(QRegularExpression("^W")).size();
}

// A rack's summary table by unit: {"COM1": {"22", "1", "written", "ok"}}.
inline QMap<QString, QStringList> summaryRows(const QString& out)
{
    QMap<QString, QStringList> rows;
    const QStringList lines = out.split('\n', Qt::SkipEmptyParts);
    for (const QString& line : lines.mid(1)) {
        const QStringList columns = line.split(QRegularExpression(" {2,}"));
        rows.insert(columns.first(), columns.mid(1));
    }
    return rows;
}

using Files = ScratchFolder;

// The default set as a settings file saves it, with `changes` ("End Title 7") in place of
// the lines with the same first two words, and `extra` lines at the end.
inline QByteArray settingsFile(const QStringList& changes, const QStringList& extra = {})
{
    QStringList lines = {"Begin Corvane Save File",
                         "Model 22",
                         "Channel 1",
                         "Start Mode Chapter",
                         "End Mode Chapter",
                         "Start Frame 1",
                         "End Frame 1000",
                         "Start Title 1",
                         "End Title 2",
                         "Start Chapter 1",
                         "End Chapter 2",
                         "Synchronize On",
                         "Squelch On",
                         "Init String 1 0KL0DS",
                         "Comment x"};
    for (const QString& c : changes) {
        const int words = c.startsWith("Init String")                      ? 3
                          : c.startsWith("Start ") || c.startsWith("End ") ? 2
                                                                           : 1;
        const QString key = c.section(' ', 0, words - 1) + ' ';
        bool replaced = false;
        for (QString& l : lines)
            if (l.startsWith(key) && !replaced) {
                l = c;
                replaced = true;
            }
        if (!replaced)
            lines << c;
    }
    lines << extra;
    return (lines.join("\r\n") + "\r\n").toLatin1();
}

} // namespace CliTest
