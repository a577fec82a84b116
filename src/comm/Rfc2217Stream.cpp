#include "comm/Rfc2217Stream.h"

namespace rfc2217 {

namespace {

constexpr char byte(uint8_t b)
{
    return static_cast<char>(b);
}

} // namespace

QByteArray Stream::greeting()
{
    const char bytes[] = {byte(Iac),    byte(Will), byte(ComPort), byte(Iac),   byte(Will),
                          byte(Binary), byte(Iac),  byte(Do),      byte(Binary)};
    return QByteArray(bytes, sizeof(bytes));
}

QByteArray Stream::escape(const QByteArray& data)
{
    QByteArray out;
    out.reserve(data.size());
    for (const char b : data) {
        out.append(b);
        if (b == byte(Iac))
            out.append(b);
    }
    return out;
}

QByteArray Stream::command(Command c, const QByteArray& value)
{
    QByteArray out;
    out.append(byte(Iac)).append(byte(Sb)).append(byte(ComPort)).append(byte(c));
    out.append(escape(value));
    out.append(byte(Iac)).append(byte(Se));
    return out;
}

QByteArray Stream::setBaud(quint32 baud)
{
    const char value[] = {byte(baud >> 24), byte(baud >> 16), byte(baud >> 8), byte(baud)};
    return command(SetBaud, QByteArray(value, sizeof(value)));
}

QByteArray Stream::setByte(Command c, uint8_t v)
{
    return command(c, QByteArray(1, byte(v)));
}

Fed Stream::feed(const QByteArray& received)
{
    Fed out;
    for (const char c : received) {
        const uint8_t b = static_cast<uint8_t>(c);
        switch (state_) {
        case State::Data:
            if (b == Iac)
                state_ = State::Iac;
            else
                out.data.append(c);
            break;
        case State::Iac:
            afterIac(b, out);
            break;
        case State::Option:
            negotiate(b, out);
            state_ = State::Data;
            break;
        case State::SbOption:
            sbOption_ = b;
            sb_.clear();
            sbTooLong_ = false;
            state_ = State::Sb;
            break;
        case State::Sb:
            if (b == Iac)
                state_ = State::SbIac;
            else
                keep(c);
            break;
        case State::SbIac:
            if (b == Iac) {
                keep(c);
                state_ = State::Sb;
            } else if (b == Se) {
                subnegotiation(out);
                sb_.clear();
                state_ = State::Data;
            } else {
                // Any other command ends the subnegotiation unfinished and counts as itself.
                sb_.clear();
                afterIac(b, out);
            }
            break;
        }
    }
    return out;
}

void Stream::keep(char c)
{
    if (sb_.size() < MaxSubnegotiation)
        sb_.append(c);
    else
        sbTooLong_ = true;
}

// The byte after an IAC outside a subnegotiation.
void Stream::afterIac(uint8_t b, Fed& out)
{
    state_ = State::Data;
    if (b == Iac) {
        out.data.append(byte(Iac));
    } else if (b == Sb) {
        state_ = State::SbOption;
    } else if (b >= Will) {
        verb_ = b;
        state_ = State::Option;
    }
    // NOP, GA, a stray SE and the other commands mean nothing on this line.
}

void Stream::negotiate(uint8_t option, Fed& out)
{
    if (option == ComPort) {
        // Our offer answered. WILL and WONT COM-PORT would be about the server's own side,
        // which we never asked for: nothing to say to them.
        if (verb_ != Do && verb_ != Dont)
            return;
        const Answer answer = verb_ == Do ? Answer::Accepted : Answer::Refused;
        if (answer != comPort_)
            out.notices.append(Notice{answer == Answer::Accepted ? Notice::ComPortAccepted
                                                                 : Notice::ComPortRefused,
                                      0,
                                      {}});
        comPort_ = answer;
        return;
    }
    // Binary both ways was offered and asked for: a yes is what we wanted, a no is
    // accepted as it is. DONT and WONT of anything else leave it off, as it already is.
    if (option == Binary || verb_ == Dont || verb_ == Wont)
        return;
    refuse(verb_ == Do ? Wont : Dont, option, out);
}

void Stream::refuse(uint8_t verb, uint8_t option, Fed& out)
{
    std::bitset<256>& refused = verb == Wont ? refusedDo_ : refusedWill_;
    if (refused.test(option))
        return;
    refused.set(option);
    out.reply.append(byte(Iac)).append(byte(verb)).append(byte(option));
    out.notices.append(Notice{Notice::OptionRefused, option, {}});
}

// A whole subnegotiation, IAC SE read.
void Stream::subnegotiation(Fed& out)
{
    if (sbOption_ != ComPort || sbTooLong_ || sb_.isEmpty())
        return;
    const uint8_t code = static_cast<uint8_t>(sb_[0]);
    // Codes below 100 are the server asking us; we answer none of them.
    if (code < ServerOffset || code > ServerOffset + PurgeData)
        return;
    const uint8_t number = code - ServerOffset;
    const QByteArray value = sb_.mid(1);
    if (number == Signature) {
        out.notices.append(Notice{Notice::SignatureText, 0, value});
    } else if (number == NotifyLineState || number == NotifyModemState) {
        if (value.size() == 1)
            out.notices.append(Notice{
                number == NotifyLineState ? Notice::LineState : Notice::ModemState, 0, value});
    } else {
        out.notices.append(Notice{Notice::Acknowledged, number, value});
    }
}

} // namespace rfc2217
