// `corvane` as a process of its own, started as a newcomer starts it: what it says and the
// status it ends with before any window, with no display and with a bad option or port.

#include "support/TestRunner.h"

#include <QProcess>
#include <QTest>

class StartUpTest : public QObject
{
    Q_OBJECT
private slots:
    void answersBeforeTheWindow_data();
    void answersBeforeTheWindow();
};

namespace {
const QString NoDisplay =
    QStringLiteral("corvane: no display to open a window on (neither DISPLAY nor WAYLAND_DISPLAY "
                   "is set); corvane-cli works without one");
constexpr int Running = -1; // still running after a second: the window is up
} // namespace

void StartUpTest::answersBeforeTheWindow_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QStringList>("environment"); // added to one without a display
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("err"); // all of standard error
    QTest::addColumn<QString>("out"); // a part of standard output
    const QStringList none;
    QTest::newRow("no display") << none << none << 2 << NoDisplay << "";
    QTest::newRow("no display, demo") << QStringList{"--demo"} << none << 2 << NoDisplay << "";
    QTest::newRow("help") << QStringList{"--help"} << none << 0 << ""
                          << "--port <N=URL>";
    QTest::newRow("version") << QStringList{"--version"} << none << 0 << ""
                             << "corvane " CORVANE_BUILD_VERSION "\n";
    QTest::newRow("unknown option")
        << QStringList{"--bogus"} << none << 3
        << "corvane: Unknown option 'bogus'. (corvane --help lists the options)"
        << "";
    QTest::newRow("Qt's own option passed over, ours refused")
        << QStringList{"-platform", "offscreen", "--bogus", "--demo"} << none << 3
        << "corvane: Unknown option 'bogus'. (corvane --help lists the options)"
        << "";
    QTest::newRow("port without an address")
        << QStringList{"--port", "3=/dev/ttyS0"} << none << 3
        << "corvane: --port 3=/dev/ttyS0: expected N=rfc2217://HOST:PORT or N=tcp://HOST:PORT "
           "with N from 1 to 16"
        << "";
    QTest::newRow("port map with an item that is not N=DEVICE")
        << none << QStringList{"CORVANE_PORT_MAP=1=/dev/pts/5,17=/dev/pts/6"} << 3
        << "corvane: CORVANE_PORT_MAP: \"17=/dev/pts/6\" is not N=DEVICE with N from 1 to 16"
        << "";
    QTest::newRow("bad port map before no display")
        << QStringList{"--demo"} << QStringList{"CORVANE_PORT_MAP=COM1"} << 3
        << "corvane: CORVANE_PORT_MAP: \"COM1\" is not N=DEVICE with N from 1 to 16"
        << "";
    QTest::newRow("platform named by the environment, with a port map")
        << none << QStringList{"QT_QPA_PLATFORM=offscreen", "CORVANE_PORT_MAP=3=/dev/null"}
        << Running << ""
        << "";
    QTest::newRow("platform named on the command line")
        << QStringList{"-platform", "offscreen", "--demo"} << none << Running << ""
        << "";
}

void StartUpTest::answersBeforeTheWindow()
{
    QFETCH(QStringList, arguments);
    QFETCH(QStringList, environment);
    QFETCH(int, status);
    QFETCH(QString, err);
    QFETCH(QString, out);
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM", "CORVANE_PORT_MAP"})
        env.remove(QString::fromLatin1(name));
    for (const QString& e : environment)
        env.insert(e.section('=', 0, 0), e.section('=', 1));
    QProcess p;
    p.setProcessEnvironment(env);
    p.start(QStringLiteral(CORVANE_APP), arguments);
    QVERIFY(p.waitForStarted());
    const bool ended = p.waitForFinished(status == Running ? 1000 : 20000);
    if (!ended) {
        p.kill();
        p.waitForFinished();
    }
    const QString said = QString::fromLocal8Bit(p.readAllStandardError()).trimmed();
    QCOMPARE(ended ? p.exitCode() : Running, status);
    if (status != Running)
        QCOMPARE(said, err);
    QVERIFY2(QString::fromLocal8Bit(p.readAllStandardOutput()).contains(out), qPrintable(out));
}

CORVANE_TEST_CLASS(StartUpTest)
#include "StartUpTest.moc"
