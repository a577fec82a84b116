// The one main() of every test executable that registers its classes with CORVANE_TEST_CLASS.

#include "support/TestRunner.h"

int main(int argc, char** argv)
{
    return TestRunner::runAll(argc, argv);
}
