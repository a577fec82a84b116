// Every editor state written to a file and read back through the preview gives the
// editor the fields the file carries, init strings with their blanks included; and a
// file whose init strings are too long together shows the limit message only once.

#include "FileRig.h"
#include "app/EditorDefaults.h"
#include "app/Spinner.h"
#include "support/TestRunner.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QRadioButton>

namespace {
// An editor state, set through the controls the way a user sets it.
struct EditorState
{
    int model = 0; // 0: Model and Channel stay locked
    int channel = 0;
    QString startMode = "Chapter";
    QString endMode = "Chapter";
    int startTitle = 1, endTitle = 2, startChapter = 1, endChapter = 2;
    QString startFrame = "1", endFrame = "1000";
    bool synchronize = true, squelch = true;
    QStringList initStr = {"0KL0DS", "", "", ""};
    QString comment;
};

QRadioButton* option(frmMain& m, const QString& side, const QString& mode)
{
    return m.findChild<QRadioButton*>("opt" + side + mode);
}

void setState(FileRig& f, const EditorState& s)
{
    frmMain& m = f.main();
    modCorvaneComm::SetDefaults(m);
    if (s.model != 0) {
        f.unlockModelChannel();
        m.scrModel->setValueNotify(s.model);
        m.scrChannel->setValueNotify(s.channel);
    }
    option(m, "Start", s.startMode)->setChecked(true);
    option(m, "End", s.endMode)->setChecked(true);
    m.scrEndTitle->setValueNotify(s.endTitle);
    m.scrStartTitle->setValueNotify(s.startTitle);
    m.scrEndChapter->setValueNotify(s.endChapter);
    m.scrStartChapter->setValueNotify(s.startChapter);
    m.txtEndFrame->setText(s.endFrame);
    m.txtEndFrame_LostFocus();
    m.txtStartFrame->setText(s.startFrame);
    m.txtStartFrame_LostFocus();
    m.chkSynchronize->setChecked(s.synchronize);
    m.chkSquelch->setChecked(s.squelch);
    for (int i = 0; i < 4; ++i)
        m.txtInitStr[i]->setText(QString());
    for (int i = 0; i < 4; ++i)
        m.txtInitStr[i]->setText(s.initStr.value(i));
    m.txtComment->setText(s.comment);
}

// Unlike every row below, with init strings that fill the 58 characters from the back:
// a file's strings, applied from the first, must not be judged against these.
EditorState otherState(bool unlocked)
{
    EditorState s;
    if (unlocked) {
        s.model = 98;
        s.channel = 97;
    }
    s.startMode = s.endMode = "Frame";
    s.startTitle = 40;
    s.endTitle = 50;
    s.startChapter = 30;
    s.endChapter = 31;
    s.startFrame = "777";
    s.endFrame = "888";
    s.synchronize = s.squelch = false;
    s.initStr = {"", QString(12, 'X'), QString(23, 'Y'), QString(23, 'Z')};
    s.comment = "other";
    return s;
}
} // namespace

Q_DECLARE_METATYPE(EditorState)

class RoundTripTest : public QObject
{
    Q_OBJECT
private slots:
    void savedStateReadsBack_data();
    void savedStateReadsBack();
    void limitMessageOncePerFile_data();
    void limitMessageOncePerFile();
};

void RoundTripTest::savedStateReadsBack_data()
{
    QTest::addColumn<EditorState>("state");

    QTest::newRow("defaults") << EditorState{};
    EditorState s;
    s.model = 45;
    s.channel = 7;
    s.startMode = s.endMode = "Title";
    s.startTitle = 5;
    s.endTitle = 60;
    s.synchronize = false;
    QTest::newRow("unlocked, titles, synchronize off") << s;

    s = {};
    s.startMode = "Timecode";
    s.endMode = "Frame";
    s.startChapter = 3;
    s.endChapter = 98;
    s.startFrame = "12345";
    s.endFrame = "1079999";
    s.squelch = false;
    QTest::newRow("timecode and frame, big frame numbers") << s;

    s = {};
    s.startMode = "Frame";
    s.endMode = "Timecode";
    s.initStr = {"AB CD", " lead", "trail  ", "in  the  middle"};
    s.comment = "a b  c ";
    QTest::newRow("init strings and comment with blanks") << s;

    s = {};
    s.initStr = {QString(23, 'A'), "BBBBBBBBBBBBBBBBBBBBBBB", "C 2 3 4 5 6 ", ""};
    s.comment = "Fifteen chars!!";
    QTest::newRow("init strings filling 58, comment of 15") << s;

    s = {};
    s.model = 1;
    s.channel = 99;
    s.startMode = "Chapter";
    s.endMode = "Title";
    s.initStr = {"", "", "", "X\tY"};
    s.comment = "  Grüße €";
    QTest::newRow("leading blanks, tab, code-page letters") << s;
}

