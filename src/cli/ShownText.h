#pragma once
// Text from a file or a command line made safe to show on a terminal: every control
// character (NUL, escape, bell, ...) as \xNN, so a message is never cut short at a NUL
// and never moves the cursor or rings the bell.

#include <QString>

QString shownText(const QString& text);
