// The preview pass over whole files (line counter, error count, 29-line limit, line
// endings) and the apply pass over the kept lines.

#include "RecordingSink.h"
#include "settingsfile/Parser.h"
#include "settingsfile/SettingsFileIO.h"

#include <QTest>

using namespace modParser;

namespace {
const QString DataDir = QStringLiteral(CORVANE_SETTINGS_DATA);

QStringList echoed(const QStringList& lines)
{
    QStringList out;
    for (const QString& l : lines)
        out.append("LoadFile: " + l + "\r\n");
    return out;
}

void previewBytes(Globals& g, RecordingSink& sink, const QByteArray& bytes)
{
    const auto read = modFileAccess::readSettingsLines(bytes);
    QVERIFY(read.ok);
    PreviewFile(g, sink, read.lines, read.moreFollows);
}

// Emulates the editor's init-string boxes: a string over 23 characters is cut to 23, and
// while the four exceed 58 together the changed one loses its last character.
class InitStringEditor : public RecordingSink
{
public:
    std::array<QString, 4> initStr;
    int limitCuts = 0;
    bool inApply = false;
    bool setOutsideApply = false;

    void beginApply() override
    {
        inApply = true;
        RecordingSink::beginApply();
    }
    void endApply() override
    {
        inApply = false;
        RecordingSink::endApply();
    }
    void setText(TextField field, const QString& text) override
    {
        RecordingSink::setText(field, text);
        setOutsideApply = setOutsideApply || !inApply;
        const int n = static_cast<int>(field) - static_cast<int>(TextField::InitStr1);
        if (n < 0 || n > 3)
            return;
        initStr[n] = text;
        const auto total = [this] {
            return initStr[0].size() + initStr[1].size() + initStr[2].size() + initStr[3].size();
        };
        while (total() > 58) {
            initStr[n].chop(1);
            ++limitCuts;
        }
        initStr[n] = initStr[n].left(23);
    }
};
} // namespace

class PassesTest : public QObject
{
    Q_OBJECT
private slots:
    void exampleFile_data();
    void exampleFile();
    void lineLimit_data();
    void lineLimit();
    void longListCountsAsMore();
    void lineEndings_data();
    void lineEndings();
    void applyInFileOrder();
    void newLoadStartsOver();
    void validInitStringsSurviveOldEditorStrings();
    void overlongInitStringsCutOnceInsideApply();
};

void PassesTest::exampleFile_data()
{
    QTest::addColumn<bool>("unlocked");
    QTest::newRow("model and channel locked") << false;
    QTest::newRow("model and channel unlocked") << true;
}

void PassesTest::exampleFile()
{
    QFETCH(bool, unlocked);
    const auto read = modFileAccess::readSettingsFile(DataDir + "/defaults.txt");
    QVERIFY2(read.ok, qPrintable(read.errorText));
    QCOMPARE(read.lines.size(), 20);
    QVERIFY(!read.moreFollows);

    Globals g;
    g.ModelChannelUnlocked = unlocked;
    RecordingSink sink;
    PreviewFile(g, sink, read.lines, read.moreFollows);

    QStringList expected = {"Start Mode Chapter", "End Mode Chapter",     "Start Frame 1",
                            "End Frame 1000",     "Start Title 1",        "End Title 2",
                            "Start Chapter 1",    "End Chapter 2",        "Synchronize On",
                            "Squelch On",         "Init String 1 0KL0DS", "Init String 2 ",
                            "Init String 3 ",     "Init String 4 ",       "Comment "};
    if (unlocked)
        expected = QStringList{"Model 22", "Channel 1"} + expected;
    QCOMPARE(sink.lineCount, 21);
    QCOMPARE(sink.errorCount, 0);
    QCOMPARE(sink.details, echoed(expected));
    QCOMPARE(int(g.FileLineNo), 0);
    QVERIFY(g.LinkedFieldsActive);

    ApplyAcceptedLines(g, sink);
    const QString locked = "Comment= EndChapter=2 EndFrame=1000 EndMode=EndChapter EndTitle=2 "
                           "InitStr1=0KL0DS InitStr2= InitStr3= InitStr4= Squelch=1 "
                           "StartChapter=1 StartFrame=1 StartMode=StartChapter StartTitle=1 "
                           "Synchronize=1";
    const QString all = "Channel=1 Comment= EndChapter=2 EndFrame=1000 EndMode=EndChapter "
                        "EndTitle=2 InitStr1=0KL0DS InitStr2= InitStr3= InitStr4= Model=22 "
                        "Squelch=1 StartChapter=1 StartFrame=1 StartMode=StartChapter "
                        "StartTitle=1 Synchronize=1";
    QCOMPARE(sink.state(), unlocked ? all : locked);
}

