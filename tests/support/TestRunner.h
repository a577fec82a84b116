#pragma once
// Several Qt Test classes in one executable: each test file registers its class with
// CORVANE_TEST_CLASS, and the executable's main() calls TestRunner::runAll.

#include <QObject>
#include <functional>
#include <vector>

namespace TestRunner {
using Factory = std::function<QObject*()>;
std::vector<Factory>& registry();
struct Register
{
    explicit Register(Factory f) { registry().push_back(std::move(f)); }
};
// Creates the QApplication (offscreen unless QT_QPA_PLATFORM says otherwise), runs every
// registered class (or those with the functions named: "stories", "stories:row",
// "RackTest::stories"; "--without=NAME" runs all but those), each from the same environment
// in a scratch folder of its own, and returns the number of failed classes.
int runAll(int argc, char** argv);
} // namespace TestRunner

#define CORVANE_TEST_CLASS(Class)                                                                  \
    static const TestRunner::Register corvaneRegister##Class([] { return new Class; });
