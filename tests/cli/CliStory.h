#pragma once
// Stories of corvane-cli: the units and files of support/Story.h, then
//   "cli write %f.txt %dev"   the command line run in this process, unpaced, with the
//                             units' port map (%dev: --device and COM1's unit, %dev2 ...)
//   "process write ..."       the tool as a process of its own, at the line's real times
//   "cap files at 512 bytes"  the next processes cannot write more to a file
//   "portmap x=/dev/null"     CORVANE_PORT_MAP as given, not the units' map
//   "timing in-step"          unpaced, but the real pause after each write, so the host
//                             stays in step with the unit ("timing paced": the real times)
//   "undo COM1"               the restore the last run told for COM1, run as told
// and the facts of the last run: status, out, err, json:units[1].model, events (each line
// of standard output as JSON: "unit started COM1 | ... | run done", progress left out).

#include "CliRig.h"
#include "support/Story.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <csignal>
#include <sys/resource.h>

class CliStory : public Story::Teller
{
public:
    CliTest::Run last;
    LineTiming timing = LineTiming::unpaced();

protected:
    bool step(const QString& verb, const QString& rest) override
    {
        if (verb == "portmap") { // the variable as given, instead of the units' map
            mapGiven_ = rest;
            return true;
        }
        if (verb == "cli") {
            last = CliTest::runCli(rest.split(' ', Qt::SkipEmptyParts),
                                   mapGiven_.isEmpty() ? portMap() : mapGiven_, timing);
            return true;
        }
        if (verb == "process") {
            last = CliTest::runProcess(rest.split(' ', Qt::SkipEmptyParts), 120000,
                                       {{"CORVANE_PORT_MAP", portMap()}}, inChild_);
            return last.finished;
        }
        if (verb == "cap" && rest == "files at 512 bytes") {
            // The process may write files of 512 bytes at most; past it a write fails
            // (SIGXFSZ ignored), as on a disk that fills.
            inChild_ = [] {
                ::signal(SIGXFSZ, SIG_IGN);
                const struct rlimit cap = {512, 512};
                ::setrlimit(RLIMIT_FSIZE, &cap);
            };
            return true;
        }
        if (verb == "undo") { // "COM1: its backup is ...; to undo: corvane-cli restore ..."
            const QString told = last.err.section(rest + ": its backup is ", 1).section('\n', 0, 0);
            const QString command = told.section("; to undo: corvane-cli ", 1);
            if (command.isEmpty())
                return false;
            last = CliTest::runCli(command.split(' ', Qt::SkipEmptyParts), portMap(), timing);
            return true;
        }
        if (verb == "timing") {
            timing = rest == "paced" ? LineTiming{} : LineTiming::unpaced();
            if (rest == "in-step")
                timing.afterWriteMs = LineTiming{}.afterWriteMs;
            return true;
        }
        return Teller::step(verb, rest);
    }

    QString fact(const QString& key) override
    {
        if (key == "status")
            return QString::number(last.status);
        if (key == "out")
            return last.out;
        if (key == "err")
            return last.err;
        if (key == "events")
            return eventsIn(last.out);
        if (key.startsWith("json:"))
            return jsonAt(QJsonDocument::fromJson(last.out.toUtf8()).object(), key.mid(5));
        return Teller::fact(key);
    }

    QString place(QString row) override
    {
        static const QRegularExpression device("%dev(\\d*)");
        QRegularExpressionMatch m;
        while ((m = device.match(row)).hasMatch())
            row.replace(m.capturedStart(), m.capturedLength(),
                        "--device %path" + (m.captured(1).isEmpty() ? "1" : m.captured(1)));
        return Teller::place(row);
    }

private:
    QString mapGiven_;

    // The event lines' names and units (and a retried cell), progress left out; a line
    // that is not one JSON object is shown as such.
    static QString eventsIn(const QString& out)
    {
        QStringList told;
        for (const QString& line : out.split('\n', Qt::SkipEmptyParts)) {
            const QJsonObject e = QJsonDocument::fromJson(line.toUtf8()).object();
            const QString name = e.value("event").toString();
            if (name.isEmpty())
                told << "not JSON: " + line;
            else if (name != "progress")
                told << QStringList{name, e.value("unit").toString(), e.value("cell").toString()}
                            .join(' ')
                            .trimmed();
        }
        return told.join(" | ");
    }
    std::function<void()> inChild_;

    // "units[1].model" in a JSON document, as text.
    static QString jsonAt(const QJsonObject& doc, const QString& path)
    {
        QJsonValue v = doc;
        for (const QString& part : path.split('.')) {
            v = v.toObject().value(part.section('[', 0, 0));
            if (part.contains('['))
                v = v.toArray().at(part.section('[', 1).chopped(1).toInt());
        }
        if (v.isString())
            return v.toString();
        if (v.isDouble())
            return QString::number(v.toInteger());
        if (v.isArray())
            return QString::number(v.toArray().size()) + " entries";
        return v.isNull() ? "null" : v.isBool() ? (v.toBool() ? "true" : "false") : "?";
    }
};
