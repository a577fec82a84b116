#pragma once
// A rack's progress on a terminal: one line per unit at the bottom of standard error,
// redrawn in place as the units go; every message written meanwhile appears above the
// lines. Elsewhere (a pipe, a file) there is no board and messages are plain lines, so
// nothing is written that would have to be erased.

#include <QString>
#include <QStringList>

namespace StderrBoard {

// Shows a line per label, while standard error is a terminal (or `force`, for tests).
void start(const QStringList& labels, bool force = false);
// Row `row`'s text after its label; redrawn soon, at most ten times a second.
void set(int row, const QString& text);
// The lines wiped; messages are plain lines again.
void stop();
// A message line on standard error, above the board while one is shown.
void writeLine(const QString& line);

} // namespace StderrBoard
