// Loading through the real windows: what the preview shows, OK, Cancel and Details.

#include "support/TestRunner.h"
#include "support/WindowStory.h"

class PreviewWindowTest : public QObject
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
};

CORVANE_TEST_CLASS(PreviewWindowTest)
#include "PreviewWindowTest.moc"
