#include "cli/CliHost.h"

void CliPreview::startPreview(const QString&)
{
    errorLines.clear();
    last_.clear();
    count_ = 0;
}

void CliPreview::showErrorCount(int count)
{
    // The parser echoes an error line, then shows the new count.
    if (count > count_ && !last_.isEmpty()) {
        QString line = last_;
        if (line.startsWith(QLatin1String("LoadFile: ")))
            line.remove(0, 10);
        errorLines << plainText(line).trimmed();
    }
    count_ = count;
}

CliHost::CliHost()
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
