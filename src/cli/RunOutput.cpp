#include "cli/RunOutput.h"

#include <QJsonDocument>
#include <cstdio>

namespace RunOutput {

namespace {
Mode mode_ = Mode::Human;

void writeLine(const QJsonObject& o)
{
    const QByteArray line = QJsonDocument(o).toJson(QJsonDocument::Compact);
    std::fprintf(stdout, "%s\n", line.constData());
    std::fflush(stdout);
}
} // namespace

void setMode(Mode mode)
{
    mode_ = mode;
}

Mode mode()
{
    return mode_;
}

void finish(int status, const QJsonArray& units, const QJsonObject& extra)
{
    if (mode_ == Mode::Human)
        return;
    QJsonObject doc = extra;
    if (mode_ == Mode::Events)
        doc.insert(QStringLiteral("event"), QStringLiteral("run done"));
    doc.insert(QStringLiteral("schema"), Schema);
    doc.insert(QStringLiteral("status"), status);
    doc.insert(QStringLiteral("units"), units);
    writeLine(doc);
}

void event(const QString& name, const QString& unit, const QJsonObject& fields)
{
    if (mode_ != Mode::Events)
        return;
    QJsonObject o = fields;
    o.insert(QStringLiteral("event"), name);
    o.insert(QStringLiteral("unit"), unit);
    writeLine(o);
}

} // namespace RunOutput
