// Runs the settings-file test classes one after the other.

#include <QCoreApplication>

int runTokenizerTest(int argc, char** argv);
int runKeywordTest(int argc, char** argv);
int runPassesTest(int argc, char** argv);
int runReaderTest(int argc, char** argv);
int runWriterTest(int argc, char** argv);

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    int failures = 0;
    failures += runTokenizerTest(argc, argv);
    failures += runKeywordTest(argc, argv);
    failures += runPassesTest(argc, argv);
    failures += runReaderTest(argc, argv);
    failures += runWriterTest(argc, argv);
    return failures == 0 ? 0 : 1;
}
