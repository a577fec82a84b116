#pragma once
// The steps the tool's commands share: choosing and opening the line, the load as the
// editor makes it, a settings file checked and applied as the preview and its OK apply
// it, and the wire log written out at the end. A unit's messages go through its host's
// voice; err() and out() are for what the tool says as a whole.

#include "cli/CliHost.h"
#include "cli/CliRequest.h"

#include <QString>
#include <optional>

namespace CliSession {

// A line of text on standard output or standard error, from the tool as a whole. With
// --json the results go into one document instead, and out() writes nothing.
void out(const QString& line);
// True while results go into JSON (--json, --events) instead of text lines.
bool jsonResults();
void err(const QString& line);

// COM numbers mapped to devices from "1=/dev/ttyUSB3,2=/dev/ttyS0" (CORVANE_PORT_MAP),
// instead of the machine's own listing. False with `error` for a malformed map.
bool applyPortMap(PortMap& ports, const QString& map, QString* error);

// The port the request names: --device becomes COM1, --port N stays. Exit code 3 when
// the device or port does not exist; 0 and `port` set otherwise (0 with port 0 when the
// request names none).
int choosePort(CliHost& host, const CliRequest& r, int16_t* port);

// Opens the chosen port at the unit's line settings: 0, or 2 with the reason told.
Task<int> openLine(CliHost& host, int16_t port);

// The port the request names, chosen and opened: 0, or the exit status.
Task<int> openChosenLine(CliHost& host, CliRequest r);

// A settings file the tool can use: 0, or 3 when it cannot be read or holds more lines
// than a settings file may (the preview's warning is told).
int checkSettingsFile(const UnitVoice& voice, const QString& path);

// "LOAD from Synchronizer": 0 without marks, 1 with marks (each told in plain words),
// 2 when the line failed. The model and channel read go into the host's report.
Task<int> load(CliHost& host);

// The file through the preview and its OK, after `unlock` opened the model/channel lock
// (as the key sequence does). Lines the preview reports are told. 0, or 3 when the file
// cannot be read now.
Task<int> applySettingsFile(CliHost& host, QString path);

// Opens the model/channel lock, as the hidden key sequence does.
void unlockModelChannel(CliHost& host);

// Writes the unit's wire log to `path`, as the line monitor saves it: 0, or 3 with the
// reason told.
int writeWireLog(CliHost& host, const QString& path);

// A file the command will write at the end, checked before the line is opened: its folder
// is there and it can be written. 0 (also for "": standard output), or 3 with why.
int checkOutputPath(const UnitVoice& voice, const QString& path);

// Every problem and message the flows showed since `from`, on the unit's standard error.
void tellShown(const CliHost& host, int problemsFrom, int messagesFrom);

} // namespace CliSession
