// Saving through the editor's button and menu entry: the twenty lines as bytes, and a
// file that exists already being replaced without a question.

#include "FileRig.h"
#include "app/EditorDefaults.h"
#include "support/TestRunner.h"

#include <QDir>

class SaveFlowTest : public QObject
{
    Q_OBJECT
private slots:
    void saveWritesTwentyLines_data();
    void saveWritesTwentyLines();
};

void SaveFlowTest::saveWritesTwentyLines_data()
{
    QTest::addColumn<bool>("viaMenu");
    QTest::addColumn<QByteArray>("oldFile"); // empty: no file there yet
    QTest::newRow("button, new file") << false << QByteArray();
    QTest::newRow("menu, new file") << true << QByteArray();
    QTest::newRow("button, replaces a longer file")
        << false << QByteArray(5000, 'x') + "\r\nComment old\r\n";
}

void SaveFlowTest::saveWritesTwentyLines()
{
    QFETCH(bool, viaMenu);
    QFETCH(QByteArray, oldFile);

    FileRig f;
    modCorvaneComm::SetDefaults(f.main());
    const QString file = f.path("saved"); // used as typed: no extension is added
    if (!oldFile.isEmpty())
        f.writeBytes(file, oldFile);

    if (viaMenu) {
        f.modal.fileAnswers << file;
        f.main().menuFileSave->trigger();
    } else {
        f.save(file);
    }

    QByteArray written = FileRig::readBytes(file);
    QList<QByteArray> lines = written.split('\n');
    QCOMPARE(lines.size(), 21);
    QVERIFY(lines.last().isEmpty());
    QVERIFY2(lines[1].startsWith("Timestamp ") && lines[1].size() > 12, lines[1].constData());
    // The time of saving aside, the bytes are those of the example file.
    QByteArray example = FileRig::exampleFile();
    QList<QByteArray> exampleLines = example.split('\n');
    lines[1] = exampleLines[1];
    QCOMPARE(lines.join('\n'), example);

    QCOMPARE(QDir(f.dir.path()).entryList(QDir::Files), QStringList{"saved"});
    QCOMPARE(f.main().windowTitle(), file);
    QCOMPARE(f.g().SettingsFileName, file);
    QVERIFY(f.modal.messages().isEmpty());
    QCOMPARE(f.modal.count(Modal::Request::SaveFile), 1);
    const Modal::Request& ask = f.modal.requests.front();
    QCOMPARE(ask.caption, QString("Corvane 2.0(beta) -- File for Save"));
    QCOMPARE(ask.filter, QString("All Files (*.*);;Text Files (*.txt)"));
    QCOMPARE(ask.selectedFilter, QString("Text Files (*.txt)"));
}

CORVANE_TEST_CLASS(SaveFlowTest)
#include "SaveFlowTest.moc"
