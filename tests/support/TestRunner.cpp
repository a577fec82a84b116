#include "TestRunner.h"

#include <QApplication>
#include <QDir>
#include <QProcessEnvironment>
#include <QTemporaryDir>
#include <QMetaMethod>
#include <QTest>
#include <cstdio>
#include <algorithm>
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

// A name on the command line: "stories", "stories:some row", or with its class,
// "RackTest::stories:some row", where several classes have a function of that name.
std::string classOf(const std::string& name)
{
    const size_t at = name.find("::");
    return at == std::string::npos ? std::string() : name.substr(0, at);
}
std::string withoutClass(const std::string& name)
{
    const size_t at = name.find("::");
    return at == std::string::npos ? name : name.substr(at + 2);
}

// The class's test functions, without their data functions and Qt Test's own slots.
std::vector<std::string> functionsOf(const QObject& test)
{
    static const std::set<std::string> special = {"initTestCase", "cleanupTestCase", "init",
                                                  "cleanup"};
    std::vector<std::string> out;
    const QMetaObject* meta = test.metaObject();
    for (int i = meta->methodOffset(); i < meta->methodCount(); ++i) {
        const QMetaMethod m = meta->method(i);
        const std::string name = m.name().toStdString();
        const bool data = name.size() > 5 && name.compare(name.size() - 5, 5, "_data") == 0;
        if (m.methodType() == QMetaMethod::Slot && !data && !special.count(name))
            out.push_back(name);
    }
    return out;
}

bool hasFunction(const QObject& test, const std::string& name)
{
    if (!classOf(name).empty() && classOf(name) != test.metaObject()->className())
        return false;
    const std::string function = withoutClass(name).substr(0, withoutClass(name).find(':'));
    for (const std::string& f : functionsOf(test))
        if (f == function)
            return true;
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
    std::vector<std::string> without; // "--without=NAME": every function but these
    for (int i = 1; i < argc; ++i) {
        if (std::strncmp(argv[i], "--without=", 10) == 0) {
            without.emplace_back(argv[i] + 10);
        } else if (argv[i][0] == '-') {
            options.push_back(argv[i]);
            if (takesValue(argv[i]) && i + 1 < argc)
                options.push_back(argv[++i]);
        } else {
            names.push_back(argv[i]);
        }
    }
    int failed = 0;
    std::set<std::string> found;
    std::vector<std::string> local(names.begin(), names.end()); // as the class knows them
    for (std::string& n : local)
        n = withoutClass(n);
    const QProcessEnvironment atStart = QProcessEnvironment::systemEnvironment();
    const QString startFolder = QDir::currentPath();
    for (const Factory& make : registry()) {
        // Each class starts from the environment the run began with, in a scratch folder of
        // its own that also holds the temporary files its tests make.
        const QProcessEnvironment now = QProcessEnvironment::systemEnvironment();
        for (const QString& key : now.keys())
            if (!atStart.contains(key))
                qunsetenv(qPrintable(key));
        for (const QString& key : atStart.keys())
            qputenv(qPrintable(key), atStart.value(key).toLocal8Bit());
        QTemporaryDir scratch;
        qputenv("TMPDIR", scratch.path().toLocal8Bit());
        QDir::setCurrent(scratch.path());
        std::unique_ptr<QObject> test(make());
        std::vector<char*> args = options;
        std::vector<std::string> kept; // the functions left when some are left out
        if (names.empty() && !without.empty()) {
            for (const std::string& f : functionsOf(*test))
                if (std::none_of(without.begin(), without.end(), [&](const std::string& w) {
                        return hasFunction(*test, w) && withoutClass(w) == f;
                    }))
                    kept.push_back(f);
            if (kept.empty())
                continue;
            for (std::string& f : kept)
                args.push_back(f.data());
        }
        for (size_t i = 0; i < names.size(); ++i)
            if (hasFunction(*test, names[i])) {
                args.push_back(local[i].data());
                found.insert(names[i]);
            }
        if (!names.empty() && args.size() == options.size())
            continue; // none of the named functions is this class's
        if (QTest::qExec(test.get(), int(args.size()), args.data()) != 0)
            ++failed;
    }
    QDir::setCurrent(startFolder);
    for (char* name : names)
        if (!found.count(name)) {
            std::fprintf(stderr, "No test class has the function %s\n", name);
            ++failed;
        }
    return failed;
}
} // namespace TestRunner
