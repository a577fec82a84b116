// Feeds arbitrary bytes as a network serial port's Telnet stream, in pieces, and checks
// what must hold for any stream: the pieces read exactly as the whole, the only replies
// are refusals (IAC WONT x, IAC DONT x), at most one per option and verb and one notice
// each, the notices carry well-formed values, and escaped data reads back as itself.
//
// Input: the first byte's low three bits give the number of cuts, the next bytes the
// length of each piece before a cut; the rest is the stream. With the first byte's top bit
// set the stream comes as a TLS line delivers it instead: record by record, each a
// two-byte length (big-endian, at most 16384, the largest record a TLS peer may send)
// and that many bytes, so pieces run long and cut anywhere.

#include "FuzzCheck.h"
#include "comm/Rfc2217Stream.h"

#include <bitset>
#include <cstdint>
#include <cstdio>

using namespace rfc2217;

namespace {

bool sameNotices(const QList<Notice>& a, const QList<Notice>& b)
{
    if (a.size() != b.size())
        return false;
    for (qsizetype i = 0; i < a.size(); ++i)
        if (a[i].kind != b[i].kind || a[i].option != b[i].option || a[i].value != b[i].value)
            return false;
    return true;
}

void checkReplyAndNotices(const Fed& fed)
{
    FUZZ_CHECK(fed.reply.size() % 3 == 0);
    std::bitset<256> wont, dont;
    QList<uint8_t> refusedOptions;
    for (qsizetype i = 0; i < fed.reply.size(); i += 3) {
        const uint8_t verb = static_cast<uint8_t>(fed.reply[i + 1]);
        const uint8_t option = static_cast<uint8_t>(fed.reply[i + 2]);
        FUZZ_CHECK(static_cast<uint8_t>(fed.reply[i]) == Iac);
        FUZZ_CHECK(verb == Wont || verb == Dont);
        FUZZ_CHECK(option != Binary && option != ComPort);
        std::bitset<256>& seen = verb == Wont ? wont : dont;
        FUZZ_CHECK(!seen.test(option));
        seen.set(option);
        refusedOptions.append(option);
    }

    QList<uint8_t> noticedOptions;
    int lastComPort = -1;
    for (const Notice& n : fed.notices) {
        switch (n.kind) {
        case Notice::ComPortAccepted:
        case Notice::ComPortRefused:
            FUZZ_CHECK(n.kind != lastComPort); // noted when the answer changes, not again
            lastComPort = n.kind;
            FUZZ_CHECK(n.option == 0 && n.value.isEmpty());
            break;
        case Notice::OptionRefused:
            FUZZ_CHECK(n.value.isEmpty());
            noticedOptions.append(n.option);
            break;
        case Notice::Acknowledged:
            FUZZ_CHECK(n.option >= SetBaud && n.option <= PurgeData);
            FUZZ_CHECK(n.option != NotifyLineState && n.option != NotifyModemState);
            FUZZ_CHECK(n.value.size() < MaxSubnegotiation);
            break;
        case Notice::SignatureText:
            FUZZ_CHECK(n.option == 0 && n.value.size() < MaxSubnegotiation);
            break;
        case Notice::LineState:
        case Notice::ModemState:
            FUZZ_CHECK(n.option == 0 && n.value.size() == 1);
            break;
        }
    }
    FUZZ_CHECK(noticedOptions == refusedOptions);
}

// The pieces of the plain form: up to seven cuts, each after up to 255 bytes.
QList<QByteArray> cutPieces(const QByteArray& input, QByteArray* received)
{
    const qsizetype cuts = input.isEmpty() ? 0 : qMin<qsizetype>(input[0] & 7, input.size() - 1);
    const QByteArray lengths = input.mid(1, cuts);
    *received = input.mid(1 + cuts);
    QList<QByteArray> chunks;
    qsizetype at = 0;
    for (const char length : lengths) {
        chunks.append(received->mid(at, static_cast<uint8_t>(length)));
        at += static_cast<uint8_t>(length);
    }
    chunks.append(received->mid(at));
    return chunks;
}

// The pieces of the TLS form: one per record; a last record shorter than its length is
// what arrived of it.
QList<QByteArray> tlsRecords(const QByteArray& input, QByteArray* received)
{
    QList<QByteArray> records;
    qsizetype at = 1;
    while (at + 2 <= input.size()) {
        const int length = qMin(16384, (uint8_t(input[at]) << 8) | uint8_t(input[at + 1]));
        records.append(input.mid(at + 2, length));
        *received += records.last();
        at += 2 + length;
    }
    return records;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray input =
        QByteArray::fromRawData(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    QByteArray received;
    const bool tls = !input.isEmpty() && (uint8_t(input[0]) & 0x80);
    const QList<QByteArray> chunks =
        tls ? tlsRecords(input, &received) : cutPieces(input, &received);

    Stream whole;
    const Fed all = whole.feed(received);
    FUZZ_CHECK(all.data.size() <= received.size());
    checkReplyAndNotices(all);
    if (!received.contains(static_cast<char>(Iac)))
        FUZZ_CHECK(all.data == received && all.reply.isEmpty() && all.notices.isEmpty());

    Stream pieces;
    Fed joined;
    for (const QByteArray& chunk : chunks) {
        const Fed fed = pieces.feed(chunk);
        joined.data += fed.data;
        joined.reply += fed.reply;
        joined.notices += fed.notices;
    }
    FUZZ_CHECK(joined.data == all.data);
    FUZZ_CHECK(joined.reply == all.reply);
    FUZZ_CHECK(sameNotices(joined.notices, all.notices));
    FUZZ_CHECK(pieces.comPortAccepted() == whole.comPortAccepted());

    // Escaped, any bytes are plain data.
    Stream escaped;
    const Fed plain = escaped.feed(Stream::escape(received));
    FUZZ_CHECK(plain.data == received && plain.reply.isEmpty() && plain.notices.isEmpty());
    return 0;
}
