// The preview window through the real windows: what a load shows, OK, Cancel, Details
// and the reset when the window becomes active again.

#include "FileRig.h"
#include "app/Spinner.h"
#include "support/TestRunner.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QRadioButton>

namespace {
const QStringList ExampleDetails = {
    "LoadFile: Start Mode Chapter", "LoadFile: End Mode Chapter",     "LoadFile: Start Frame 1",
    "LoadFile: End Frame 1000",     "LoadFile: Start Title 1",        "LoadFile: End Title 2",
    "LoadFile: Start Chapter 1",    "LoadFile: End Chapter 2",        "LoadFile: Synchronize On",
    "LoadFile: Squelch On",         "LoadFile: Init String 1 0KL0DS", "LoadFile: Init String 2 ",
    "LoadFile: Init String 3 ",     "LoadFile: Init String 4 ",       "LoadFile: Comment "};

QByteArray repeated(const QByteArray& line, int times)
{
    QByteArray out;
    for (int i = 0; i < times; ++i)
        out += line;
    return out;
}
} // namespace

class PreviewWindowTest : public QObject
{
    Q_OBJECT
private slots:
    void previewShowsFileLeavesEditor_data();
    void previewShowsFileLeavesEditor();
    void okAppliesInFileOrder();
    void cancelChangesNothing();
    void okWaitsWhileTransferRuns();
    void detailsToggles();
    void activatingResetsToCompact();
    void newLoadStartsOver();
};

void PreviewWindowTest::previewShowsFileLeavesEditor_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<bool>("unlocked");
    QTest::addColumn<bool>("viaMenu");
    QTest::addColumn<QString>("lineCount");
    QTest::addColumn<QString>("errorCount");
    QTest::addColumn<QStringList>("expected");

    // Line endings, the line limit and error lines are the reader's and parser's own
    // business; here the window shows what they give.
    const QByteArray example = FileRig::exampleFile();
    QTest::newRow("example, model and channel locked") << example << false << false << "21"
                                                       << "0" << ExampleDetails;
    QTest::newRow("example, unlocked, from the menu")
        << example << true << true << "21"
        << "0" << QStringList{"LoadFile: Model 22", "LoadFile: Channel 1"} + ExampleDetails;
    QTest::newRow("30 lines: warning")
        << repeated("Comment a\r\n", 29) + "\r\n"
        << false << false << "30"
        << "1"
        << QStringList(29, "LoadFile: Comment a") + QStringList{"LoadFile: Warning: Input File "
                                                                "processing stopped, > 29 Lines!!"};
}

void PreviewWindowTest::previewShowsFileLeavesEditor()
{
    QFETCH(QByteArray, bytes);
    QFETCH(bool, unlocked);
    QFETCH(bool, viaMenu);
    QFETCH(QString, lineCount);
    QFETCH(QString, errorCount);
    QFETCH(QStringList, expected);

    FileRig f;
    if (unlocked)
        f.unlockModelChannel();
    // Editor values unlike the file's, so any leak into the editor shows.
    f.main().scrModel->setValueNotify(40);
    f.main().txtComment->setText("untouched");
    f.main().optStartFrame->setChecked(true);
    const QStringList fieldsBefore = describe(f.fields());
    const QStringList paramsBefore = describe(f.main().params);

    const QString file = f.path("example.txt");
    f.writeBytes(file, bytes);
    if (viaMenu) {
        f.modal.fileAnswers << file;
        f.main().menuFileLoad->trigger();
    } else {
        f.load(file);
    }

    frmFileInput& p = f.preview();
    QVERIFY(p.isVisible());
    QCOMPARE(p.windowTitle(), QString("Corvane 2.0 (beta 5) - File Input"));
    QCOMPARE(p.txtFileName->text(), file);
    QCOMPARE(p.txtLines->text(), lineCount);
    QCOMPARE(p.txtErrs->text(), errorCount);
    QCOMPARE(f.details(), expected);

    QCOMPARE(describe(f.fields()), fieldsBefore);
    QCOMPARE(describe(f.main().params), paramsBefore);
    QCOMPARE(f.main().windowTitle(), file);
    QCOMPARE(f.g().FileLineNo, int16_t(0));
    QVERIFY(f.g().LinkedFieldsActive);
    QVERIFY(f.modal.messages().isEmpty());

    QCOMPARE(f.modal.count(Modal::Request::OpenFile), 1);
    const Modal::Request& ask = f.modal.requests.front();
    QCOMPARE(ask.caption, QString("Corvane 2.0(beta) -- File to Open"));
    QCOMPARE(ask.filter, QString("All Files (*.*);;Text Files (*.txt)"));
    QCOMPARE(ask.selectedFilter, QString("Text Files (*.txt)"));
}

