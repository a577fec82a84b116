// Runs every test class of the comm area in one executable.

#include "CommTests.h"
#include "comm/PortMap.h"

#include <QCoreApplication>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    // No test may reach a serial device of the machine: only mapped ports exist.
    PortMap::setTestMapping({});
    return runReplyDecodeTest(argc, argv) + runPortAccessTest(argc, argv) +
           runCommandLayerTest(argc, argv);
}
