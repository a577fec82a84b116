// Loading through the real windows: what the preview shows, OK, Cancel and Details.

#include "FileRig.h"
#include "app/Spinner.h"
#include "support/TestRunner.h"

#include <QComboBox>
#include <QLineEdit>
#include <QRadioButton>

class PreviewWindowTest : public QObject
{
    Q_OBJECT
private slots:
    void exampleFilePreviewsAndCancels()
    {
        for (bool unlocked : {false, true}) { // unlocked: the menu entry and the close box
            FileRig f;
            if (unlocked)
                f.unlockModelChannel();
            // Editor values unlike the file's, so any leak into the editor shows.
            ctl<QRadioButton>(f.main(), "optStartFrame")->setChecked(true);
            ctl<QLineEdit>(f.main(), "txtComment")->setText("untouched");
            const QStringList before = f.fields();
            const QString file = f.writeFile("example.txt", FileRig::exampleFile());
            f.run(unlocked ? static_cast<QObject*>(ctl<QAction>(f.main(), "menuFileLoad"))
                           : ctl<QPushButton>(f.main(), "cmdFileLoad"),
                  file);

            frmFileInput& p = f.preview();
            QVERIFY(p.isVisible());
            QCOMPARE(p.txtFileName->text(), file);
            QCOMPARE(p.txtLines->text(), QString("21"));
            QCOMPARE(p.txtErrs->text(), QString("0"));
            // The example's setting lines are canonical: each is echoed as written, Model
            // and Channel only while unlocked.
            const QStringList lines = QString(FileRig::exampleFile()).split("\r\n");
            QCOMPARE(p.txtInput->toPlainText().remove("LoadFile: ").split('\n', Qt::SkipEmptyParts),
                     lines.mid(unlocked ? 2 : 4, unlocked ? 17 : 15));

            unlocked ? void(p.close())
                     : QTest::mouseClick(ctl<QPushButton>(p, "cmdCancel"), Qt::LeftButton);
            QVERIFY(!p.isVisible());
            QCOMPARE(f.fields(), before); // neither the preview nor Cancel touched it
        }
    }

    void okAppliesInFileOrder()
    {
        FileRig f;
        f.unlockModelChannel();
        frmMain& m = f.main();
        const int titleSpinner = ctl<Spinner>(m, "scrStartTitle")->Value();
        EditorSnapshot expected = m.model().snapshot();
        f.load(f.writeFile("twice.txt", "Start Mode Frame\nStart Mode Title\nStart Title 7\n"
                                        "start title 12\nComment first\nComment second one\n"
                                        "Channel 5\nCHANNEL 9\nSynchronize Off\nSynchronize On\n"
                                        "Baud 9600\nInit String 2 AB\nInit String 2 EF"));
        f.accept();

        QVERIFY(!f.preview().isVisible());
        expected.StartMode = PointMode::Title;
        expected.txtStartTitle = "12";
        expected.txtComment = "second one";
        expected.txtChannel = "9";
        expected.txtInitStr[1] = "EF";
        QCOMPARE(f.fields(), describe(expected)); // the fields the file does not name stay
        QCOMPARE(ctl<Spinner>(m, "scrStartTitle")->Value(), titleSpinner); // the box only
        QCOMPARE(ctl<QComboBox>(m, "cmbBaud")->currentIndex(), 3);
        QCOMPARE(m.model().record().InitStr[1], QString("EF")); // the record follows the controls
    }

    void okWaitsWhileTransferRuns()
    {
        FileRig f;
        const QStringList before = f.fields();
        f.load(f.writeFile("during-transfer.txt", "End Frame 4242\r\n"));
        f.main().model().setTransferRunning(true);
        f.accept();
        QCOMPARE(f.fields(), before);
        QVERIFY(f.preview().isVisible());
        f.main().model().setTransferRunning(false);
        f.accept();
        QCOMPARE(ctl<QLineEdit>(f.main(), "txtEndFrame")->text(), QStringLiteral("4242"));
    }

    void detailsToggles()
    {
        FileRig f;
        f.load(f.writeFile("errors.txt", "Hello\r\nStart Mode Title\r\n"));
        frmFileInput& p = f.preview();
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
