// Runs the settings-file test classes one after the other.

#include <QCoreApplication>

int runParserTest(int argc, char** argv);
int runFileIOTest(int argc, char** argv);

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const int parserFailures = runParserTest(argc, argv);
    return (parserFailures | runFileIOTest(argc, argv)) == 0 ? 0 : 1;
}