void RoundTripTest::savedStateReadsBack()
{
    QFETCH(EditorState, state);

    FileRig f;
    setState(f, state);
    const modFileAccess::EditorFields saved = f.fields();
    QCOMPARE(saved.initStr[0], state.initStr[0]); // the state was taken as meant
    QCOMPARE(saved.comment, state.comment);
    const QString file = f.path("state.txt");
    f.save(file);
    QVERIFY(f.modal.messages().isEmpty());

    const bool unlocked = state.model != 0;
    setState(f, otherState(unlocked));
    const modFileAccess::EditorFields other = f.fields();
    f.modal.clear();
    f.load(file);
    QCOMPARE(f.preview().txtErrs->text(), QString("0"));
    f.accept();

    modFileAccess::EditorFields expected = saved;
    if (!unlocked) {
        // A locked editor keeps its Model and Channel.
        expected.model = other.model;
        expected.channel = other.channel;
    }
    QCOMPARE(describe(f.fields()), describe(expected));
    QVERIFY(f.modal.messages().isEmpty());
}

void RoundTripTest::limitMessageOncePerFile_data()
{
    QTest::addColumn<QStringList>("fileStrings");
    QTest::addColumn<QStringList>("expected");
    QTest::addColumn<int>("messages");

    const QString s23a(23, 'a'), s23b(23, 'b'), s23c(23, 'c'), s23d(23, 'd');
    QTest::newRow("92 characters: one message, cut to 58")
        << QStringList{s23a, s23b, s23c, s23d} << QStringList{s23a, s23b, QString(12, 'c'), ""}
        << 1;
    QTest::newRow("exactly 58: no message") << QStringList{s23a, s23b, "", QString(12, 'd')}
                                            << QStringList{s23a, s23b, "", QString(12, 'd')} << 0;
}

void RoundTripTest::limitMessageOncePerFile()
{
    QFETCH(QStringList, fileStrings);
    QFETCH(QStringList, expected);
    QFETCH(int, messages);

    FileRig f;
    setState(f, otherState(false));
    QByteArray bytes;
    for (int i = 0; i < 4; ++i)
        bytes += QStringLiteral("Init String %1 %2\r\n").arg(i + 1).arg(fileStrings[i]).toLatin1();
    const QString file = f.path("long.txt");
    f.writeBytes(file, bytes);
    f.modal.clear();
    f.load(file);
    f.accept();

    QCOMPARE(f.modal.messages().size(), messages);
    for (const QString& text : f.modal.messages())
        QCOMPARE(text, QString("The Init Strings are limited\r\nto 58 characters total\r\n"
                               "between all 4 strings."));
    for (int i = 0; i < 4; ++i) {
        QCOMPARE(f.main().txtInitStr[i]->text(), expected[i]);
        QCOMPARE(f.main().params.InitStr[i], expected[i]);
    }

    // Outside a file load the message shows again for every character cut.
    int othersTotal = 0;
    for (int i = 0; i < 3; ++i)
        othersTotal += expected[i].size();
    f.modal.clear();
    f.main().txtInitStr4->setText(QString(13, 'e'));
    QCOMPARE(f.modal.messages().size(), othersTotal + 13 - 58);
}

CORVANE_TEST_CLASS(RoundTripTest)
#include "RoundTripTest.moc"
