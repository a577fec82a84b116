#pragma once
// The Telnet byte stream of a serial port reached over the network (RFC 2217,
// COM-PORT-OPTION): the commands we send and the reading of what the server sends back.
// No sockets here: bytes in, bytes and notices out.
//
// We offer COM-PORT and binary transmission both ways in the greeting. Received options
// other than those are refused once per option and verb, so no negotiation can loop.
// Everything received is taken apart across calls: a command or a subnegotiation split
// anywhere, even right after an IAC, is whole once its last byte has arrived.

#include <QByteArray>
#include <QList>
#include <bitset>
#include <cstdint>

namespace rfc2217 {

// Telnet bytes and the COM-PORT-OPTION numbers (client to server; the server's answers
// add 100).
enum : uint8_t
{
    Se = 240,
    Sb = 250,
    Will = 251,
    Wont = 252,
    Do = 253,
    Dont = 254,
    Iac = 255,
    Binary = 0,
    ComPort = 44
};

enum Command : uint8_t
{
    Signature = 0,
    SetBaud = 1,
    SetDataSize = 2,
    SetParity = 3,
    SetStopSize = 4,
    SetControl = 5,
    NotifyLineState = 6,
    NotifyModemState = 7,
    FlowSuspend = 8,
    FlowResume = 9,
    SetLineStateMask = 10,
    SetModemStateMask = 11,
    PurgeData = 12
};

// The server's codes: a command number plus this.
constexpr uint8_t ServerOffset = 100;
// Longest subnegotiation kept (command code and value, unescaped); a longer one is
// read to its end and dropped.
constexpr int MaxSubnegotiation = 1024;

struct Notice
{
    enum Kind
    {
        ComPortAccepted,
        ComPortRefused,
        OptionRefused,
        Acknowledged,
        SignatureText,
        LineState,
        ModemState
    };
    Kind kind;
    // OptionRefused: the option we refused; Acknowledged: the client command number
    // (1..12), i.e. the server's code - 100.
    uint8_t option = 0;
    // Acknowledged: the value bytes (unescaped); SignatureText: the text;
    // LineState/ModemState: the one byte.
    QByteArray value;
};

struct Fed
{
    QByteArray data;  // the serial data, IAC IAC read as one 0xFF
    QByteArray reply; // to send back: our refusals
    QList<Notice> notices;
};

class Stream
{
public:
    // IAC WILL COM-PORT, IAC WILL BINARY, IAC DO BINARY.
    static QByteArray greeting();
    // Every 0xFF doubled.
    static QByteArray escape(const QByteArray& data);
    // IAC SB COM-PORT <c> <value, 0xFF doubled> IAC SE.
    static QByteArray command(Command c, const QByteArray& value);
    // SET-BAUDRATE with the rate in four bytes, most significant first.
    static QByteArray setBaud(quint32 baud);
    // A command with a one-byte value: data size, parity, stop size, control, purge.
    static QByteArray setByte(Command c, uint8_t v);

    // Everything received since the last call. Returns the data bytes, the bytes to send
    // back and what the server said, in the order it said it.
    Fed feed(const QByteArray& received);
    // The server's latest answer to our offer was DO COM-PORT.
    bool comPortAccepted() const { return comPort_ == Answer::Accepted; }

private:
    enum class State : uint8_t
    {
        Data,     // serial data
        Iac,      // after IAC
        Option,   // after IAC and a verb: the option byte next
        SbOption, // after IAC SB: the option byte next
        Sb,       // inside a subnegotiation
        SbIac     // after IAC inside a subnegotiation
    };
    enum class Answer : uint8_t
    {
        None,
        Accepted,
        Refused
    };

    void afterIac(uint8_t byte, Fed& out);
    void keep(char c);
    void negotiate(uint8_t option, Fed& out);
    void refuse(uint8_t verb, uint8_t option, Fed& out);
    void subnegotiation(Fed& out);

    State state_ = State::Data;
    uint8_t verb_ = 0;
    uint8_t sbOption_ = 0;
    bool sbTooLong_ = false;
    QByteArray sb_;
    Answer comPort_ = Answer::None;
    std::bitset<256> refusedDo_;   // options we answered WONT
    std::bitset<256> refusedWill_; // options we answered DONT
};

} // namespace rfc2217
