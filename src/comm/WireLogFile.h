#pragma once
// The wire log as a file that stands on its own, for support: a header with the program's
// version, the date and clock time of the first entry kept and the port last opened, then
// every entry with its clock time beside its milliseconds.

#include <QByteArray>
#include <QDateTime>
#include <QString>

class WireLog;

namespace WireLogFile {
QByteArray text(const WireLog& log);
// "corvane-wire-20261207-221530.log"
QString proposedName(const QDateTime& now);
} // namespace WireLogFile
