// The wire log against the simulated unit: frames in wire order, retries, failures, the
// compare's differences and the load's marks, command boundaries; and the ring itself.

#include "TransferRig.h"
#include "comm/WireLog.h"
#include "support/TestRunner.h"
#include "transfer/CellMap.h"

#include <QLoggingCategory>
#include <QPushButton>
#include <QRegularExpression>

using namespace TransferTest;

namespace {

QStringList textsOf(const WireLog& log, WireLogEntry::Kind kind)
{
    QStringList out;
    for (const WireLogEntry& e : log.entries())
        if (e.kind == kind)
            out << e.text;
    return out;
}

QString hexAddress(uint8_t a)
{
    return QStringLiteral("%1").arg(a, 2, 16, QLatin1Char('0')).toUpper();
}

QStringList messagesSeen;
void recordMessage(QtMsgType, const QMessageLogContext& context, const QString& text)
{
    if (QLatin1String(context.category) == QLatin1String("corvane.wire"))
        messagesSeen << text;
}

} // namespace

class WireLogTest : public QObject
{
    Q_OBJECT
private slots:
    void ringKeepsTheNewestInOrder()
    {
        WireLog log(3);
        for (int i = 1; i <= 5; ++i)
            log.event(QString::number(i));
        QCOMPARE(textsOf(log, WireLogEntry::Event), (QStringList{"3", "4", "5"}));
        QCOMPARE(log.totalAdded(), qint64(5));
        const QVector<WireLogEntry> e = log.entries();
        QVERIFY(e[0].ms <= e[1].ms && e[1].ms <= e[2].ms);
        QVERIFY(QRegularExpression("^ +\\d+\\.\\d{3}  - 5$").match(log.lines().last()).hasMatch());
        log.clear();
        QCOMPARE(log.size(), 0);
        log.sent("OK\n\r");
        QCOMPARE(log.lines().size(), 1);
    }

    void framesAreNamed_data()
    {
        QTest::addColumn<bool>("sent");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("text");
        QTest::newRow("attention") << true << QByteArray("OK\n\r") << "ATTN";
        QTest::newRow("read") << true << QByteArray("R?\r") << "R 3F";
        QTest::newRow("write") << true << QByteArray("W<50\r") << "W 3C \"50\"";
        QTest::newRow("write, control byte") << true << QByteArray("WH\a \r") << "W 48 \"<07> \"";
        QTest::newRow("other") << true << QByteArray("X\r") << "bytes [58 0D]";
        QTest::newRow("reply") << false << QByteArray("22\n\r") << "REPLY \"22\" LF CR";
        QTest::newRow("announcement")
            << false << QByteArray("ATS0=1\n\r") << "RESET announcement [41 54 53 30 3D 31 0A 0D]";
        QTest::newRow("short") << false << QByteArray("22\n") << "unrecognised bytes [32 32 0A]";
    }
    void framesAreNamed()
    {
        QFETCH(bool, sent);
        QFETCH(QByteArray, bytes);
        QFETCH(QString, text);
        QCOMPARE(sent ? WireLog::describeSent(bytes) : WireLog::describeReceived(bytes), text);
    }

    void entriesGoToTheLoggingCategory()
    {
        WireLog log;
        messagesSeen.clear();
        log.event("unheard"); // debug output of the category is off by default
        QLoggingCategory::setFilterRules(QStringLiteral("corvane.wire.debug=true"));
        const QtMessageHandler old = qInstallMessageHandler(recordMessage);
        log.event("heard");
        qInstallMessageHandler(old);
        QLoggingCategory::setFilterRules(QString());
        QCOMPARE(messagesSeen.size(), 1);
        QVERIFY(messagesSeen[0].endsWith("- heard"));
    }

    void loadIsLoggedInWireOrder()
    {
        Rig rig;
        QVERIFY(rig.ok);
        WireLog& log = rig.fx.app->wireLog();
        log.clear();
        QTest::mouseClick(ctl<QPushButton>(rig.main(), "cmdLoadFrom"), Qt::LeftButton);

        QStringList expected{"ATTN", "ATTN"};
        for (uint8_t a : loadReadOrder())
            expected << "R " + hexAddress(a);
        QCOMPARE(textsOf(log, WireLogEntry::Sent), expected);
        // Each request is followed by its reply before the next goes out.
        QStringList order;
        for (const WireLogEntry& e : log.entries())
            if (e.kind == WireLogEntry::Sent || e.kind == WireLogEntry::Received)
                order << (e.kind == WireLogEntry::Sent ? e.text.left(1) : "reply");
        QCOMPARE(order.join(' ').count("R reply"), 56);
        QCOMPARE(textsOf(log, WireLogEntry::Command),
                 (QStringList{"begin load", "load ended: 0 problems marked", "end load"}));
    }

