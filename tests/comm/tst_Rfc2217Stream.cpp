#include "comm/Rfc2217Stream.h"
#include "support/TestRunner.h"

#include <QStringList>
#include <QTest>

using namespace rfc2217;

namespace {

QByteArray hex(const char* text)
{
    return QByteArray::fromHex(text); // spaces are skipped
}

// One notice as "Kind [option] [value in hex]"; several joined by "; ".
QString noticeText(const QList<Notice>& notices)
{
    static const char* const kinds[] = {"ComPortAccepted", "ComPortRefused", "OptionRefused",
                                        "Acknowledged",    "SignatureText",  "LineState",
                                        "ModemState"};
    QStringList parts;
    for (const Notice& n : notices) {
        QString one = kinds[n.kind];
        if (n.kind == Notice::OptionRefused || n.kind == Notice::Acknowledged)
            one += ' ' + QString::number(n.option);
        if (!n.value.isEmpty())
            one += ' ' + QString::fromLatin1(n.value.toHex());
        parts.append(one);
    }
    return parts.join("; ");
}

// What a stream gave: "data | reply | notices | accepted" (the bytes in hex).
QString outcome(const QByteArray& data, const QByteArray& reply, const QString& notices,
                bool accepted)
{
    return QStringList{data.toHex(' '), reply.toHex(' '), notices, accepted ? "accepted" : "-"}
        .join(" | ");
}

} // namespace

