#pragma once
// corvane-cli run in this process or as a process of its own, with its output and its exit
// status.

#include "cli/CliCommands.h"
#include "support/Awaited.h"

#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryFile>
#include <cstdio>
#include <functional>
#include <memory>
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

} // namespace CliTest
