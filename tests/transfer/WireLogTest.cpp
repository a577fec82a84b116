// The wire log itself: the ring, the names of frames, the logging category. What the
// commands log: LoadTest, FailureTest, and MonitorTest's failed compare.

#include "comm/WireLog.h"
#include "support/TestRunner.h"

#include <QRegularExpression>
#include <QTest>

namespace {
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
        for (const char* text : {"1", "2", "3", "4", "5"})
            log.event(text);
        QCOMPARE(log.totalAdded(), qint64(5));
        QStringList kept;
        for (const WireLogEntry& e : log.entries())
            kept << e.text;
        QCOMPARE(kept, QStringList({"3", "4", "5"}));
        // Time, kind and text.
        QVERIFY(QRegularExpression("^ +\\d+\\.\\d{3}  - 5$").match(log.lines().last()).hasMatch());
    }

    void framesAreNamed()
    {
        const struct
        {
            bool sent;
            QByteArray bytes;
            const char* text;
        } rows[] = {{true, "WH\a \r", "W 48 \"<07> \""}, // ATTN, R 3F: LoadTest
                    {true, "X\r", "bytes [58 0D]"},
                    {false, "22\n\r", "REPLY \"22\" LF CR"},
                    {false, "ATS0=1\n\r", "RESET announcement [41 54 53 30 3D 31 0A 0D]"},
                    {false, "22\n", "unrecognised bytes [32 32 0A]"}};
        for (const auto& r : rows)
            QCOMPARE(r.sent ? WireLog::describeSent(r.bytes) : WireLog::describeReceived(r.bytes),
                     QString(r.text));
    }

    void entriesGoToTheLoggingCategory()
    {
        WireLog log;
        messagesSeen.clear();
        const QtMessageHandler old = qInstallMessageHandler(recordMessage);
        QLoggingCategory::setFilterRules(QStringLiteral("corvane.wire.debug=false"));
        log.event("unheard");
        QLoggingCategory::setFilterRules(QStringLiteral("corvane.wire.debug=true"));
        log.event("heard");
        qInstallMessageHandler(old);
        QLoggingCategory::setFilterRules(QString());
        QCOMPARE(messagesSeen.size(), 1);
        QVERIFY(messagesSeen[0].endsWith("- heard"));
    }
};

CORVANE_TEST_CLASS(WireLogTest)
#include "WireLogTest.moc"
