#include "simunit/FrameParser.h"

namespace simsync {

namespace {

// How long a frame starting with this byte is, and its kind; 0 for no frame.
int frameLength(char first, ParsedFrame::Kind& kind)
{
    switch (first) {
    case 'O':
        kind = ParsedFrame::Attention;
        return 4;
    case 'R':
        kind = ParsedFrame::Read;
        return 3;
    case 'W':
        kind = ParsedFrame::Write;
        return 5;
    default:
        return 0;
    }
}

// Whether the bytes so far can still become a frame of that kind.
bool fits(const QByteArray& b, ParsedFrame::Kind kind, int length)
{
    if (kind == ParsedFrame::Attention) {
        static const QByteArray attention("OK\n\r");
        return attention.startsWith(b.left(length));
    }
    return b.size() < length || b[length - 1] == '\r';
}

} // namespace

std::optional<ParsedFrame> FrameParser::next()
{
    if (pending_.isEmpty())
        return std::nullopt;
    ParsedFrame::Kind kind = ParsedFrame::Junk;
    const int length = frameLength(pending_[0], kind);
    if (length == 0 || !fits(pending_, kind, length)) {
        ParsedFrame junk{ParsedFrame::Junk, pending_.left(1)};
        pending_.remove(0, 1);
        return junk;
    }
    if (pending_.size() < length)
        return std::nullopt;
    ParsedFrame frame{kind, pending_.left(length)};
    pending_.remove(0, length);
    return frame;
}

} // namespace simsync