class Rfc2217StreamTest : public QObject
{
    Q_OBJECT
private slots:
    void outgoing_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QByteArray>("expected");
        const auto row = [](const char* name, const QByteArray& bytes, const char* expected) {
            QTest::newRow(name) << bytes << hex(expected);
        };
        row("greeting", Stream::greeting(), "ff fb 2c ff fb 00 ff fd 00");
        row("escape", Stream::escape(hex("00 ff 41 ff ff")), "00 ff ff 41 ff ff ff ff");
        row("escape nothing", Stream::escape({}), "");
        row("baud 1200", Stream::setBaud(1200), "ff fa 2c 01 00 00 04 b0 ff f0");
        row("baud 115200", Stream::setBaud(115200), "ff fa 2c 01 00 01 c2 00 ff f0");
        row("baud with ff", Stream::setBaud(0x0000ffff), "ff fa 2c 01 00 00 ff ff ff ff ff f0");
        row("data size 7", Stream::setByte(SetDataSize, 7), "ff fa 2c 02 07 ff f0");
        row("parity even", Stream::setByte(SetParity, 3), "ff fa 2c 03 03 ff f0");
        row("stop size 2", Stream::setByte(SetStopSize, 2), "ff fa 2c 04 02 ff f0");
        row("control ff", Stream::setByte(SetControl, 0xff), "ff fa 2c 05 ff ff ff f0");
        row("purge both", Stream::setByte(PurgeData, 3), "ff fa 2c 0c 03 ff f0");
        row("signature", Stream::command(Signature, "Corvane"),
            "ff fa 2c 00 43 6f 72 76 61 6e 65 ff f0");
    }

    void outgoing()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QByteArray, expected);
        QCOMPARE(bytes.toHex(' '), expected.toHex(' '));
    }

    void feed_data()
    {
        QTest::addColumn<QByteArray>("received");
        QTest::addColumn<QByteArray>("data");
        QTest::addColumn<QByteArray>("reply");
        QTest::addColumn<QString>("notices");
        QTest::addColumn<bool>("accepted");
        const auto row = [](const char* name, const QByteArray& in, const char* data,
                            const char* reply, const QString& notices, bool accepted = false) {
            QTest::newRow(name) << in << hex(data) << hex(reply) << notices << accepted;
        };
        row("plain data", hex("41 42 0d 00 0a fe"), "41 42 0d 00 0a fe", "", "");
        row("IAC IAC is one ff", hex("41 ff ff 42 ff ff ff ff"), "41 ff 42 ff ff", "", "");
        row("DO COM-PORT", hex("ff fd 2c"), "", "", "ComPortAccepted", true);
        row("DO COM-PORT noted once", hex("ff fd 2c 41 ff fd 2c"), "41", "", "ComPortAccepted",
            true);
        row("DONT COM-PORT", hex("ff fe 2c"), "", "", "ComPortRefused");
        row("DO, DONT, DO COM-PORT", hex("ff fd 2c ff fe 2c ff fd 2c"), "", "",
            "ComPortAccepted; ComPortRefused; ComPortAccepted", true);
        row("WILL and WONT COM-PORT", hex("ff fb 2c ff fc 2c ff fd 2c ff fc 2c"), "", "",
            "ComPortAccepted", true);
        row("binary every way", hex("ff fd 00 ff fb 00 ff fe 00 ff fc 00"), "", "", "");
        row("DO other", hex("ff fd 18"), "", "ff fc 18", "OptionRefused 24");
        row("WILL other", hex("ff fb 01"), "", "ff fe 01", "OptionRefused 1");
        row("WILL option ff", hex("ff fb ff 41"), "41", "ff fe ff", "OptionRefused 255");
        row("refused once per verb", hex("ff fd 03 ff fb 03 ff fd 03 ff fb 03 ff fd 18"), "",
            "ff fc 03 ff fe 03 ff fc 18", "OptionRefused 3; OptionRefused 3; OptionRefused 24");
        row("DONT and WONT other", hex("ff fe 18 ff fc 01"), "", "", "");
        row("other commands", hex("41 ff f1 42 ff f9 43 ff f0 ff f4 44"), "41 42 43 44", "", "");
        row("baud acknowledged", hex("ff fa 2c 65 00 00 04 b0 ff f0"), "", "",
            "Acknowledged 1 000004b0");
        row("line settings acknowledged",
            hex("ff fa 2c 66 08 ff f0 ff fa 2c 67 01 ff f0 ff fa 2c 68 03 ff f0"), "", "",
            "Acknowledged 2 08; Acknowledged 3 01; Acknowledged 4 03");
        row("ff in acknowledged value", hex("ff fa 2c 65 00 00 ff ff ff ff ff f0"), "", "",
            "Acknowledged 1 0000ffff");
        row("flow and purge acknowledged", hex("ff fa 2c 6c ff f0 ff fa 2c 70 03 ff f0"), "", "",
            "Acknowledged 8; Acknowledged 12 03");
        row("signature", hex("ff fa 2c 64 53 72 76 20 31 ff f0"), "", "",
            "SignatureText 5372762031");
        row("states between data", hex("41 ff fa 2c 6a 60 ff f0 42 ff fa 2c 6b b0 ff f0 43"),
            "41 42 43", "", "LineState 60; ModemState b0");
        row("state of two bytes", hex("ff fa 2c 6a 60 00 ff f0 ff fa 2c 6b ff f0 41"), "41", "",
            "");
        row("server asking", hex("ff fa 2c 00 ff f0 ff fa 2c 01 00 00 04 b0 ff f0 41"), "41", "",
            "");
        row("code past purge", hex("ff fa 2c 71 00 ff f0 ff fa 2c ff ff ff f0"), "", "", "");
        row("other option's subnegotiation", hex("ff fa 18 01 ff f0 ff fa 2c ff f0 41"), "41", "",
            "");
        row("command inside subnegotiation", hex("ff fa 2c 6a 60 ff fd 18 41"), "41", "ff fc 18",
            "OptionRefused 24");
        row("server session",
            hex("ff fd 2c ff fb 00 ff fd 00 ff fa 2c 65 00 00 25 80 ff f0 30 ff ff 31"), "30 ff 31",
            "", "ComPortAccepted; Acknowledged 1 00002580", true);
        // The code and 1023 bytes are the longest kept; one byte more, and it is dropped.
        const QByteArray longest(1023, 'A');
        row("longest signature", hex("ff fa 2c 64") + longest + hex("ff f0 42"), "42", "",
            "SignatureText " + QString("41").repeated(1023));
        row("too long dropped", hex("ff fa 2c 64") + longest + hex("ff ff ff f0 42"), "42", "", "");
    }

    // Each stream whole, one byte at a time, and in two pieces split at every position.
    void feed()
    {
        QFETCH(QByteArray, received);
        QFETCH(QByteArray, data);
        QFETCH(QByteArray, reply);
        QFETCH(QString, notices);
        QFETCH(bool, accepted);
        QList<QList<QByteArray>> ways{{received}, {}};
        for (const char b : received)
            ways[1].append(QByteArray(1, b));
        for (qsizetype at = 0; at <= received.size(); ++at)
            ways.append({received.left(at), received.mid(at)});
        for (const QList<QByteArray>& chunks : ways) {
            Stream stream;
            Fed all;
            for (const QByteArray& chunk : chunks) {
                const Fed fed = stream.feed(chunk);
                all.data += fed.data;
                all.reply += fed.reply;
                all.notices += fed.notices;
            }
            const QString way = QString("in %1 pieces, the first of %2 bytes: ")
                                    .arg(chunks.size())
                                    .arg(chunks[0].size());
            QCOMPARE(way + outcome(all.data, all.reply, noticeText(all.notices),
                                   stream.comPortAccepted()),
                     way + outcome(data, reply, notices, accepted));
        }
    }
};

CORVANE_TEST_CLASS(Rfc2217StreamTest)

#include "tst_Rfc2217Stream.moc"
