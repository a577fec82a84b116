#include "cli/CliHost.h"

#include "cli/StopRequest.h"

CliHost::CliHost(const LineTiming& timing) : timing_(timing)
{
    serial_.setWireLog(&wireLog_);
    lease_.setWireLog(&wireLog_);
    QObject::connect(&cliEditor.editorModel, &EditorModel::message,
                     [this](const QString& text) { showMessage(text, false); });
}

CliHost::~CliHost()
{
    if (serial_.PortOpen())
        serial_.setPortOpen(false);
}

void CliHost::beforeCell(uint8_t address)
{
    if (!StopRequest::requested() || !serial_.PortOpen())
        return;
    wireLog_.event(QStringLiteral("stopped by Ctrl+C before cell %1")
                       .arg(address, 2, 16, QLatin1Char('0'))
                       .toUpper());
    serial_.setPortOpen(false);
}

void CliHost::showProblem(const QString& text)
{
    wireLog_.event(QStringLiteral("problem shown: ") +
                   QString(text).replace(QLatin1String("\r\n"), QLatin1String(" / ")));
    problems << plainText(text);
}

void CliHost::showMessage(const QString& text, bool)
{
    wireLog_.event(QStringLiteral("message shown: ") +
                   QString(text).replace(QLatin1String("\r\n"), QLatin1String(" ")));
    messages << plainText(text);
}

void CliHost::showMarksReport(const QString& text)
{
    wireLog_.event(QStringLiteral("message shown: ") +
                   QString(text).replace(QLatin1String("\r\n"), QLatin1String(" ")));
}

QString plainText(QString text)
{
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return text;
}
