// Saving through the real windows: the twenty lines as bytes, a save that fails part way
// (the old file must survive it), every editor state read back as it was saved, and
// init strings too long together showing the limit message once per file.

#include "FileRig.h"
#include "app/Spinner.h"
#include "flows/EditorDefaults.h"
#include "support/TestRunner.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QRadioButton>
#include <csignal>
#include <sys/resource.h>

namespace {
// Sets the editor through its controls, as a user does, from "model|channel|start mode|
// end mode|start frame|end frame|start title|end title|start chapter|end chapter|
// synchronize|squelch|comment|init 1|init 2|init 3|init 4" (no model: locked).
void setState(FileRig& f, const QString& state)
{
    const QStringList v = state.split('|');
    frmMain& m = f.main();
    if (!v[0].isEmpty()) {
        f.unlockModelChannel();
        ctl<Spinner>(m, "scrModel")->setValueNotify(v[0].toInt());
        ctl<Spinner>(m, "scrChannel")->setValueNotify(v[1].toInt());
    }
    m.findChild<QRadioButton*>("optStart" + v[2])->setChecked(true);
    m.findChild<QRadioButton*>("optEnd" + v[3])->setChecked(true);
    ctl<QLineEdit>(m, "txtEndFrame")->setText(v[5]);
    ctl<QLineEdit>(m, "txtStartFrame")->setText(v[4]);
    ctl<Spinner>(m, "scrEndTitle")->setValueNotify(v[7].toInt());
    ctl<Spinner>(m, "scrStartTitle")->setValueNotify(v[6].toInt());
    ctl<Spinner>(m, "scrEndChapter")->setValueNotify(v[9].toInt());
    ctl<Spinner>(m, "scrStartChapter")->setValueNotify(v[8].toInt());
    ctl<QCheckBox>(m, "chkSynchronize")->setChecked(v[10] == "1");
    ctl<QCheckBox>(m, "chkSquelch")->setChecked(v[11] == "1");
    ctl<QLineEdit>(m, "txtComment")->setText(v[12]);
    for (int i = 0; i < 4; ++i) // no step of the tests' states goes over 58 characters
        ctl<QLineEdit>(m, QStringLiteral("txtInitStr%1").arg(i + 1))->setText(v[13 + i]);
}
} // namespace

class SaveFlowTest : public QObject
{
    Q_OBJECT
private slots:
    void saveWritesTwentyLines()
    {
        FileRig f;
        f.main().cmdDefaults_Click();
        const QString file = f.writeFile("saved", QByteArray(5000, 'x')); // a longer file
        f.run(ctl<QAction>(f.main(), "menuFileSave"), file);

        QList<QByteArray> lines = FileRig::readBytes(file).split('\n');
        const QList<QByteArray> example = FileRig::exampleFile().split('\n');
        QVERIFY2(lines.value(1).startsWith("Timestamp ") && lines[1].size() > 12, lines.value(1));
        lines[1] = example[1]; // the time of saving aside, the bytes are the example file's
        QCOMPARE(lines, example);
        QCOMPARE(f.main().windowTitle(), file);
    }

    // Right after start-up the init-string boxes are empty, and so is what a file keeps.
    void startUpSaveHoldsWhatTheEditorShows()
    {
        FileRig f;
        const QString file = f.dir.filePath("startup.txt");
        f.save(file);
        const QList<QByteArray> lines = FileRig::readBytes(file).split('\n');
        QCOMPARE(lines.size(), 21);
        for (int i = 0; i < 4; ++i) {
            QCOMPARE(ctl<QLineEdit>(f.main(), QStringLiteral("txtInitStr%1").arg(i + 1))->text(),
                     QString());
            QCOMPARE(lines[14 + i], QByteArray("Init String ") + char('1' + i) + " \r");
        }
        QCOMPARE(f.main().model().record().InitStr[0], QString());
    }

