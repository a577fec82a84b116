#pragma once
// corvane-sim's command line.

#include <QString>

struct SimOptions
{
    int units = 8;
    bool pacing = true;
    bool json = false;
    bool ser2net = false;
    int basePort = 0; // 0: the first free block from 17001
    bool help = false;
    bool shell = false; // serve while a shell of their own runs, instead of reading stdin
};

// Fills `options` from argv; false with a one-line `error` for a bad option.
bool parseSimOptions(int argc, char** argv, SimOptions* options, QString* error);

QString simUsage();
