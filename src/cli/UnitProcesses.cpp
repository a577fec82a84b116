#include "cli/UnitProcesses.h"

#include "cli/StopRequest.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QJsonDocument>
#include <QTimer>

QString UnitProcesses::executable()
{
    return qEnvironmentVariableIsSet("CORVANE_CLI_EXE") ? qEnvironmentVariable("CORVANE_CLI_EXE")
                                                        : QCoreApplication::applicationFilePath();
}

void UnitProcesses::start(const QString& label, const QStringList& arguments)
{
    children_.push_back(Child{label, std::make_unique<QProcess>(), {}, {}, false});
    children_.back().process->start(executable(), arguments);
}

void UnitProcesses::stopAll()
{
    for (Child& c : children_)
        if (!c.ended && c.process->state() != QProcess::NotRunning)
            StopRequest::passOn(c.process->processId());
}

void UnitProcesses::readErrors(Child& c, bool all)
{
    c.pendingErr += c.process->readAllStandardError();
    qsizetype end;
    while ((end = c.pendingErr.indexOf('\n')) >= 0 || (all && !c.pendingErr.isEmpty())) {
        const QByteArray line = end >= 0 ? c.pendingErr.left(end) : c.pendingErr;
        c.pendingErr.remove(0, end >= 0 ? end + 1 : c.pendingErr.size());
        if (onErrorLine)
            onErrorLine(c, QString::fromLocal8Bit(line).trimmed());
    }
}

void UnitProcesses::wait(const std::function<bool()>& enough, int limitMs)
{
    QEventLoop loop;
    int running = 0;
    bool stop = false;
    for (Child& c : children_) {
        if (c.ended)
            continue;
        ++running;
        QObject::connect(c.process.get(), &QProcess::readyReadStandardError, &loop,
                         [this, &c] { readErrors(c, false); });
        QObject::connect(c.process.get(), &QProcess::finished, &loop, [&, this] {
            readErrors(c, true);
            const QList<QByteArray> out = c.process->readAllStandardOutput().trimmed().split('\n');
            c.report = QJsonDocument::fromJson(out.last()).object();
            c.ended = true;
            if (onEnded)
                onEnded(c);
            if (--running == 0 || (enough && enough())) {
                stop = true;
                loop.quit();
            }
        });
    }
    QTimer limit;
    limit.setSingleShot(true);
    QObject::connect(&limit, &QTimer::timeout, &loop, &QEventLoop::quit);
    if (limitMs >= 0)
        limit.start(limitMs);
    if (running > 0 && !stop)
        loop.exec();
    for (Child& c : children_) {
        c.process->disconnect();
        if (!c.ended) {
            c.process->kill();
            c.process->waitForFinished(3000);
            c.ended = true;
        }
    }
}