void PassesTest::lineLimit_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("lineCount");
    QTest::addColumn<QStringList>("details");

    QByteArray lines29;
    QStringList comments29;
    for (int i = 1; i <= 29; ++i) {
        lines29 += "Comment " + QByteArray::number(i) + "\r\n";
        comments29.append("Comment " + QString::number(i));
    }
    const QString warning = TooManyLinesText();

    QTest::newRow("29 lines") << lines29 << 30 << echoed(comments29);
    QTest::newRow("29 lines, last without ending")
        << lines29.chopped(2) << 30 << echoed(comments29);
    QTest::newRow("29 lines, last ended by CR") << lines29.chopped(1) << 30 << echoed(comments29);
    QTest::newRow("30 lines, the last blank") << lines29 + "\r\n"
                                              << 30 << echoed(comments29 + QStringList{warning});
    QTest::newRow("30 lines, the last of blanks")
        << lines29 + "   " << 30 << echoed(comments29 + QStringList{warning});
    QTest::newRow("31 lines") << lines29 + "Comment 30\r\nComment 31\r\n"
                              << 30 << echoed(comments29 + QStringList{warning});
    QByteArray blanks = QByteArray(28, '\n') + "Comment x\nComment y\n";
    QTest::newRow("blank lines count") << blanks << 30 << echoed({"Comment x", warning});
    QTest::newRow("empty file") << QByteArray() << 1 << QStringList();
}

void PassesTest::lineLimit()
{
    QFETCH(QByteArray, bytes);
    QFETCH(int, lineCount);
    QFETCH(QStringList, details);
    Globals g;
    RecordingSink sink;
    previewBytes(g, sink, bytes);
    QCOMPARE(sink.lineCount, lineCount);
    QCOMPARE(sink.details, details);
    const int warnings = details.filter(TooManyLinesText()).size();
    QCOMPARE(sink.errorCount, warnings);
    QCOMPARE(int(g.AcceptedCount), details.size() - warnings);
}

void PassesTest::longListCountsAsMore()
{
    QStringList lines;
    for (int i = 1; i <= 31; ++i)
        lines.append("Start Title " + QString::number(i));
    Globals g;
    RecordingSink sink;
    PreviewFile(g, sink, lines, false);
    QCOMPARE(int(g.AcceptedCount), 29);
    QCOMPARE(sink.errorCount, 1);
    QCOMPARE(sink.details.last(), "LoadFile: " + TooManyLinesText() + "\r\n");
    ApplyAcceptedLines(g, sink);
    QCOMPARE(sink.fields.value("StartTitle"), QStringLiteral("29"));
}

void PassesTest::lineEndings_data()
{
    QTest::addColumn<QByteArray>("bytes");
    const QByteArray lf = "Begin Quillmere\nStart Title 4\n\nbogus line\nComment a b\n"
                          "Init String 2 x y\nEnd Quillmere Corvane\n";
    QByteArray crlf = lf;
    crlf.replace("\n", "\r\n");
    QByteArray cr = lf;
    cr.replace('\n', '\r');
    QTest::newRow("LF") << lf;
    QTest::newRow("CR LF") << crlf;
    QTest::newRow("CR") << cr;
    QTest::newRow("LF, last without ending") << lf.chopped(1);
    QTest::newRow("CR LF, last without ending") << crlf.chopped(2);
    QTest::newRow("mixed") << QByteArray(
        "Begin Quillmere\rStart Title 4\r\n\nbogus line\r\nComment a b\r"
        "Init String 2 x y\nEnd Quillmere Corvane");
}

