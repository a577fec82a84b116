// Loading and saving files through the real windows. Loading: what the preview shows, OK,
// Cancel and Details. Saving: the twenty lines as bytes, a save that fails part way (the
// old file must survive it), every editor state read back as it was saved, and init
// strings too long together showing the limit message once per file.

#include "support/TestRunner.h"
#include "support/WindowStory.h"

#include <csignal>
#include <sys/resource.h>

class FileFlowTest : public QObject
{
    Q_OBJECT
private slots:
    // The example's setting lines are canonical: each is echoed as written, Model and
    // Channel only while unlocked. Neither the preview nor Cancel (or, unlocked, the menu
    // entry and the close box) touch editor values unlike the file's.
    void exampleFilePreviewsAndCancels()
    {
        const QStringList lines = QString(Story::defaultsFile()).split("\r\n");
        for (bool unlocked : {false, true}) {
            WindowStory s(false);
            QVERIFY2(s.tell({unlocked ? "unlock" : "keep title",
                             "set optStartFrame=1|txtComment=untouched", "keep editor",
                             "text example.txt: " + QString(Story::defaultsFile()),
                             "answer %example.txt",
                             unlocked ? "run menuFileLoad" : "run cmdFileLoad",
                             "preview=%example.txt 21 0",
                             "preview:lines=" +
                                 lines.mid(unlocked ? 2 : 4, unlocked ? 17 : 15).join('\n') + '\n'}),
                     qPrintable(s.failure));
            frmFileInput& p = s.fx.app->fileInput();
            unlocked ? void(p.close())
                     : QTest::mouseClick(ctl<QPushButton>(p, "cmdCancel"), Qt::LeftButton);
            QVERIFY2(s.tell({"preview=hidden", "editor==kept:editor"}), qPrintable(s.failure));
        }
    }

    // OK waits while a transfer runs. Then later lines win over earlier ones, keywords in
    // any case; the fields the file does not name stay; a title goes to its box only, not
    // its spinner; the record follows.
    void okAppliesInFileOrder()
    {
        WindowStory s(false);
        QVERIFY2(s.tell({"unlock", "keep editor",
                         "text twice.txt: Start Mode Frame\nStart Mode Title\nStart Title 7\n"
                         "start title 12\nComment first\nComment second one\nChannel 5\n"
                         "CHANNEL 9\nSynchronize Off\nSynchronize On\nBaud 9600\n"
                         "Init String 2 AB\nInit String 2 EF",
                         "answer %twice.txt", "run cmdFileLoad", "transfer running", "accept",
                         "preview^%twice.txt", "changes=", "transfer done", "accept",
                         "preview=hidden",
                         "changes=txtChannel=9|txtComment=second one|txtInitStr2=EF|"
                         "txtStartTitle=12"}),
                 qPrintable(s.failure));
        QCOMPARE(ctl<QComboBox>(s.main(), "cmbBaud")->currentIndex(), 3);
        QCOMPARE(s.main().model().record().InitStr[1], QString("EF"));
    }

    void detailsToggles()
    {
        WindowStory s(false);
        QVERIFY(s.tell({"text errors.txt: Hello\r\nStart Mode Title\r\n", "answer %errors.txt",
                        "run cmdFileLoad"}));
        frmFileInput& p = s.fx.app->fileInput();
        // Compact ends below the row of buttons and above the details; expanded shows them.
        for (bool expanded : {false, true, false}) {
            const QRect details = p.txtInput->geometry();
            if (expanded)
                QVERIFY(p.height() > details.bottom());
            else
                QVERIFY(p.height() > p.cmdDetails->geometry().bottom() &&
                        p.height() < details.bottom());
            QCOMPARE(p.txtInput->isVisible(), expanded);
            QCOMPARE(p.cmdDetails->text(), QString(expanded ? "No Details" : "Details"));
            QTest::mouseClick(p.cmdDetails, Qt::LeftButton);
        }
    }