    void retriedReadAndMarks()
    {
        Rig rig;
        QVERIFY(rig.ok);
        rig.sim.setPacing(false);
        rig.sim.queueFault(simsync::Fault::Silence); // the model cell answers the second time
        rig.sim.setCell(0x38, '?', '?');
        WireLog& log = rig.fx.app->wireLog();
        QTest::mouseClick(ctl<QPushButton>(rig.main(), "cmdLoadFrom"), Qt::LeftButton);

        const QStringList events = textsOf(log, WireLogEntry::Event);
        QVERIFY(events.contains("no full reply to R 3F within 200 ms (0 bytes): Reply Timed Out"));
        QVERIFY(events.contains("retry 2 of 3 for R 3F after: Reply Timed Out"));
        QCOMPARE(textsOf(log, WireLogEntry::Finding),
                 QStringList{"Start Title marked red (unreadable): cell 38 bytes 3F 3F, set to 1"});
        QVERIFY(textsOf(log, WireLogEntry::Command).contains("load ended: 1 problems marked"));
    }

    void compareDifferencesNameTheirFields()
    {
        Rig rig;
        QVERIFY(rig.ok);
        rig.sim.setPacing(false);
        rig.sim.freezeCell(0x48);
        rig.sim.freezeCell(0x39);
        rig.main().cmdDefaults_Click();
        ctl<QLineEdit>(rig.main(), "txtComment")->setText("Hello");
        ctl<Spinner>(rig.main(), "scrEndTitle")->setValueNotify(7);
        WireLog& log = rig.fx.app->wireLog();
        const std::array<uint8_t, 2> kept = rig.sim.cell(0x48);
        QTest::mouseClick(ctl<QPushButton>(rig.main(), "cmdSaveTo"), Qt::LeftButton);

        const QString keptBytes =
            QStringLiteral("%1 %2").arg(kept[0], 2, 16, QLatin1Char('0')).arg(kept[1], 2, 16, QLatin1Char('0')).toUpper();
        QCOMPARE(textsOf(log, WireLogEntry::Finding),
                 (QStringList{"cell 39 (End Title): expected 7, read 2",
                              "cell 48 (Comment): expected bytes 48 65, read bytes " + keptBytes}));
        const QStringList commands = textsOf(log, WireLogEntry::Command);
        QVERIFY(commands.contains("save ended: 54 cells written"));
        QVERIFY(commands.contains("compare ended: 2 differences"));
        QVERIFY(textsOf(log, WireLogEntry::Event)
                    .contains("problem shown: Compare Failed! The settings did not save correctly "
                              "to the synchronizer. /  Please try again"));
    }

    void vanishedLineIsLoggedWithItsReason()
    {
        Rig rig;
        QVERIFY(rig.ok);
        rig.sim.closeAfterFrames(2 + 20);
        WireLog& log = rig.fx.app->wireLog();
        QTest::mouseClick(ctl<QPushButton>(rig.main(), "cmdLoadFrom"), Qt::LeftButton);

        const QStringList events = textsOf(log, WireLogEntry::Event);
        const QString lost = events.filter(QRegularExpression("^COM5 lost: ")).value(0);
        QVERIFY2(lost.contains("Device disappeared from the system"), qPrintable(events.join('\n')));
        QVERIFY(!events.filter(QRegularExpression("^R [0-9A-F]{2} failed: Device disappeared")).isEmpty());
        QVERIFY(!textsOf(log, WireLogEntry::Command)
                     .filter(QRegularExpression("^load ended: communication failed: Device disappeared"))
                     .isEmpty());
        QVERIFY(events.last().startsWith("problem shown: Cannot Load! There were communications errors"));
    }
};

CORVANE_TEST_CLASS(WireLogTest)
#include "WireLogTest.moc"
