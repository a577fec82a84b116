// What goes wrong with files: a file that cannot be read, a save that cannot be made
// (the old file must survive it), and dialogs the user cancels.

#include "FileRig.h"
#include "support/TestRunner.h"

#include <QDir>
#include <QLineEdit>
#include <csignal>
#include <sys/resource.h>

namespace {
// Lowers the soft file-size limit of the process for one scope, so that writing more
// than `bytes` fails the way a full disk does (even for root).
class FileSizeLimit
{
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        getrlimit(RLIMIT_FSIZE, &saved_);
        oldHandler_ = std::signal(SIGXFSZ, SIG_IGN);
        rlimit lowered = saved_;
        lowered.rlim_cur = bytes;
        active_ = setrlimit(RLIMIT_FSIZE, &lowered) == 0;
    }
    ~FileSizeLimit()
    {
        setrlimit(RLIMIT_FSIZE, &saved_);
        std::signal(SIGXFSZ, oldHandler_);
    }
    bool active() const { return active_; }

private:
    rlimit saved_{};
    void (*oldHandler_)(int) = nullptr;
    bool active_ = false;
};

QStringList entries(const QString& dir)
{
    return QDir(dir).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden, QDir::Name);
}
} // namespace

class FailuresTest : public QObject
{
    Q_OBJECT
private slots:
    void unreadableFileGivesMessage_data();
    void unreadableFileGivesMessage();
    void failedSaveKeepsOldFile_data();
    void failedSaveKeepsOldFile();
    void cancelledDialogsChangeNothing_data();
    void cancelledDialogsChangeNothing();
};

void FailuresTest::unreadableFileGivesMessage_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("makeFolder");
    QTest::newRow("missing file") << "missing.txt" << false;
    QTest::newRow("a folder") << "folder.txt" << true;
}

void FailuresTest::unreadableFileGivesMessage()
{
    QFETCH(QString, name);
    QFETCH(bool, makeFolder);

    FileRig f;
    // A previous load is still on view; the failed one must leave it so.
    const QString good = f.path("good.txt");
    f.writeBytes(good, FileRig::exampleFile());
    f.load(good);
    const QString detailsBefore = f.preview().txtInput->toPlainText();
    const int16_t keptBefore = f.g().AcceptedCount;
    const QStringList fieldsBefore = describe(f.fields());

    const QString bad = f.path(name);
    if (makeFolder)
        QVERIFY(QDir(f.dir.path()).mkdir(name));
    f.load(bad);

    const QStringList messages = f.modal.messages();
    QCOMPARE(messages.size(), 1);
    const QStringList parts = messages.first().split("\r\n");
    QCOMPARE(parts.size(), 3);
    QCOMPARE(parts[1], QDir::toNativeSeparators(bad));
    QVERIFY2(!parts[2].trimmed().isEmpty(), "the system's reason is missing");
    QVERIFY(!f.modal.requests.back().exclamation);

    QCOMPARE(f.preview().txtFileName->text(), good);
    QCOMPARE(f.preview().txtInput->toPlainText(), detailsBefore);
    QCOMPARE(f.preview().txtLines->text(), QString("21"));
    QCOMPARE(f.g().AcceptedCount, keptBefore);
    QCOMPARE(f.g().FileLineNo, int16_t(0));
    QVERIFY(f.g().LinkedFieldsActive);
    QCOMPARE(describe(f.fields()), fieldsBefore);
}

void FailuresTest::failedSaveKeepsOldFile_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("setup"); // "", "folder" or "size limit"
    QTest::newRow("folder missing") << "nowhere/saved.txt"
                                    << "";
    QTest::newRow("path is a folder") << "folder"
                                      << "folder";
    QTest::newRow("write fails, old file kept") << "old.txt"
                                                << "size limit";
}

void FailuresTest::failedSaveKeepsOldFile()
{
    QFETCH(QString, name);
    QFETCH(QString, setup);

    FileRig f;
    const QByteArray oldBytes = "Begin Quillmere old\r\nComment keep me\r\n";
    const QString target = f.path(name);
    if (setup == "folder")
        QVERIFY(QDir(f.dir.path()).mkdir(name));
    if (setup == "size limit")
        f.writeBytes(target, oldBytes);
    const QStringList before = entries(f.dir.path());

    {
        // The twenty lines take several hundred bytes; 64 is not enough for them.
        std::unique_ptr<FileSizeLimit> limit;
        if (setup == "size limit") {
            limit = std::make_unique<FileSizeLimit>(64);
            QVERIFY(limit->active());
        }
        f.save(target);
    }

    const QStringList messages = f.modal.messages();
    QCOMPARE(messages.size(), 1);
    const QStringList parts = messages.first().split("\r\n");
    QCOMPARE(parts.size(), 3);
    QCOMPARE(parts[1], QDir::toNativeSeparators(target));
    QVERIFY2(!parts[2].trimmed().isEmpty(), "the system's reason is missing");

    QCOMPARE(entries(f.dir.path()), before); // no half-written file left behind
    if (setup == "size limit")
        QCOMPARE(FileRig::readBytes(target), oldBytes);
    if (setup == "folder")
        QVERIFY(QFileInfo(target).isDir());
}

void FailuresTest::cancelledDialogsChangeNothing_data()
{
    QTest::addColumn<QString>("command");
    QTest::newRow("LOAD from File") << "cmdFileLoad";
    QTest::newRow("Load from File") << "menuFileLoad";
    QTest::newRow("SAVE to File") << "cmdFileSave";
    QTest::newRow("Save to File") << "menuFileSave";
}

void FailuresTest::cancelledDialogsChangeNothing()
{
    QFETCH(QString, command);

    FileRig f;
    frmMain& m = f.main();
    const QString caption = m.windowTitle();
    const QStringList fieldsBefore = describe(f.fields());
    const QStringList paramsBefore = describe(m.params);

    f.modal.fileAnswers << QString();
    if (auto* button = m.findChild<QPushButton*>(command))
        QTest::mouseClick(button, Qt::LeftButton);
    else
        m.findChild<QAction*>(command)->trigger();

    QCOMPARE(f.modal.count(Modal::Request::OpenFile) + f.modal.count(Modal::Request::SaveFile), 1);
    QCOMPARE(m.windowTitle(), caption);
    QVERIFY(f.g().SettingsFileName.isEmpty());
    QCOMPARE(describe(f.fields()), fieldsBefore);
    QCOMPARE(describe(m.params), paramsBefore);
    QVERIFY(f.modal.messages().isEmpty());
    QVERIFY(!f.preview().isVisible());
    QVERIFY(entries(f.dir.path()).isEmpty());
}

CORVANE_TEST_CLASS(FailuresTest)
#include "FailuresTest.moc"