    void failedSaveKeepsOldFile()
    {
        FileRig f;
        const QByteArray old = "Begin Quillmere old\r\nComment keep me\r\n";
        const QString file = f.writeFile("old.txt", old);
        // A file-size limit fails the write part way, as a full disk does (even for root).
        rlimit saved{};
        getrlimit(RLIMIT_FSIZE, &saved);
        const rlimit lowered{64, saved.rlim_max}; // the twenty lines take several hundred bytes
        std::signal(SIGXFSZ, SIG_IGN);
        QVERIFY(setrlimit(RLIMIT_FSIZE, &lowered) == 0);
        f.save(file);
        setrlimit(RLIMIT_FSIZE, &saved);

        // One message box, naming the file and the system's reason.
        QCOMPARE(f.modal.messages().size(), 1);
        QCOMPARE(f.modal.messages()[0].section("\r\n", 1, 1), QDir::toNativeSeparators(file));
        QVERIFY(!f.modal.messages()[0].section("\r\n", 2).trimmed().isEmpty());
        QCOMPARE(FileRig::readBytes(file), old);
        QCOMPARE(QDir(f.dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"old.txt"});
    }

    void cancelledOrUnreadableChangesNothing()
    {
        FileRig f;
        const QStringList before = f.fields();
        const QString title = f.main().windowTitle();
        f.load(QString()); // cancelled dialogs
        f.save(QString());
        QCOMPARE(f.main().windowTitle(), title);
        QVERIFY(f.modal.messages().isEmpty());
        QVERIFY(QDir(f.dir.path()).entryList(QDir::Files).isEmpty());

        for (const QString& bad : {f.dir.filePath("missing.txt"), f.dir.path()}) {
            f.modal.clear();
            f.load(bad);
            QCOMPARE(f.modal.messages().size(), 1);
            QVERIFY(f.modal.messages()[0].contains(QDir::toNativeSeparators(bad)));
            QVERIFY(!f.preview().isVisible());
            QCOMPARE(f.fields(), before);
            QVERIFY(f.app->filePreview.details().isEmpty()); // no preview was started
        }
    }

    void savedStateReadsBack_data()
    {
        QTest::addColumn<QString>("state");
        QTest::newRow("unlocked, blanks, tab, code-page letters")
            << "45|7|Title|Timecode|12345|1079999|5|60|3|98|0|1|  Grüß  €x |AB CD| lead|trail  "
               "|X\tY";
        QTest::newRow("locked, init strings filling 58, comment of 15")
            << "||Timecode|Title|1|1000|1|2|1|2|1|0|Fifteen chars!!|" + QString(23, 'A') + "|" +
                   QString(23, 'B') + "|C 2 3 4 5 6 |";
    }

    void savedStateReadsBack()
    {
        QFETCH(QString, state);
        FileRig f;
        setState(f, state);
        const QStringList saved = f.fields();
        QCOMPARE(saved.mid(2), state.split('|').mid(2)); // the state was taken as meant
        const QString file = f.dir.filePath("state.txt");
        f.save(file);
        // Unlike every row, with init strings that fill the 58 characters from the back:
        // the file's strings must not be judged against these.
        const QString other = "|Frame|Frame|777|888|40|50|30|31|0|0|other||" + QString(12, 'X') +
                              '|' + QString(23, 'Y') + '|' + QString(23, 'Z');
        setState(f, (state.startsWith('|') ? "|" : "98|97") + other);
        f.load(file);
        f.accept();
        QCOMPARE(f.fields(), saved);
        QVERIFY(f.modal.messages().isEmpty());
    }

    void limitMessageOncePerFile()
    {
        FileRig f;
        QByteArray bytes;
        for (char c : {'1', '2', '3', '4'})
            bytes += QByteArray("Init String ") + c + ' ' + QByteArray(23, c) + '\n';
        f.load(f.writeFile("long.txt", bytes));
        f.accept();
        QCOMPARE(f.modal.messages().size(), 1); // the limit message, once
        const QStringList cut = {QString(23, '1'), QString(23, '2'), QString(12, '3'), ""};
        QStringList boxes;
        for (int i = 1; i <= 4; ++i)
            boxes << ctl<QLineEdit>(f.main(), QStringLiteral("txtInitStr%1").arg(i))->text();
        QCOMPARE(boxes, cut);
        QCOMPARE(QStringList(f.main().model().record().InitStr.begin(),
                             f.main().model().record().InitStr.end()),
                 cut);
        // Outside a file load the message shows again for every character cut.
        f.modal.clear();
        ctl<QLineEdit>(f.main(), "txtInitStr4")->setText("ee");
        QCOMPARE(f.modal.messages().size(), 2);
    }
};

CORVANE_TEST_CLASS(SaveFlowTest)
#include "SaveFlowTest.moc"