void PreviewWindowTest::okAppliesInFileOrder()
{
    FileRig f;
    f.unlockModelChannel();
    frmMain& m = f.main();
    const int startTitleSpinner = m.scrStartTitle->Value();
    const QString startFrameBefore = m.txtStartFrame->text();

    const QString file = f.path("twice.txt");
    f.writeBytes(file, "Start Mode Frame\r\n"
                       "Start Mode Title\r\n"
                       "Start Title 7\r\n"
                       "start title 12\r\n"
                       "End Mode Frame\r\n"
                       "End Frame 5000\r\n"
                       "End Frame 6,000\r\n"
                       "Comment first\r\n"
                       "Comment second one\r\n"
                       "Channel 5\r\n"
                       "CHANNEL 9\r\n"
                       "Synchronize Off\r\n"
                       "Synchronize On\r\n"
                       "Squelch Off\r\n"
                       "Baud 9600\r\n"
                       "Init String 2 AB CD\r\n"
                       "Init String 2 EF\r\n");
    f.load(file);
    QCOMPARE(f.preview().txtErrs->text(), QString("0"));
    f.accept();

    QVERIFY(!f.preview().isVisible());
    QVERIFY(m.optStartTitle->isChecked());
    QCOMPARE(m.params.StartMode, PointMode::Title);
    QCOMPARE(m.txtStartTitle->text(), QString("12"));
    QCOMPARE(m.scrStartTitle->Value(), startTitleSpinner); // the box only
    QVERIFY(m.optEndFrame->isChecked());
    QCOMPARE(m.params.EndMode, PointMode::Frame);
    QCOMPARE(m.txtEndFrame->text(), QString("6000"));
    QCOMPARE(m.txtStartFrame->text(), startFrameBefore); // not named in the file
    QCOMPARE(m.txtComment->text(), QString("second one"));
    QCOMPARE(m.params.Comment, QString("second one"));
    QCOMPARE(m.txtChannel->text(), QString("9"));
    QVERIFY(m.chkSynchronize->isChecked());
    QVERIFY(!m.chkSquelch->isChecked());
    QVERIFY(!m.params.Squelch);
    QCOMPARE(m.params.OptionBits & Limits::SquelchBit, 0);
    QCOMPARE(m.cmbBaud->currentIndex(), 3);
    QCOMPARE(m.txtInitStr2->text(), QString("EF"));
    QCOMPARE(m.params.InitStr[1], QString("EF"));
    QCOMPARE(m.params.InitStr[0], QString("0KL0DS")); // not named in the file
    QCOMPARE(f.g().FileLineNo, int16_t(0));
    QVERIFY(f.modal.messages().isEmpty());
}

void PreviewWindowTest::okWaitsWhileTransferRuns()
{
    FileRig f;
    const QStringList fieldsBefore = describe(f.fields());
    QByteArray changed = FileRig::exampleFile();
    changed.replace("End Frame 1000", "End Frame 4242");
    const QString file = f.path("during-transfer.txt");
    f.writeBytes(file, changed);
    f.load(file);
    f.g().TransferRunning = true;
    QTest::mouseClick(f.preview().cmdAccept, Qt::LeftButton);
    QCOMPARE(describe(f.fields()), fieldsBefore);
    QVERIFY(f.preview().isVisible());
    f.g().TransferRunning = false;
    QTest::mouseClick(f.preview().cmdAccept, Qt::LeftButton);
    QCOMPARE(f.main().txtEndFrame->text(), QStringLiteral("4242"));
}

