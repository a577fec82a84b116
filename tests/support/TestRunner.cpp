#include "TestRunner.h"

#include <QApplication>
#include <QTest>
#include <memory>

namespace TestRunner {
std::vector<Factory>& registry()
{
    static std::vector<Factory> factories;
    return factories;
}

int runAll(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    int failed = 0;
    for (const Factory& make : registry()) {
        std::unique_ptr<QObject> test(make());
        if (QTest::qExec(test.get(), argc, argv) != 0)
            ++failed;
    }
    return failed;
}
} // namespace TestRunner
