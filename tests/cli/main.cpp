#include "support/TestRunner.h"

int main(int argc, char** argv)
{
    return TestRunner::runAll(argc, argv);
}