void PreviewWindowTest::cancelChangesNothing()
{
    FileRig f;
    f.unlockModelChannel();
    const QStringList fieldsBefore = describe(f.fields());
    const QStringList paramsBefore = describe(f.main().params);

    QByteArray changed = FileRig::exampleFile();
    changed.replace("Model 22", "Model 61")
        .replace("Start Mode Chapter", "Start Mode Frame")
        .replace("End Frame 1000", "End Frame 4242")
        .replace("Squelch On", "Squelch Off")
        .replace("Init String 3 ", "Init String 3 xyz")
        .replace("Comment ", "Comment cancelled");
    const QString file = f.path("changed.txt");
    f.writeBytes(file, changed);
    f.load(file);
    QVERIFY(f.preview().isVisible());
    f.cancel();

    QVERIFY(!f.preview().isVisible());
    QCOMPARE(describe(f.fields()), fieldsBefore);
    QCOMPARE(describe(f.main().params), paramsBefore);
    QCOMPARE(f.g().FileLineNo, int16_t(0));

    // The close box cancels as well.
    f.load(file);
    QVERIFY(f.preview().isVisible());
    f.preview().close();
    QVERIFY(!f.preview().isVisible());
    QCOMPARE(describe(f.fields()), fieldsBefore);
}

void PreviewWindowTest::detailsToggles()
{
    FileRig f;
    const QString file = f.path("example.txt");
    f.writeBytes(file, FileRig::exampleFile());
    f.load(file);
    frmFileInput& p = f.preview();
    QCOMPARE(p.height(), 141);
    QCOMPARE(p.cmdDetails->text(), QString("Details"));
    QVERIFY(!p.txtInput->isVisible());

    QTest::mouseClick(p.cmdDetails, Qt::LeftButton);
    QCOMPARE(p.height(), 477);
    QCOMPARE(p.cmdDetails->text(), QString("No Details"));
    QVERIFY(p.txtInput->isVisible());
    QVERIFY(p.txtInput->geometry().bottom() < p.height());

    QTest::mouseClick(p.cmdDetails, Qt::LeftButton);
    QCOMPARE(p.height(), 141);
    QCOMPARE(p.cmdDetails->text(), QString("Details"));
    QVERIFY(!p.txtInput->isVisible());
    QVERIFY(p.cmdAccept->geometry().bottom() < p.height());
}

void PreviewWindowTest::activatingResetsToCompact()
{
    FileRig f;
    const QString file = f.path("errors.txt");
    f.writeBytes(file, "Hello\r\nStart Mode Title\r\nThere\r\n");
    f.load(file);
    frmFileInput& p = f.preview();
    QVERIFY(FileRig::activate(&p));
    QTest::mouseClick(p.cmdDetails, Qt::LeftButton);
    QCOMPARE(p.height(), 477);
    p.txtErrs->setText("55");

    QVERIFY(FileRig::activate(&f.main()));
    QCOMPARE(p.height(), 477); // the preview is modeless and stays as it was meanwhile
    QVERIFY(FileRig::activate(&p));
    QCOMPARE(p.height(), 141);
    QCOMPARE(p.cmdDetails->text(), QString("Details"));
    QCOMPARE(p.txtErrs->text(), QString("2"));
}

void PreviewWindowTest::newLoadStartsOver()
{
    FileRig f;
    const int baudBefore = f.main().cmbBaud->currentIndex();
    QVERIFY(baudBefore != 1);
    const QString bad = f.path("bad.txt");
    f.writeBytes(bad, "Hello\r\nBaud 2400\r\nThere\r\n");
    const QString good = f.path("good.txt");
    f.writeBytes(good, FileRig::exampleFile());

    f.load(bad);
    QCOMPARE(f.preview().txtErrs->text(), QString("2"));
    f.load(good); // the preview is still open
    QCOMPARE(f.preview().txtFileName->text(), good);
    QCOMPARE(f.preview().txtErrs->text(), QString("0"));
    QCOMPARE(f.preview().txtLines->text(), QString("21"));
    QCOMPARE(f.details(), ExampleDetails);
    QCOMPARE(f.g().AcceptedCount, int16_t(ExampleDetails.size()));

    f.accept();
    QCOMPARE(f.main().cmbBaud->currentIndex(), baudBefore); // the first file's lines are gone
}

CORVANE_TEST_CLASS(PreviewWindowTest)
#include "PreviewWindowTest.moc"
