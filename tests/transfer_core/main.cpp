// Runs every test class of the transfer core; the exit code counts the failed classes.

#include "TestCells.h"

#include <QCoreApplication>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    return (runLoadTest(argc, argv) != 0) + (runSaveTest(argc, argv) != 0);
}
