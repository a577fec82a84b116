// TokenizeLine and StripCommas.

#include "settingsfile/Parser.h"

#include <QTest>

using namespace modParser;

class TokenizerTest : public QObject
{
    Q_OBJECT
private slots:
    void tokenize_data();
    void tokenize();
    void stripCommas_data();
    void stripCommas();
};

void TokenizerTest::tokenize_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<bool>("isList");
    QTest::addColumn<QStringList>("words");

    QTest::newRow("empty") << "" << false << QStringList();
    QTest::newRow("blanks only") << "   " << false << QStringList();
    QTest::newRow("tabs and blanks only") << "\t \t" << false << QStringList();
    QTest::newRow("one word") << "Comment" << true << QStringList{"Comment"};
    QTest::newRow("two words") << "Model 22" << true << QStringList{"Model", "22"};
    QTest::newRow("double blank gives empty word")
        << "Start  Title 5" << true << QStringList{"Start", "", "Title", "5"};
    QTest::newRow("tab is a blank") << "Model\t22" << true << QStringList{"Model", "22"};
    QTest::newRow("two tabs give empty word")
        << "Model\t\t22" << true << QStringList{"Model", "", "22"};
    QTest::newRow("blank tab blank") << "a \t b" << true << QStringList{"a", "", "", "b"};
    QTest::newRow("outer blanks and tabs removed")
        << " \t Model 22 \t " << true << QStringList{"Model", "22"};
    QTest::newRow("trailing blank of an empty value")
        << "Init String 2 " << true << QStringList{"Init", "String", "2"};
    QTest::newRow("no-break blank is not a separator")
        << QString::fromUtf8("a\u00a0b c") << true
        << QStringList{QString::fromUtf8("a\u00a0b"), "c"};
    QTest::newRow("other control characters stay")
        << QString::fromLatin1("a\fb\x01 c") << true
        << QStringList{QString::fromLatin1("a\fb\x01"), "c"};
}

void TokenizerTest::tokenize()
{
    QFETCH(QString, line);
    QFETCH(bool, isList);
    QFETCH(QStringList, words);
    const WordList result = TokenizeLine(line);
    QCOMPARE(result.has_value(), isList);
    if (isList)
        QCOMPARE(*result, words);
}

void TokenizerTest::stripCommas_data()
{
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("expected");
    QTest::newRow("empty gives 0") << ""
                                   << "0";
    QTest::newRow("thousands") << "1,234"
                               << "1234";
    QTest::newRow("everywhere") << ",1,,2,"
                                << "12";
    QTest::newRow("no comma") << "abc"
                              << "abc";
    QTest::newRow("commas only give 0") << ",,"
                                        << "0";
    QTest::newRow("other separators stay") << "1.234"
                                           << "1.234";
}

void TokenizerTest::stripCommas()
{
    QFETCH(QString, value);
    QFETCH(QString, expected);
    QCOMPARE(StripCommas(value), expected);
}

int runTokenizerTest(int argc, char** argv)
{
    TokenizerTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "TokenizerTest.moc"