void PassesTest::lineEndings()
{
    QFETCH(QByteArray, bytes);
    Globals g;
    RecordingSink sink;
    previewBytes(g, sink, bytes);
    QCOMPARE(sink.lineCount, 8);
    QCOMPARE(sink.errorCount, 1);
    QCOMPARE(sink.details,
             echoed({"Start Title 4", "->>> Ignoring Unrecognized Line (4)-->>>bogus line",
                     "Comment a b", "Init String 2 x y"}));
}

void PassesTest::applyInFileOrder()
{
    Globals g;
    g.ModelChannelUnlocked = true;
    RecordingSink sink;
    PreviewFile(
        g, sink,
        {"Channel 5", "Start Title 7", "Squelch Off", "Channel 9", "Start Mode Title", "Baud 2400"},
        false);
    QCOMPARE(sink.details, echoed({"Channel 5", "Start Title 7", "Squelch Off", "Channel 9",
                                   "Start Mode Title", "Baud 2400"}));
    ApplyAcceptedLines(g, sink);
    QCOMPARE(sink.log,
             QStringList({"begin", "text Channel=5", "text StartTitle=7", "check Squelch=0",
                          "text Channel=9", "option StartTitle", "list Baud=1", "end"}));
    QCOMPARE(g.ParsePass, 2);
    QCOMPARE(int(g.FileLineNo), 0);
}

void PassesTest::newLoadStartsOver()
{
    Globals g;
    RecordingSink sink;
    PreviewFile(g, sink, {"junk 1", "Start Title 3", "junk 2"}, false);
    QCOMPARE(int(g.FileErrorCount), 2);
    sink.details.clear(); // the load flow empties the details box
    PreviewFile(g, sink, {"End Title 8"}, false);
    QCOMPARE(int(g.FileErrorCount), 0);
    QCOMPARE(sink.errorCount, 0);
    QCOMPARE(sink.lineCount, 2);
    QCOMPARE(int(g.AcceptedCount), 1);
    QCOMPARE(g.ParsePass, 1);
    ApplyAcceptedLines(g, sink);
    QCOMPARE(sink.state(), QStringLiteral("EndTitle=8"));
}

void PassesTest::validInitStringsSurviveOldEditorStrings()
{
    // The editor holds a long fourth string; the file's set (23 + 23 + 12 + 0) fits.
    InitStringEditor editor;
    editor.initStr = {"0KL0DS", "", "", QString(23, 'Z')};
    const QString a(23, 'A'), b(23, 'B'), c(12, 'C');
    Globals g;
    PreviewFile(
        g, editor,
        {"Init String 1 " + a, "Init String 2 " + b, "Init String 3 " + c, "Init String 4 "},
        false);
    ApplyAcceptedLines(g, editor);
    QCOMPARE(editor.initStr, (std::array<QString, 4>{a, b, c, QString()}));
    QCOMPARE(editor.limitCuts, 0);
    QVERIFY(!editor.setOutsideApply);
}

void PassesTest::overlongInitStringsCutOnceInsideApply()
{
    // Strings the file does not name keep their place in the 58 characters.
    InitStringEditor editor;
    editor.initStr = {"0KL0DS", "", "", "1234567890"};
    const QString a(23, 'A'), b(23, 'B'), c(23, 'C');
    Globals g;
    PreviewFile(g, editor, {"Init String 1 " + a, "Init String 2 " + b, "Init String 3 " + c},
                false);
    ApplyAcceptedLines(g, editor);
    QCOMPARE(editor.initStr, (std::array<QString, 4>{a, b, QString(2, 'C'), "1234567890"}));
    QCOMPARE(editor.limitCuts, 21);
    QVERIFY(!editor.setOutsideApply);
    QCOMPARE(editor.log.first(), QStringLiteral("begin"));
    QCOMPARE(editor.log.last(), QStringLiteral("end"));
}

int runPassesTest(int argc, char** argv)
{
    PassesTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "PassesTest.moc"
