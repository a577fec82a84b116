// Saving through the real windows: the twenty lines as bytes, a save that fails part way
// (the old file must survive it), every editor state read back as it was saved, and
// init strings too long together showing the limit message once per file.

#include "FileRig.h"
#include "support/TestRunner.h"

#include <csignal>
#include <sys/resource.h>

class SaveFlowTest : public QObject
{
    Q_OBJECT
private slots:
    // Right after start-up: cancelled dialogs and files that cannot be read change nothing;
    // the init-string boxes are empty, and so is what a saved file keeps.
    void fileCommandsFromStartUp()
    {
        FileRig f;
        const QStringList before = editorText(f.main());
        const QString title = f.main().windowTitle();
        f.load(QString());
        f.save(QString());
        QCOMPARE(f.main().windowTitle(), title);
        QVERIFY(f.modal.messages().isEmpty());
        QVERIFY(QDir(f.dir.path()).entryList(QDir::Files).isEmpty());
        for (const QString& bad : {f.dir.filePath("missing.txt"), f.dir.path()}) {
            f.modal.clear();
            f.load(bad);
            QCOMPARE(f.modal.messages().size(), 1);
            QVERIFY(f.modal.messages()[0].contains(QDir::toNativeSeparators(bad)));
            QVERIFY(!f.preview().isVisible() && f.app->filePreview.details().isEmpty());
            QCOMPARE(editorText(f.main()), before);
        }

        QString file = f.dir.filePath("startup.txt");
        f.save(file);
        QList<QByteArray> lines = FileRig::read(file).split('\n');
        QCOMPARE(lines.size(), 21);
        QCOMPARE(lines.mid(14, 4), (QList<QByteArray>{"Init String 1 \r", "Init String 2 \r",
                                                      "Init String 3 \r", "Init String 4 \r"}));
        QCOMPARE(pick(f.main(), "txtInitStr"),
                 QString("txtInitStr1=|txtInitStr2=|txtInitStr3=|txtInitStr4="));
        QCOMPARE(f.main().model().record().InitStr[0], QString());

        // After Defaults, from the menu over a longer file: the example file's bytes, but
        // for the time of saving.
        f.main().cmdDefaults_Click();
        file = f.write("saved", QByteArray(5000, 'x'));
        f.run(ctl<QAction>(f.main(), "menuFileSave"), file);
        lines = FileRig::read(file).split('\n');
        const QList<QByteArray> example = FileRig::exampleFile().split('\n');
        QVERIFY2(lines.value(1).startsWith("Timestamp ") && lines[1].size() > 12, lines.value(1));
        lines[1] = example[1];
        QCOMPARE(lines, example);
        QCOMPARE(f.main().windowTitle(), file);
    }

    void failedSaveKeepsOldFile()
    {
        FileRig f;
        const QByteArray old = "Begin Quillmere old\r\nComment keep me\r\n";
        const QString file = f.write("old.txt", old);
        // A file-size limit fails the write part way, as a full disk does (even for root).
        rlimit saved{};
        getrlimit(RLIMIT_FSIZE, &saved);
        const rlimit lowered{64, saved.rlim_max}; // the twenty lines take several hundred bytes
        std::signal(SIGXFSZ, SIG_IGN);
        QVERIFY(setrlimit(RLIMIT_FSIZE, &lowered) == 0);
        f.save(file);
        setrlimit(RLIMIT_FSIZE, &saved);

        // One plain message box (no exclamation icon), naming the file and the system's reason.
        const QStringList shown = f.modal.messages();
        QCOMPARE(shown.size(), 1);
        QCOMPARE(shown[0].section("\r\n", 0, 1),
                 "Cannot save to the file\r\n" + QDir::toNativeSeparators(file));
        QVERIFY(!shown[0].section("\r\n", 2).trimmed().isEmpty());
        QVERIFY(!f.modal.requests.back().exclamation);
        QCOMPARE(FileRig::read(file), old);
        QCOMPARE(QDir(f.dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"old.txt"});
    }

    void savedStateReadsBack_data()
    {
        QTest::addColumn<QString>("state"); // controls as the user set them, '|' between
        QTest::newRow("unlocked, blanks, tab, code-page letters")
            << "txtModel=45|txtChannel=7|optStartTitle=1|optEndTimecode=1|txtStartFrame=12345|"
               "txtEndFrame=1079999|scrEndTitle=60|scrStartTitle=5|scrEndChapter=98|"
               "scrStartChapter=3|chkSynchronize=0|chkSquelch=1|txtComment=  Grüß  €x |"
               "txtInitStr1=AB CD|txtInitStr2= lead|txtInitStr3=trail  |txtInitStr4=X\tY";
        QTest::newRow("locked, init strings filling 58, comment of 15")
            << "optStartTimecode=1|optEndTitle=1|txtStartFrame=1|txtEndFrame=1000|"
               "scrEndTitle=2|scrStartTitle=1|scrEndChapter=2|scrStartChapter=1|"
               "chkSynchronize=1|chkSquelch=0|txtComment=Fifteen chars!!|txtInitStr1=" +
                   QString(23, 'A') + "|txtInitStr2=" + QString(23, 'B') +
                   "|txtInitStr3=C 2 3 4 5 6 |txtInitStr4=";
    }

    void savedStateReadsBack()
    {
        QFETCH(QString, state);
        FileRig f;
        frmMain& m = f.main();
        const bool unlocked = state.startsWith("txtModel");
        m.model().setModelChannelUnlocked(unlocked);
        setControls(m, state.split('|'));
        const QString fields = "txt|opt|chk";
        const QString saved = pick(m, fields);
        for (const QString& c : state.split('|')) // the state was taken as meant
            QVERIFY2(saved.split('|').contains(QString(c).replace("scr", "txt")), qPrintable(c));
        f.save(f.dir.filePath("state.txt"));
        // Unlike every row, with init strings that fill the 58 characters from the back:
        // the file's strings must not be judged against these.
        setControls(m, QString("optStartFrame=1|optEndFrame=1|txtStartFrame=777|txtEndFrame=888|"
                               "scrEndTitle=50|scrStartTitle=40|scrEndChapter=31|"
                               "scrStartChapter=30|chkSynchronize=0|chkSquelch=0|txtComment=other|"
                               "txtInitStr1=|txtInitStr2=" +
                               QString(12, 'X') + "|txtInitStr3=" + QString(23, 'Y') +
                               "|txtInitStr4=" + QString(23, 'Z') +
                               (unlocked ? "|txtModel=98|txtChannel=97" : ""))
                           .split('|'));
        f.load(f.dir.filePath("state.txt"));
        f.accept();
        QCOMPARE(pick(m, fields), saved);
        QVERIFY(f.modal.messages().isEmpty());
    }

    void limitMessageOncePerFile()
    {
        FileRig f;
        QByteArray bytes;
        for (char c : {'1', '2', '3', '4'})
            bytes += QByteArray("Init String ") + c + ' ' + QByteArray(23, c) + '\n';
        f.load(f.write("long.txt", bytes));
        f.accept();
        QCOMPARE(f.modal.messages().size(), 1); // the limit message, once
        QCOMPARE(pick(f.main(), "txtInitStr"),
                 "txtInitStr1=" + QString(23, '1') + "|txtInitStr2=" + QString(23, '2') +
                     "|txtInitStr3=" + QString(12, '3') + "|txtInitStr4=");
        QCOMPARE(f.main().model().record().InitStr[2], QString(12, '3'));
    }
};

CORVANE_TEST_CLASS(SaveFlowTest)
#include "SaveFlowTest.moc"
