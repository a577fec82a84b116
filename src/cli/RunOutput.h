#pragma once
// What a run tells scripts on standard output. Three ways, chosen once per run:
//  - human: results as text lines (settings files, differences, a rack's table);
//  - --json: one document at the end, of one shape for one unit or many:
//      {"schema": 1, "status": N, "units": [ {unit report}, ... ]}
//  - --events: one JSON line per event as it happens ("unit started", "progress",
//    "cell retried", "unit done"), the last one "run done" carrying the document's keys.
// Data and JSON never share the stream: with JSON or events, results go into the document.

#include <QJsonArray>
#include <QJsonObject>
#include <QString>

namespace RunOutput {

constexpr int Schema = 1;

enum class Mode
{
    Human,
    Json,
    Events
};
void setMode(Mode mode);
Mode mode();
// True when results go into JSON instead of text lines.
inline bool machine()
{
    return mode() != Mode::Human;
}

// The closing document (Json), or the "run done" event (Events); nothing for Human.
// `extra` adds keys of the command's own (ports: "ports", "unusable").
void finish(int status, const QJsonArray& units, const QJsonObject& extra = {});

// One event line, while the mode is Events: {"event": name, "unit": unit, ...fields}.
void event(const QString& name, const QString& unit, const QJsonObject& fields = {});

} // namespace RunOutput
