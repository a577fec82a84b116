#include "CommRig.h"
#include "comm/PortTrouble.h"
#include "support/TestRunner.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <cerrno>
#include <cstring>
#include <grp.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace modCorvaneComm;

Q_DECLARE_METATYPE(PortFacts)

namespace {

const QString Dev = QStringLiteral("/dev/ttyUSB0");
const QString Busy = QStringLiteral("  /dev/ttyUSB0: in use by another program");
const QString LockText = QStringLiteral("Permission error while locking the device");

PortFacts facts(int err, bool refused, const QString& text, const QString& group = {},
                std::optional<PortHolder> lock = {}, std::optional<PortHolder> open = {})
{
    return PortFacts{Dev, err, refused, text, group, lock, open};
}

// A pid as the 4 bytes of an old binary lock file.
QByteArray bin(const int32_t& pid)
{
    return QByteArray(reinterpret_cast<const char*>(&pid), 4);
}

QString systemText(int err)
{
    return QString::fromLocal8Bit(std::strerror(err));
}

// A scratch folder standing for the machine: a device file "ttyFake", lock files, a /proc.
struct FakeMachine
{
    QTemporaryDir dir;
    const QString device = dir.filePath("ttyFake");
    FakeMachine() { put("ttyFake"); }
    // Files and links below the folder, their folders made as needed.
    bool put(const QString& path, const QByteArray& content = {})
    {
        QFile f(dir.filePath(path));
        return QDir(dir.path()).mkpath(QFileInfo(path).path()) && f.open(QIODevice::WriteOnly) &&
               f.write(content) == content.size();
    }
    bool link(const QString& target, const QString& path)
    {
        return QDir(dir.path()).mkpath(QFileInfo(path).path()) &&
               QFile::link(target, dir.filePath(path));
    }
};

} // namespace

class PortTroubleTest : public QObject
{
    Q_OBJECT
private slots:
    void describe_data()
    {
        QTest::addColumn<PortFacts>("f");
        QTest::addColumn<QString>("line");
        const PortHolder minicom{4242, "minicom"}, other{77, ""};
        const QString perm = "  /dev/ttyUSB0: no permission (group ";
        const QString join = "): join the %1 group (sudo usermod -aG %1 $USER) and log in again";
        const QString ask = "): ask the administrator for read and write access to it";
        const QString closeIt = ": close it and try again",
                      minicomHolds = " (minicom, process 4242)";
        const QString cannot = "  /dev/ttyUSB0: cannot be opened: ";
        const auto row = [](const char* name, const PortFacts& f, const QString& line) {
            QTest::newRow(name) << f << line;
        };
        row("dialout", facts(EACCES, true, "Permission denied", "dialout"),
            perm + "dialout" + join.arg("dialout"));
        row("uucp", facts(EPERM, true, "Operation not permitted", "uucp"),
            perm + "uucp" + join.arg("uucp"));
        row("group unknown", facts(EACCES, true, "Permission denied"), perm + "unknown" + ask);
        row("group root", facts(EACCES, true, "Permission denied", "root"), perm + "root" + ask);
        row("busy, holder open", facts(EBUSY, true, "", "dialout", {}, minicom),
            Busy + minicomHolds + closeIt);
        row("lock file holder", facts(0, true, LockText, "dialout", minicom),
            Busy + minicomHolds + closeIt);
        row("holder beats permission", facts(EACCES, true, LockText, "dialout", other),
            Busy + " (process 77)" + closeIt);
        row("open holder beats lock", facts(0, true, LockText, "", PortHolder{77, "old"}, minicom),
            Busy + minicomHolds + closeIt);
        row("busy, holder unknown", facts(EBUSY, true, "Device or resource busy"), Busy + closeIt);
        row("holder, other failure", facts(0, false, "Inappropriate ioctl for device", "", minicom),
            cannot + "Inappropriate ioctl for device");
        row("other errno", facts(EIO, false, "Input/output error", "dialout"),
            cannot + "Input/output error");
        row("no text", facts(EIO, false, ""), cannot + systemText(EIO));
        row("missing", facts(ENOENT, false, "No such file or directory"), "");
        row("missing folder", facts(ENOTDIR, false, "Not a directory"), "");
    }

