// Runs every test class of the transfer core; the exit code counts the failed classes.

#include "CellCodecTest.h"
#include "CompareTest.h"
#include "LoadValidationTest.h"
#include "SavePlanTest.h"

#include <QCoreApplication>
#include <QTest>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    int failed = 0;
    auto run = [&](QObject&& test) { failed += QTest::qExec(&test, argc, argv) != 0; };
    run(CellCodecTest());
    run(LoadValidationTest());
    run(SavePlanTest());
    run(CompareTest());
    return failed;
}
