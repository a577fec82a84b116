// The twenty lines, their bytes on disk, and what the parser makes of them again.

#include "RecordingSink.h"
#include "settingsfile/Parser.h"
#include "settingsfile/SettingsFileIO.h"
#include "settingsfile/SettingsLines.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace modFileAccess;

namespace {
const QString DataDir = QStringLiteral(CORVANE_SETTINGS_DATA);
const QDateTime SomeTime(QDate(2008, 3, 14), QTime(10, 15, 7));

EditorFields defaultFields()
{
    EditorFields f;
    f.model = "22";
    f.channel = "1";
    f.startFrame = "1";
    f.endFrame = "1000";
    f.startTitle = "1";
    f.endTitle = "2";
    f.startChapter = "1";
    f.endChapter = "2";
    f.initStr = {"0KL0DS", "", "", ""};
    return f;
}

QByteArray fileBytes(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The lines of `bytes` split at CR LF, with line 2 (the timestamp) left out.
QList<QByteArray> withoutTimestamp(const QByteArray& bytes)
{
    QList<QByteArray> lines = bytes.split('\n');
    if (lines.size() > 1)
        lines.removeAt(1);
    return lines;
}
} // namespace

class WriterTest : public QObject
{
    Q_OBJECT
private slots:
    void defaultsGiveTheExampleFile();
    void lineValues_data();
    void lineValues();
    void rebuildStartsAtLineOne();
    void savingTwiceDiffersOnlyInTimestamp();
    void writeReplacesFile();
    void writeFailureKeepsOldFile();
    void roundTrip();
};

void WriterTest::defaultsGiveTheExampleFile()
{
    Globals g;
    BuildSettingsLines(g, defaultFields(), SomeTime);
    QCOMPARE(int(g.SaveLineCount), 20);
    const QByteArray bytes = encodeSettingsLines(savedLines(g));
    QCOMPARE(bytes.count("\r\n"), 20);
    QVERIFY(bytes.endsWith("Save File\r\n"));
    QCOMPARE(withoutTimestamp(bytes), withoutTimestamp(fileBytes(DataDir + "/defaults.txt")));
    QCOMPARE(g.SaveLines[1], "Timestamp " + SettingsTimestamp(SomeTime));
}

void WriterTest::lineValues_data()
{
    QTest::addColumn<int>("change");
    QTest::addColumn<int>("lineIndex");
    QTest::addColumn<QByteArray>("line");

    QTest::newRow("start title mode") << 0 << 4 << QByteArray("Start Mode Title");
    QTest::newRow("start timecode mode") << 1 << 4 << QByteArray("Start Mode Timecode");
    QTest::newRow("end frame mode") << 2 << 5 << QByteArray("End Mode Frame");
    QTest::newRow("synchronize off") << 3 << 12 << QByteArray("Synchronize Off");
    QTest::newRow("squelch value 2 is on") << 4 << 13 << QByteArray("Squelch On");
    QTest::newRow("init string with blanks") << 5 << 15 << QByteArray("Init String 2  a b  ");
    QTest::newRow("comment in the code page") << 6 << 18 << QByteArray("Comment caf\xe9 \x80");
    QTest::newRow("character outside the code page") << 7 << 18 << QByteArray("Comment a?b?c");
    QTest::newRow("frame text as the editor holds it") << 8 << 6 << QByteArray("Start Frame 12");
}

void WriterTest::lineValues()
{
    QFETCH(int, change);
    QFETCH(int, lineIndex);
    QFETCH(QByteArray, line);
    EditorFields f = defaultFields();
    switch (change) {
    case 0:
        f.startMode = PointMode::Title;
        break;
    case 1:
        f.startMode = PointMode::Timecode;
        break;
    case 2:
        f.endMode = PointMode::Frame;
        break;
    case 3:
        f.synchronize = 0;
        break;
    case 4:
        f.squelch = 2;
        break;
    case 5:
        f.initStr[1] = " a b  ";
        break;
    case 6:
        f.comment = QString::fromUtf8("caf\u00e9 \u20ac");
        break;
    case 7:
        f.comment = QString::fromUtf8("a\u2192b\U0001F600c");
        break;
    case 8:
        f.startFrame = "12";
        break;
    }
    Globals g;
    BuildSettingsLines(g, f, SomeTime);
    const QList<QByteArray> lines = encodeSettingsLines(savedLines(g)).split('\n');
    QCOMPARE(lines.at(lineIndex), line + "\r");
}

void WriterTest::rebuildStartsAtLineOne()
{
    Globals g;
    g.SaveLineCount = 7;
    g.SaveLines[20] = "left over";
    BuildSettingsLines(g, defaultFields(), SomeTime);
    QCOMPARE(int(g.SaveLineCount), 20);
    QVERIFY(g.SaveLines[0].startsWith("Begin Quillmere Corvane 2.0(beta) Save File"));
    QCOMPARE(savedLines(g).size(), 20);
}

void WriterTest::savingTwiceDiffersOnlyInTimestamp()
{
    Globals a, b;
    BuildSettingsLines(a, defaultFields(), SomeTime);
    BuildSettingsLines(b, defaultFields(), SomeTime.addSecs(3600 * 25 + 1));
    QVERIFY(a.SaveLines[1] != b.SaveLines[1]);
    QVERIFY(a.SaveLines[1].startsWith("Timestamp "));
    for (int i = 0; i < 20; ++i) {
        if (i != 1)
            QCOMPARE(a.SaveLines[i], b.SaveLines[i]);
    }
}

void WriterTest::writeReplacesFile()
{
    QTemporaryDir dir;
    const QString path = dir.filePath("set.txt");
    {
        QFile old(path);
        QVERIFY(old.open(QIODevice::WriteOnly));
        old.write(QByteArray(5000, 'o'));
    }
    Globals g;
    BuildSettingsLines(g, defaultFields(), SomeTime);
    QString error;
    QVERIFY(writeSettingsFile(path, savedLines(g), &error));
    QCOMPARE(fileBytes(path), encodeSettingsLines(savedLines(g)));
}

void WriterTest::writeFailureKeepsOldFile()
{
    QTemporaryDir dir;
    QString error;
    QVERIFY(!writeSettingsFile(dir.filePath("no/such/dir/set.txt"), {"x"}, &error));
    QVERIFY(!error.isEmpty());
    // A directory in the file's place: nothing replaces it.
    QVERIFY(QDir(dir.path()).mkdir("taken"));
    error.clear();
    QVERIFY(!writeSettingsFile(dir.filePath("taken"), {"x"}, &error));
    QVERIFY(!error.isEmpty());
    QVERIFY(QFileInfo(dir.filePath("taken")).isDir());
}

void WriterTest::roundTrip()
{
    EditorFields f;
    f.model = "41";
    f.channel = "7";
    f.startMode = PointMode::Frame;
    f.endMode = PointMode::Timecode;
    f.startFrame = "12345";
    f.endFrame = "1079999";
    f.startTitle = "3";
    f.endTitle = "98";
    f.startChapter = "12";
    f.endChapter = "13";
    f.synchronize = 0;
    f.squelch = 1;
    f.initStr = {"0KL0DS 12SE", "AB CD EF GH IJ KL MN OP", " x ", ""};
    f.comment = QString::fromUtf8("caf\u00e9  wall 2 ");
    Globals g;
    g.ModelChannelUnlocked = true;
    BuildSettingsLines(g, f, SomeTime);
    const SettingsReadResult read = readSettingsLines(encodeSettingsLines(savedLines(g)));
    QVERIFY(read.ok);
    RecordingSink sink;
    modParser::PreviewFile(g, sink, read.lines, read.moreFollows);
    QCOMPARE(sink.errorCount, 0);
    QCOMPARE(int(g.AcceptedCount), 17);
    modParser::ApplyAcceptedLines(g, sink);
    QCOMPARE(sink.fields.value("InitStr1"), f.initStr[0]);
    QCOMPARE(sink.fields.value("InitStr2"), f.initStr[1]);
    QCOMPARE(sink.fields.value("InitStr3"), f.initStr[2]);
    QCOMPARE(sink.fields.value("InitStr4"), f.initStr[3]);
    QCOMPARE(sink.fields.value("Comment"), f.comment);
    QCOMPARE(sink.state().section(' ', 0, 0), QStringLiteral("Channel=7"));
    QVERIFY(sink.state().endsWith("EndTitle=98 InitStr1=0KL0DS 12SE InitStr2=AB CD EF GH IJ KL "
                                  "MN OP InitStr3= x  InitStr4= Model=41 Squelch=1 "
                                  "StartChapter=12 StartFrame=12345 StartMode=StartFrame "
                                  "StartTitle=3 Synchronize=0"));
    QVERIFY(sink.state().contains("EndFrame=1079999 EndMode=EndTimecode "));
}

int runWriterTest(int argc, char** argv)
{
    WriterTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "WriterTest.moc"
