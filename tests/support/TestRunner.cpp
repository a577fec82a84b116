#include "TestRunner.h"

#include <QApplication>
#include <QMetaMethod>
#include <QTest>
#include <cstdio>
#include <cstring>
#include <memory>
#include <set>
#include <string>

namespace TestRunner {
std::vector<Factory>& registry()
{
    static std::vector<Factory> factories;
    return factories;
}

namespace {

// Qt Test's options that take a value after them.
bool takesValue(const char* option)
{
    static const std::set<std::string> withValue = {
        "-o",          "-maxwarnings", "-eventdelay", "-keydelay",     "-mousedelay",
        "-platform",   "-repeat",      "-seed",       "-minimumvalue", "-minimumtotal",
        "-iterations", "-median",      "-callgrind",  "-perfcounter"};
    return withValue.count(option) != 0;
}

// The test function a name ("loadMarks" or "loadMarks:some row") asks for.
std::string functionOf(const std::string& name)
{
    return name.substr(0, name.find(':'));
}

bool hasFunction(const QObject& test, const std::string& function)
{
    const QMetaObject* meta = test.metaObject();
    for (int i = meta->methodOffset(); i < meta->methodCount(); ++i) {
        const QMetaMethod m = meta->method(i);
        if (m.methodType() == QMetaMethod::Slot && m.name().toStdString() == function)
            return true;
    }
    return false;
}

} // namespace

int runAll(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    // The options go to every class; a function named on the command line only to the
    // class that has it, so one function can be run alone.
    std::vector<char*> options{argv[0]};
    std::vector<char*> names;
    for (int i = 1; i < argc; ++i) {
        if (argv[i][0] == '-') {
            options.push_back(argv[i]);
            if (takesValue(argv[i]) && i + 1 < argc)
                options.push_back(argv[++i]);
        } else {
            names.push_back(argv[i]);
        }
    }
    int failed = 0;
    std::set<std::string> found;
    for (const Factory& make : registry()) {
        std::unique_ptr<QObject> test(make());
        std::vector<char*> args = options;
        for (char* name : names)
            if (hasFunction(*test, functionOf(name))) {
                args.push_back(name);
                found.insert(name);
            }
        if (!names.empty() && args.size() == options.size())
            continue; // none of the named functions is this class's
        if (QTest::qExec(test.get(), int(args.size()), args.data()) != 0)
            ++failed;
    }
    for (char* name : names)
        if (!found.count(name)) {
            std::fprintf(stderr, "No test class has the function %s\n", name);
            ++failed;
        }
    return failed;
}
} // namespace TestRunner
