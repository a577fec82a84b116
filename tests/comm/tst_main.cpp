// Runs every test class of the comm area in one executable.

#include "CommTests.h"
#include "comm/PortMap.h"

#include <QCoreApplication>
#include <QTest>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    // No test may reach a serial device of the machine: only mapped ports exist.
    PortMap::setTestMapping({});
    int failed = 0;
    {
        ReplyDecodeTest t;
        failed += QTest::qExec(&t, argc, argv);
    }
    {
        PortAccessTest t;
        failed += QTest::qExec(&t, argc, argv);
    }
    {
        CommandLayerTest t;
        failed += QTest::qExec(&t, argc, argv);
    }
    {
        SimulatorTest t;
        failed += QTest::qExec(&t, argc, argv);
    }
    return failed;
}
