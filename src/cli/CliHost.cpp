#include "cli/CliHost.h"

#include "cli/RunOutput.h"
#include "cli/StderrBoard.h"
#include "cli/StopRequest.h"

#include <cstdio>

void UnitVoice::err(const QString& line) const
{
    if (told)
        told(line);
    else if (messages)
        StderrBoard::writeLine(prefix + line);
}

void UnitVoice::out(const QString& line) const
{
    if (!results)
        return;
    if (held) {
        *held << prefix + line;
        return;
    }
    std::fprintf(stdout, "%s\n", qPrintable(prefix + line));
    std::fflush(stdout);
}

CliHost::CliHost(const LineTiming& timing) : timing_(timing)
{
    serial_.setWireLog(&wireLog_);
    lease_.setWireLog(&wireLog_);
    QObject::connect(&cliEditor.editorModel, &EditorModel::message,
                     [this](const QString& text) { Await::start(showMessage(text, false)); });
    progress_.setWatcher(
        [this](const QString& caption, const QString& line, int percent, bool shown) {
            RunOutput::event(QStringLiteral("progress"), unitName(),
                             {{QStringLiteral("step"), caption},
                              {QStringLiteral("percent"), percent},
                              {QStringLiteral("shown"), shown}});
            if (progressShown)
                progressShown(shown ? QStringLiteral("%1 %2%").arg(line).arg(percent) : QString());
        });
}

QString CliHost::unitName() const
{
    return report.unit.isEmpty() ? QStringLiteral("COM%1").arg(linePort) : report.unit;
}

std::function<void(uint8_t, int)> CliHost::retried()
{
    if (RunOutput::mode() != RunOutput::Mode::Events)
        return {};
    return [this](uint8_t address, int attempt) {
        RunOutput::event(QStringLiteral("cell retried"), unitName(),
                         {{QStringLiteral("cell"),
                           QStringLiteral("%1").arg(address, 2, 16, QLatin1Char('0')).toUpper()},
                          {QStringLiteral("attempt"), attempt}});
    };
}

CliHost::~CliHost()
{
    if (serial_.PortOpen())
        serial_.closePort();
}

bool CliHost::stopped() const
{
    return stopAsked || StopRequest::requested();
}

QString CliHost::stopCause() const
{
    return stopAsked ? QStringLiteral("Stop") : QString::fromLatin1(StopRequest::byWhat());
}

void CliHost::beforeCell(uint8_t address)
{
    if (!stopped() || !serial_.PortOpen())
        return;
    wireLog_.event(QStringLiteral("stopped by %1 before cell %2")
                       .arg(stopCause())
                       .arg(address, 2, 16, QLatin1Char('0'))
                       .toUpper());
    serial_.closePort();
}

Task<> CliHost::showProblem(QString text)
{
    wireLog_.event(QStringLiteral("problem shown: ") +
                   QString(text).replace(QLatin1String("\r\n"), QLatin1String(" / ")));
    problems << plainText(text);
    co_return;
}

Task<> CliHost::showMessage(QString text, bool)
{
    wireLog_.event(QStringLiteral("message shown: ") +
                   QString(text).replace(QLatin1String("\r\n"), QLatin1String(" ")));
    messages << plainText(text);
    co_return;
}

Task<> CliHost::showMarksReport(QString text)
{
    wireLog_.event(QStringLiteral("message shown: ") +
                   QString(text).replace(QLatin1String("\r\n"), QLatin1String(" ")));
    co_return;
}

Task<QString> CliHost::askOpenFile(QString, QString, QString)
{
    co_return openPath;
}

Task<QString> CliHost::askSaveFile(QString, QString, QString)
{
    co_return savePath;
}

QString plainText(QString text)
{
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return text;
}