    // Right after start-up: cancelled dialogs and files that cannot be read change nothing;
    // the init-string boxes are empty, and so is what a saved file keeps. After Defaults,
    // from the menu over a longer file: the example file's bytes, but for the time of saving.
    void fileCommandsFromStartUp()
    {
        const QString example = QString::fromLatin1(Story::defaultsFile());
        const QString savedExample =
            "^" + QRegularExpression::escape(example.section("\r\n", 0, 0)) +
            "\r\nTimestamp [^\r]{3,}\r\n" +
            QRegularExpression::escape(example.section("\r\n", 2)) + "$";
        QStringList rows{"keep editor", "keep title", "answer", "run cmdFileLoad", "answer",
                         "run cmdFileSave", "title==kept:title", "messages=", "entries:%dir="};
        for (const QString bad : {"%dir/missing.txt", "%dir"})
            rows << "forget boxes"
                 << "answer " + bad << "run cmdFileLoad"
                 << "messages~" + bad << "messages!~|"
                 << "preview=hidden"
                 << "details="
                 << "editor==kept:editor";
        rows << "answer %dir/startup.txt" << "run cmdFileSave"
             << "file:%dir/startup.txt~~^([^\n]*\n){20}$"
             << "file:%dir/startup.txt~\r\nInit String 1 \r\nInit String 2 \r\nInit String 3 "
                "\r\nInit String 4 \r\n"
             << "fields{txtInitStr}=txtInitStr1=|txtInitStr2=|txtInitStr3=|txtInitStr4=";
        WindowStory s(false);
        QVERIFY2(s.tell(rows), qPrintable(s.failure));
        QCOMPARE(s.main().model().record().InitStr[0], QString());
        QVERIFY2(s.tell({"defaults", "text saved: " + QString(5000, 'x'), "answer %saved",
                         "run menuFileSave", "file:%saved~~" + savedExample, "title=%saved"}),
                 qPrintable(s.failure));
    }

    // A file-size limit fails the write part way, as a full disk does (even for root): one
    // plain message box (no exclamation icon), naming the file and the system's reason.
    void failedSaveKeepsOldFile()
    {
        WindowStory s(false);
        QVERIFY(s.tell({"text old.txt: Begin Quillmere old\r\nComment keep me\r\n",
                        "answer %old.txt"}));
        rlimit saved{};
        getrlimit(RLIMIT_FSIZE, &saved);
        const rlimit lowered{64, saved.rlim_max}; // the twenty lines take several hundred bytes
        std::signal(SIGXFSZ, SIG_IGN);
        QVERIFY(setrlimit(RLIMIT_FSIZE, &lowered) == 0);
        QVERIFY(s.tell({"run cmdFileSave"}));
        setrlimit(RLIMIT_FSIZE, &saved);
        QVERIFY2(s.tell({"messages~~^Cannot save to the file\r\n%old.txt\r\n.*\\S",
                         "messages!~|", "lastbox^plain",
                         "file:%old.txt=Begin Quillmere old\r\nComment keep me\r\n",
                         "entries:%dir=old.txt"}),
                 qPrintable(s.failure));
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

    // Read back into an editor unlike every row, with init strings that fill the 58
    // characters from the back: the file's strings must not be judged against these.
    void savedStateReadsBack()
    {
        QFETCH(QString, state);
        const bool unlocked = state.startsWith("txtModel");
        WindowStory s(false);
        QStringList rows{"set " + state, "keep fields{txt|opt|chk}"};
        if (unlocked)
            rows.prepend("unlock");
        for (const QString& c : state.split('|')) // the state was taken as meant
            rows << "fields{txt|opt|chk}~~(^|\\|)" +
                        QRegularExpression::escape(QString(c).replace("scr", "txt")) + "(\\||$)";
        rows << "answer %dir/state.txt" << "run cmdFileSave"
             << "set optStartFrame=1|optEndFrame=1|txtStartFrame=777|txtEndFrame=888|"
                "scrEndTitle=50|scrStartTitle=40|scrEndChapter=31|scrStartChapter=30|"
                "chkSynchronize=0|chkSquelch=0|txtComment=other|txtInitStr1=|txtInitStr2=" +
                    QString(12, 'X') + "|txtInitStr3=" + QString(23, 'Y') +
                    "|txtInitStr4=" + QString(23, 'Z') +
                    (unlocked ? "|txtModel=98|txtChannel=97" : "")
             << "answer %dir/state.txt" << "run cmdFileLoad" << "accept"
             << "fields{txt|opt|chk}==kept:fields{txt|opt|chk}" << "messages=";
        QVERIFY2(s.tell(rows), qPrintable(s.failure));
    }

    void limitMessageOncePerFile()
    {
        QString bytes;
        for (char c : {'1', '2', '3', '4'})
            bytes += QString("Init String ") + c + ' ' + QString(23, c) + '\n';
        WindowStory s(false);
        QVERIFY2(s.tell({"text long.txt: " + bytes, "answer %long.txt", "run cmdFileLoad",
                         "accept", "messages!~|", "messages~limited",
                         "fields{txtInitStr}=txtInitStr1=" + QString(23, '1') +
                             "|txtInitStr2=" + QString(23, '2') + "|txtInitStr3=" +
                             QString(12, '3') + "|txtInitStr4="}),
                 qPrintable(s.failure));
        QCOMPARE(s.main().model().record().InitStr[2], QString(12, '3'));
    }
};

CORVANE_TEST_CLASS(FileFlowTest)
#include "FileFlowTest.moc"
