#pragma once
// corvane-cli against a simulated unit on a pseudo-terminal (served from a thread of the
// test), run in this process or as a process of its own, with its output, its exit status
// and the unit's record of every frame it received.

#include "cli/CliCommands.h"
#include "simunit/SimSync.h"
#include "support/ScratchFolder.h"

#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryFile>
#include <QTest>
#include <cstdio>
#include <unistd.h>

namespace CliTest {

struct Run
{
    int status = -1;
    QString out;
    QString err;
    bool finished = false;
};

// Runs the tool as a process with `args` to its end (at most `timeoutMs`), at the real
// times of the line; `env` adds variables.
inline Run runProcess(const QStringList& args, int timeoutMs = 120000,
                      const QMap<QString, QString>& env = {})
{
    QProcess p;
    QProcessEnvironment e = QProcessEnvironment::systemEnvironment();
    for (auto it = env.begin(); it != env.end(); ++it)
        e.insert(it.key(), it.value());
    p.setProcessEnvironment(e);
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

// Runs the tool's whole command line in this process, unpaced, with its two output
// streams caught in files; `portMap` stands for CORVANE_PORT_MAP.
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
    Run r;
    r.status = CliCommands::runCommandLine(QStringList{"corvane-cli"} + args, timing);
    r.finished = true;
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
