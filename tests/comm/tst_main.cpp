// Runs every test class of the comm area in one executable.

#include "CommTests.h"

#include <QCoreApplication>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    // Every rig maps its own ports: no test reaches a serial device of the machine.
    return runReplyDecodeTest(argc, argv) + runSerialControlTest(argc, argv) +
           runPortTroubleTest(argc, argv) + runCommandLayerTest(argc, argv);
}
