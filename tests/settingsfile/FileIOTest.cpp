// Settings files as bytes: the line reader (endings, Windows-1252, the 29-line look-ahead,
// files too big to be settings files) and the writer's encoding.

#include "settingsfile/SettingsFileIO.h"
#include "settingsfile/SettingsLines.h"

#include <QTest>

using namespace modFileAccess;

class FileIOTest : public QObject
{
    Q_OBJECT
private slots:
    void lines_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QStringList>("lines");
        QTest::addColumn<bool>("moreFollows");

        QByteArray l29;
        QStringList n29;
        for (int i = 1; i <= 29; ++i) {
            l29 += QByteArray::number(i) + "\r\n";
            n29.append(QString::number(i));
        }
        QTest::newRow("empty") << QByteArray() << QStringList() << false;
        QTest::newRow("mixed, blank last line")
            << QByteArray(" a\t \rb\nc\r\n\r\n") << QStringList{" a\t ", "b", "c", ""} << false;
        QTest::newRow("LF CR is two endings, last without ending")
            << QByteArray("a\n\rb") << QStringList{"a", "", "b"} << false;
        QTest::newRow("CR CR LF") << QByteArray("a\r\r\nb") << QStringList{"a", "", "b"} << false;
        QTest::newRow("Windows-1252, NUL kept")
            << QByteArray("\x80 caf\xe9 \x93q\x94\0z", 12)
            << QStringList{QString::fromUtf8("\u20ac caf\u00e9 \u201cq\u201d") + QChar(0) + "z"}
            << false;
        QTest::newRow("29 lines") << l29 << n29 << false;
        QTest::newRow("29 lines, CR before the end") << l29.chopped(1) << n29 << false;
        QTest::newRow("29 lines and a blank one") << l29 + "\n" << n29 << true;
        QTest::newRow("29 lines ended by CR, then LF CR") << l29.chopped(1) + "\n\r" << n29 << true;
    }

    void lines()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QStringList, lines);
        QFETCH(bool, moreFollows);
        const SettingsReadResult r = readSettingsLines(bytes);
        QVERIFY(r.ok);
        QCOMPARE(r.lines, lines);
        QCOMPARE(r.moreFollows, moreFollows);
    }

    void oversizedInput()
    {
        // A long line is cut, and reading goes on with the next line.
        SettingsReadResult r =
            readSettingsLines("Comment " + QByteArray(100000, 'x') + "\r\nModel 1");
        QVERIFY(r.ok);
        QCOMPARE(r.lines.size(), 2);
        QCOMPARE(r.lines[0], "Comment " + QString(MaxLineBytes - 8, 'x'));
        QCOMPARE(r.lines[1], QStringLiteral("Model 1"));
        // Endless lines within the first 29 lines: not a settings file.
        r = readSettingsLines("a\r\n" + QByteArray(MaxReadBytes + 10, '\0'));
        QVERIFY(!r.ok);
        QVERIFY(r.lines.isEmpty());
        QVERIFY(!r.errorText.isEmpty());
        // Whatever follows the 29th line is not read.
        r = readSettingsLines(QByteArray("Start Title 1\n").repeated(29) +
                              QByteArray(3 * MaxReadBytes, 'z'));
        QVERIFY(r.ok);
        QCOMPARE(r.lines.size(), 29);
        QVERIFY(r.moreFollows);
    }

    void writerEncodesCodePage()
    {
        EditorSnapshot f;
        f.txtComment = QString::fromUtf8("\u00e9\u20ac a\u2192b\U0001F600c");
        const QStringList saved =
            BuildSettingsLines(f, QDateTime(QDate(2008, 3, 14), QTime(10, 15, 7)));
        QCOMPARE(saved.size(), SettingsLineCount);
        // A character outside the code page, a surrogate pair too, becomes one "?".
        QCOMPARE(encodeSettingsLines(saved).split('\n').at(18),
                 QByteArray("Comment \xe9\x80 a?b?c\r"));
    }
};

int runFileIOTest(int argc, char** argv)
{
    FileIOTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "FileIOTest.moc"
