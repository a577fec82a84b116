#pragma once
// Splits the byte stream from the host into the unit's frames: attention "OK" LF CR,
// read "R" address CR, write "W" address d0 d1 CR. A byte that cannot start a frame is
// handed back as junk on its own, and the search goes on from the next byte.

#include <QByteArray>
#include <optional>

namespace simsync {

struct ParsedFrame
{
    enum Kind
    {
        Attention,
        Read,
        Write,
        Junk
    } kind = Junk;
    QByteArray bytes;
};

class FrameParser
{
public:
    void feed(char byte) { pending_.append(byte); }
    // The next complete frame or junk byte, or nothing while more bytes are needed.
    std::optional<ParsedFrame> next();

private:
    QByteArray pending_;
};

} // namespace simsync
