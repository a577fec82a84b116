#include "CommRig.h"
#include "comm/PortTrouble.h"
#include "support/TestRunner.h"

#include <QDir>
#include <QFile>
#include <QProcess>
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

QString systemText(int err)
{
    return QString::fromLocal8Bit(std::strerror(err));
}

bool writeFile(const QString& path, const QByteArray& content)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(content) == content.size();
}

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
        const int32_t binary = 4242, newlineByte = 10;
        const int32_t digitsFirst = 14646; // the bytes "69", NUL, NUL: binary, digits first
        const auto bin = [](const int32_t& v) {
            return QByteArray(reinterpret_cast<const char*>(&v), 4);
        };
        const std::pair<const char*, std::pair<QByteArray, qint64>> rows[] = {
            {"several lines", {"6370\nqsexp\nvm\n", 6370}},
            {"padded", {"      4242\n", 4242}},
            {"bare digits", {"4242", 4242}},
            {"binary", {bin(binary), 4242}},
            {"binary, digits first", {bin(digitsFirst), 14646}},
            {"four digits", {"1234", 1234}},
            {"binary with LF", {bin(newlineByte), 10}},
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

    void lockHolderMustBeAlive_data()
    {
        QTest::addColumn<bool>("binary");
        QTest::addColumn<bool>("alive");
        QTest::newRow("ASCII, alive") << false << true;
        QTest::newRow("binary, alive") << true << true;
        QTest::newRow("ASCII, finished") << false << false;
    }

    void lockHolderMustBeAlive()
    {
        QFETCH(bool, binary);
        QFETCH(bool, alive);
        QTemporaryDir dir;
        const QString device = dir.filePath("ttyFake");
        QVERIFY(writeFile(device, {}));
        QProcess sleeper;
        sleeper.start("sleep", {"30"});
        QVERIFY(sleeper.waitForStarted());
        const int32_t pid = static_cast<int32_t>(sleeper.processId());
        if (!alive) {
            sleeper.kill();
            QVERIFY(sleeper.waitForFinished());
        }
        const QByteArray content = binary ? QByteArray(reinterpret_cast<const char*>(&pid), 4)
                                          : QByteArray::number(pid) + "\nsleep\n";
        QVERIFY(QDir(dir.path()).mkpath(QString("proc/%1").arg(pid)));
        QVERIFY(writeFile(dir.filePath(QString("proc/%1/comm").arg(pid)), "minicom\n"));
        QVERIFY(writeFile(dir.filePath(lockFileName(device)), content));

        const PortFacts f = gatherPortFacts(device, {CommErrorNumber::AccessDenied, LockText},
                                            {{"/nonexistent", dir.path()}, dir.filePath("proc")});
        QCOMPARE(f.lockHolder.has_value(), alive);
        if (alive) {
            QCOMPARE(f.lockHolder->pid, qint64(pid));
            QCOMPARE(f.lockHolder->name, QStringLiteral("minicom"));
        }
        QVERIFY(!f.openHolder);
        sleeper.kill();
        sleeper.waitForFinished();
    }

    void openHolderFromFdLinks_data()
    {
        QTest::addColumn<qint64>("pid");
        QTest::addColumn<bool>("viaLink");
        QTest::addColumn<qint64>("found");
        const qint64 self = QCoreApplication::applicationPid();
        QTest::newRow("other process") << qint64(4242) << false << qint64(4242);
        QTest::newRow("device named by a link") << qint64(4242) << true << qint64(4242);
        QTest::newRow("own process") << self << false << qint64(0);
    }

    void openHolderFromFdLinks()
    {
        QFETCH(qint64, pid);
        QFETCH(bool, viaLink);
        QFETCH(qint64, found);
        QTemporaryDir dir;
        const QString device = dir.filePath("ttyFake"), link = dir.filePath("by-id");
        QVERIFY(writeFile(device, {}));
        QVERIFY(QFile::link(device, link));
        QVERIFY(QDir(dir.path()).mkpath("proc/9/fd") && QDir(dir.path()).mkpath("proc/1"));
        QVERIFY(QFile::link(dir.filePath("other"), dir.filePath("proc/9/fd/0")));
        const QString fds = QString("proc/%1/fd").arg(pid);
        QVERIFY(QDir(dir.path()).mkpath(fds));
        QVERIFY(QFile::link("socket:[1]", dir.filePath(fds + "/1")));
        QVERIFY(QFile::link(device, dir.filePath(fds + "/3")));
        QVERIFY(writeFile(dir.filePath(QString("proc/%1/comm").arg(pid)), "minicom\n"));

        const PortFacts f =
            gatherPortFacts(viaLink ? link : device, {}, {{}, dir.filePath("proc")});
        QCOMPARE(f.openHolder ? f.openHolder->pid : 0, found);
        if (found)
            QCOMPARE(f.openHolder->name, QStringLiteral("minicom"));
    }

    void groupOfTheDevice()
    {
        QTemporaryDir dir;
        const QString device = dir.filePath("ttyFake");
        QVERIFY(writeFile(device, {}));
        const group* gr = ::getgrnam("dialout");
        if (!gr || ::chown(QFile::encodeName(device).constData(), -1, gr->gr_gid) != 0)
            QSKIP("cannot give a file to the dialout group here");
        QCOMPARE(gatherPortFacts(device, {}, {{}, dir.path()}).group, QStringLiteral("dialout"));
    }

    // Each present port listed, each other one with its reason; 17 is never tried, and an
    // open port is closed first.
    void listingTellsWhyPortsFailed()
    {
        CommRig rig;
        QVERIFY(rig.open());
        SimSync second;
        QVERIFY(second.start());
        QTemporaryDir dir;
        const QString file = dir.filePath("ttyFile");
        QVERIFY(writeFile(file, {}));
        rig.ports.setTestMapping({{1, rig.sim.path()},
                                  {2, missingDevicePath("ttyX")},
                                  {3, dir.path()},
                                  {4, file},
                                  {5, second.path()},
                                  {17, second.path()}});
        rig.portAccess.PortPresent.fill(true);
        int changed = 0;
        QObject::connect(&rig.portAccess, &PortAccess::listChanged, [&] { ++changed; });
        QVERIFY(awaited(ListSerialPorts(rig.c)));
        QCOMPARE(rig.status.backlog(),
                 (QStringList{"", "", "Looking for Serial Ports", "  Com1 is possible",
                              "  Com5 is possible",
                              "  " + dir.path() + ": cannot be opened: " + systemText(EISDIR),
                              "  " + file + ": cannot be opened: " + systemText(ENOTTY)}));
        QCOMPARE(rig.portAccess.PortList.size(), 2);
        QCOMPARE(rig.portAccess.PortList[0].label, QStringLiteral("COM1"));
        QCOMPARE(rig.portAccess.PortList[0].device, rig.sim.path());
        QCOMPARE(rig.portAccess.PortList[1].port, int16_t(5));
        QCOMPARE(rig.portAccess.PortListSelected, 0);
        for (int n = 1; n <= 16; ++n)
            QCOMPARE(rig.portAccess.PortPresent[n], n == 1 || n == 5);
        QCOMPARE(changed, 1);
        QVERIFY(!rig.comm.PortOpen());
    }

    void listingWithoutPortsTellsWhyAfterProblem()
    {
        CommRig rig;
        QTemporaryDir dir;
        rig.ports.setTestMapping({{2, dir.path()}});
        rig.portAccess.PortList.append(PortListEntry{"COM9", 9, {}});
        rig.portAccess.PortListSelected = 0;
        QVERIFY(!awaited(ListSerialPorts(rig.c)));
        QVERIFY(rig.portAccess.PortList.isEmpty());
        QCOMPARE(rig.portAccess.PortListSelected, -1);
        QCOMPARE(rig.status.backlog().mid(3),
                 (QStringList{"PROBLEM!!!", "No Serial Ports are avaliable!!",
                              "  Close other programs that might be using",
                              "  serial ports and try again",
                              "  " + dir.path() + ": cannot be opened: " + systemText(EISDIR)}));
    }

    void listingNamesTheHolderOfTheLock()
    {
        CommRig rig;
        QVERIFY(rig.open()); // holds the device and the serial layer's lock on it
        MSComm other(rig.ports);
        CommTimer timer;
        CommandState cmd;
        PortAccess portAccess;
        FinderStatus status;
        CommContext c{other, timer, cmd, portAccess, LineTiming::unpaced(), nullptr, &status};
        QVERIFY(!awaited(ListSerialPorts(c)));
        QFile comm("/proc/self/comm");
        QVERIFY(comm.open(QIODevice::ReadOnly));
        QCOMPARE(status.backlog().last(),
                 QString("  %1: in use by another program (%2, process %3): close it and try again")
                     .arg(rig.sim.path(), QString(comm.readAll()).trimmed())
                     .arg(QCoreApplication::applicationPid()));
    }
};

CORVANE_TEST_CLASS(PortTroubleTest)

#include "tst_PortTrouble.moc"
