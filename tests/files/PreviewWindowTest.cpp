// Loading through the real windows: what the preview shows, OK, Cancel and Details.

#include "FileRig.h"
#include "support/TestRunner.h"

#include <QComboBox>

class PreviewWindowTest : public QObject
{
    Q_OBJECT
private slots:
    void exampleFilePreviewsAndCancels()
    {
        for (bool unlocked : {false, true}) { // unlocked: the menu entry and the close box
            FileRig f;
            f.main().model().setModelChannelUnlocked(unlocked);
            // Editor values unlike the file's, so any leak into the editor shows.
            setControls(f.main(), {"optStartFrame=1", "txtComment=untouched"});
            const QStringList before = editorText(f.main());
            const QString file = f.write("example.txt", FileRig::exampleFile());
            f.run(unlocked ? static_cast<QObject*>(ctl<QAction>(f.main(), "menuFileLoad"))
                           : ctl<QPushButton>(f.main(), "cmdFileLoad"),
                  file);

            frmFileInput& p = f.preview();
            QVERIFY(p.isVisible());
            QCOMPARE(p.txtFileName->text() + ' ' + p.txtLines->text() + ' ' + p.txtErrs->text(),
                     file + " 21 0");
            // The example's setting lines are canonical: each is echoed as written, Model
            // and Channel only while unlocked.
            const QStringList lines = QString(FileRig::exampleFile()).split("\r\n");
            QCOMPARE(p.txtInput->toPlainText().remove("LoadFile: ").split('\n', Qt::SkipEmptyParts),
                     lines.mid(unlocked ? 2 : 4, unlocked ? 17 : 15));

            unlocked ? void(p.close())
                     : QTest::mouseClick(ctl<QPushButton>(p, "cmdCancel"), Qt::LeftButton);
            QVERIFY(!p.isVisible());
            QCOMPARE(editorText(f.main()), before); // neither the preview nor Cancel touched it
        }
    }

    // OK waits while a transfer runs. Then later lines win over earlier ones, keywords in
    // any case; the fields the file does not name stay; a title goes to its box only, not
    // its spinner; the record follows.
    void okAppliesInFileOrder()
    {
        FileRig f;
        frmMain& m = f.main();
        m.model().setModelChannelUnlocked(true);
        const QStringList before = editorText(m);
        f.load(f.write("twice.txt", "Start Mode Frame\nStart Mode Title\nStart Title 7\n"
                                    "start title 12\nComment first\nComment second one\n"
                                    "Channel 5\nCHANNEL 9\nSynchronize Off\nSynchronize On\n"
                                    "Baud 9600\nInit String 2 AB\nInit String 2 EF"));
        m.model().setTransferRunning(true);
        f.accept();
        QVERIFY(f.preview().isVisible() && editorText(m) == before);
        m.model().setTransferRunning(false);
        f.accept();

        QVERIFY(!f.preview().isVisible());
        QStringList changed = editorText(m);
        changed.removeIf([&](const QString& e) { return before.contains(e); });
        QCOMPARE(changed.join('|'),
                 QString("txtChannel=9|txtComment=second one|txtInitStr2=EF|txtStartTitle=12"));
        QCOMPARE(ctl<QComboBox>(m, "cmbBaud")->currentIndex(), 3);
        QCOMPARE(m.model().record().InitStr[1], QString("EF"));
    }

    void detailsToggles()
    {
        FileRig f;
        f.load(f.write("errors.txt", "Hello\r\nStart Mode Title\r\n"));
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
