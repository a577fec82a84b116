// The line reader: endings, Windows-1252, the 29-line look-ahead, cut lines, files that
// are not settings files.

#include "settingsfile/SettingsFileIO.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace modFileAccess;

class ReaderTest : public QObject
{
    Q_OBJECT
private slots:
    void lines_data();
    void lines();
    void longLineIsCut();
    void endlessLineIsRefused();
    void hugeFileAfter29Lines();
    void unreadableFiles();
};

void ReaderTest::lines_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<bool>("moreFollows");

    QByteArray l29, s29;
    QStringList n29;
    for (int i = 1; i <= 29; ++i) {
        l29 += QByteArray::number(i) + "\r\n";
        n29.append(QString::number(i));
    }

    QTest::newRow("empty") << QByteArray() << QStringList() << false;
    QTest::newRow("one CR LF") << QByteArray("\r\n") << QStringList{""} << false;
    QTest::newRow("no ending") << QByteArray("abc") << QStringList{"abc"} << false;
    QTest::newRow("CR LF") << QByteArray("a\r\nb\r\n") << QStringList{"a", "b"} << false;
    QTest::newRow("mixed") << QByteArray("a\rb\nc\r\nd") << QStringList{"a", "b", "c", "d"}
                           << false;
    QTest::newRow("LF CR is two endings")
        << QByteArray("a\n\rb") << QStringList{"a", "", "b"} << false;
    QTest::newRow("CR CR LF") << QByteArray("a\r\r\nb") << QStringList{"a", "", "b"} << false;
    QTest::newRow("blank last line") << QByteArray("a\r\n\r\n") << QStringList{"a", ""} << false;
    QTest::newRow("blanks and tabs kept")
        << QByteArray("  a\t b  \n") << QStringList{"  a\t b  "} << false;
    QTest::newRow("Windows-1252") << QByteArray("\x80 caf\xe9 \x93q\x94 \x9f")
                                  << QStringList{QString::fromUtf8(
                                         "\u20ac caf\u00e9 \u201cq\u201d \u0178")}
                                  << false;
    QTest::newRow("NUL kept") << QByteArray("a\0b", 3) << QStringList{QString("a") + QChar(0) + "b"}
                              << false;
    QTest::newRow("29 lines") << l29 << n29 << false;
    QTest::newRow("29 lines, CR before the end") << l29.chopped(1) << n29 << false;
    QTest::newRow("29 lines and a blank one") << l29 + "\r\n" << n29 << true;
    QTest::newRow("29 lines and a lone LF") << l29 + "\n" << n29 << true;
    QTest::newRow("29 lines ended by CR, then LF CR") << l29.chopped(1) + "\n\r" << n29 << true;
    QTest::newRow("40 lines") << l29 + l29.left(30) << n29 << true;
}

void ReaderTest::lines()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QStringList, lines);
    QFETCH(bool, moreFollows);
    const SettingsReadResult r = readSettingsLines(bytes);
    QVERIFY(r.ok);
    QVERIFY(r.errorText.isEmpty());
    QCOMPARE(r.lines, lines);
    QCOMPARE(r.moreFollows, moreFollows);
}

void ReaderTest::longLineIsCut()
{
    const QByteArray bytes =
        "Comment " + QByteArray(100000, 'x') + "\r\nModel 1\r" + QByteArray(5000, 'y');
    const SettingsReadResult r = readSettingsLines(bytes);
    QVERIFY(r.ok);
    QCOMPARE(r.lines.size(), 3);
    QCOMPARE(r.lines[0].size(), MaxLineBytes);
    QVERIFY(r.lines[0].startsWith("Comment xxx"));
    QCOMPARE(r.lines[1], QStringLiteral("Model 1"));
    QCOMPARE(r.lines[2], QString(MaxLineBytes, 'y'));
}

void ReaderTest::endlessLineIsRefused()
{
    const SettingsReadResult r = readSettingsLines("a\r\n" + QByteArray(MaxReadBytes + 10, '\0'));
    QVERIFY(!r.ok);
    QVERIFY(r.lines.isEmpty());
    QVERIFY(!r.errorText.isEmpty());
}

void ReaderTest::hugeFileAfter29Lines()
{
    QByteArray bytes;
    for (int i = 0; i < 29; ++i)
        bytes += "Start Title 1\n";
    bytes += QByteArray(3 * MaxReadBytes, 'z');
    const SettingsReadResult r = readSettingsLines(bytes);
    QVERIFY(r.ok);
    QCOMPARE(r.lines.size(), 29);
    QVERIFY(r.moreFollows);
}

void ReaderTest::unreadableFiles()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const SettingsReadResult missing = readSettingsFile(dir.filePath("missing.txt"));
    QVERIFY(!missing.ok);
    QVERIFY(!missing.errorText.isEmpty());

    const SettingsReadResult directory = readSettingsFile(dir.path());
    QVERIFY(!directory.ok);
    QVERIFY(!directory.errorText.isEmpty());
}

int runReaderTest(int argc, char** argv)
{
    ReaderTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "ReaderTest.moc"