    void describe()
    {
        QFETCH(PortFacts, f);
        QFETCH(QString, line);
        QCOMPARE(describePortTrouble(f), line);
    }

    void lockFileContent_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<qint64>("pid");
        const std::pair<const char*, std::pair<QByteArray, qint64>> rows[] = {
            {"several lines", {"6370\nqsexp\nvm\n", 6370}},
            {"padded", {"      4242\n", 4242}},
            {"bare digits", {"4242", 4242}},
            {"binary", {bin(4242), 4242}},
            // The bytes "69", NUL, NUL: binary, although digits come first.
            {"binary, digits first", {bin(14646), 14646}},
            {"four digits", {"1234", 1234}},
            {"binary with LF", {bin(10), 10}},
            {"empty", {"", 0}},
            {"text", {"locked\n", 0}},
            {"negative", {"-5\n", 0}}};
        for (const auto& [name, row] : rows)
            QTest::newRow(name) << row.first << row.second;
    }

    void lockFileContent()
    {
        QFETCH(QByteArray, content);
        QFETCH(qint64, pid);
        QCOMPARE(pidInLockFile(content), pid);
    }

    void lockFileNames()
    {
        QCOMPARE(lockFileName("/dev/ttyUSB0"), QStringLiteral("LCK..ttyUSB0"));
        QCOMPARE(lockFileName("/dev/pts/3"), QStringLiteral("LCK..pts_3"));
        QCOMPARE(lockFileName("/tmp/a/tty"), QStringLiteral("LCK.._tmp_a_tty"));
    }

    // The holders as gathered from lock files and a /proc of the test's own: a lock names a
    // holder only while it runs, an open one is found by its fd links, never this process.
    void gatherHolders_data()
    {
        QTest::addColumn<QString>("lock");  // "text", "binary" or "": the lock file's form
        QTest::addColumn<bool>("alive");    // the lock's process still runs
        QTest::addColumn<qint64>("openBy"); // the process with the device among its fds
        QTest::addColumn<bool>("viaLink");  // the device asked for by a link's name
        QTest::addColumn<qint64>("openFound");
        const auto row = [](const char* name, const char* lock, bool alive, qint64 openBy,
                            bool viaLink, qint64 openFound) {
            QTest::newRow(name) << QString(lock) << alive << openBy << viaLink << openFound;
        };
        row("text lock, alive", "text", true, 0, false, 0);
        row("binary lock, alive", "binary", true, 0, false, 0);
        row("text lock, finished", "text", false, 0, false, 0);
        row("open by another process", "", true, 4242, false, 4242);
        row("device named by a link", "", true, 4242, true, 4242);
        row("open by this process", "", true, QCoreApplication::applicationPid(), false, 0);
    }

    void gatherHolders()
    {
        QFETCH(QString, lock);
        QFETCH(bool, alive);
        QFETCH(qint64, openBy);
        QFETCH(bool, viaLink);
        QFETCH(qint64, openFound);
        FakeMachine m;
        QVERIFY(m.link(m.device, "by-id"));
        QProcess sleeper;
        sleeper.start("sleep", {"30"});
        QVERIFY(sleeper.waitForStarted());
        const int32_t pid = static_cast<int32_t>(sleeper.processId());
        if (!alive) {
            sleeper.kill();
            QVERIFY(sleeper.waitForFinished());
        }
        if (!lock.isEmpty())
            QVERIFY(m.put(lockFileName(m.device),
                          lock == "binary" ? bin(pid) : QByteArray::number(pid) + "\nsleep\n"));
        QVERIFY(m.put(QString("proc/%1/comm").arg(pid), "minicom\n"));
        // A process with another file open, and one whose fds cannot be listed.
        QVERIFY(m.link(m.dir.filePath("other"), "proc/9/fd/0") && m.put("proc/1/comm", "init"));
        if (openBy) {
            const QString fds = QString("proc/%1/fd/").arg(openBy);
            QVERIFY(m.link("socket:[1]", fds + "1") && m.link(m.device, fds + "3"));
            QVERIFY(m.put(QString("proc/%1/comm").arg(openBy), "minicom\n"));
        }

        const PortFacts f = gatherPortFacts(
            viaLink ? m.dir.filePath("by-id") : m.device, {CommErrorNumber::AccessDenied, LockText},
            {{"/nonexistent", m.dir.path()}, m.dir.filePath("proc")});
        QCOMPARE(f.lockHolder ? f.lockHolder->pid : 0, lock.isEmpty() || !alive ? 0 : pid);
        QCOMPARE(f.openHolder ? f.openHolder->pid : 0, openFound);
        for (const auto& holder : {f.lockHolder, f.openHolder})
            if (holder)
                QCOMPARE(holder->name, QStringLiteral("minicom"));
        sleeper.kill();
        sleeper.waitForFinished();
    }

    void groupOfTheDevice()
    {
        FakeMachine m;
        const group* gr = ::getgrnam("dialout");
        if (!gr || ::chown(QFile::encodeName(m.device).constData(), -1, gr->gr_gid) != 0)
            QSKIP("cannot give a file to the dialout group here");
        QCOMPARE(gatherPortFacts(m.device, {}, {{}, m.dir.path()}).group, QString("dialout"));
    }

    // Without ports the listing says so and then why; with them each present port is
    // listed, each other one told with its reason. 17 is never tried; an open port is
    // closed first, and the list of before is gone either way.
    void listingTellsWhyPortsFailed()
    {
        CommRig rig;
        FakeMachine m;
        rig.portAccess.PortList.append(PortListEntry{"COM9", 9, {}});
        rig.portAccess.PortListSelected = 0;
        rig.ports.setTestMapping({{2, m.dir.path()}});
        QVERIFY(!awaited(ListSerialPorts(rig.c)));
        QVERIFY(rig.portAccess.PortList.isEmpty());
        QCOMPARE(rig.portAccess.PortListSelected, -1);
        const QString isDir = "  " + m.dir.path() + ": cannot be opened: " + systemText(EISDIR);
        QCOMPARE(rig.status.backlog().mid(3),
                 (QStringList{"PROBLEM!!!", "No Serial Ports are avaliable!!",
                              "  Close other programs that might be using",
                              "  serial ports and try again", isDir}));

        QVERIFY(rig.open());
        SimSync second;
        QVERIFY(second.start());
        rig.ports.setTestMapping({{1, rig.sim.path()},
                                  {2, missingDevicePath("ttyX")},
                                  {3, m.dir.path()},
                                  {4, m.device},
                                  {5, second.path()},
                                  {17, second.path()}});
        rig.portAccess.PortPresent.fill(true);
        QSignalSpy changed(&rig.portAccess, &PortAccess::listChanged);
        const qsizetype told = rig.status.backlog().size();
        QVERIFY(awaited(ListSerialPorts(rig.c)));
        QCOMPARE(rig.status.backlog().mid(told),
                 (QStringList{"", "", "Looking for Serial Ports", "  Com1 is possible",
                              "  Com5 is possible", isDir,
                              "  " + m.device + ": cannot be opened: " + systemText(ENOTTY)}));
        QCOMPARE(rig.portAccess.PortList.size(), 2);
        QCOMPARE(rig.portAccess.PortList[0].label, QStringLiteral("COM1"));
        QCOMPARE(rig.portAccess.PortList[0].device, rig.sim.path());
        QCOMPARE(rig.portAccess.PortList[1].port, int16_t(5));
        QCOMPARE(rig.portAccess.PortListSelected, 0);
        for (int n = 1; n <= 16; ++n)
            QCOMPARE(rig.portAccess.PortPresent[n], n == 1 || n == 5);
        QCOMPARE(changed.size(), 1);
        QVERIFY(!rig.comm.PortOpen());
    }
};

CORVANE_TEST_CLASS(PortTroubleTest)

#include "tst_PortTrouble.moc"
