#pragma once
// Serial port access and the device command layer: listing, testing and opening ports,
// and the three frames of the exchange with a synchronizer.
//
// Frames: attention "O" "K" LF CR; read "R" address CR, answered by two data bytes, LF,
// CR; write "W" address data0 data1 CR (no answer). The exchanges are coroutines: each
// wait suspends on the line's own timer (see EventWait.h), so the user interface stays
// live meanwhile. Each returns its reply; nothing here shows anything. LastCommError and
// ReplyBytes (CommandState) keep a record of the last exchange for what displays it.

#include "comm/Await.h"
#include "comm/CommContext.h"

#include <QString>
#include <array>
#include <cstdint>

namespace modCorvaneComm {

// The three failure texts of the command layer.
inline const QString TransmitTimedOutText = QStringLiteral("Serial Transmit Timed Out");
inline const QString ReplyTimedOutText = QStringLiteral("Reply Timed Out");
inline const QString ReplyGarbledText = QStringLiteral("Reply garbled");

// ReadCell results.
enum ReadStatus : int16_t
{
    ReadGood = 1,
    ReadTimedOut = 0,
    ReadNotSent = -1,
    ReadGarbled = -2
};

// Closes an open port, then tries COM1 to COM16: fills PortPresent, PortList and
// PortListSelected (PortAccess), tells that the list changed, and tells its steps.
// True when at least one port could be opened. A device server's port is tried by
// connecting to it, so the listing may wait. The first port listed is selected, or
// `preferred` when it is listed.
Task<bool> ListSerialPorts(CommContext c, int16_t preferred = 0);
// 0 when the port could be opened and closed, else the error number.
Task<int16_t> TestPortAvailable(CommContext c, int16_t port);
// Opens the port at 1200,N,8,1 without flow control, RTS raised: the error (number 0
// when it opened); on failure the port is closed.
Task<CommError> OpenSyncPort(CommContext c, int16_t port);

// A read's status with what it found: the two data bytes of a good reply, or the text of
// the failure.
struct CellReply
{
    int16_t status = ReadNotSent; // 1, 0, -1, -2
    std::array<uint8_t, 2> bytes{};
    QString failure;
    bool good() const { return status == ReadGood; }
};

// Whether frames went out (attention, a write), or the text of the failure.
struct FrameReply
{
    bool sent = false;
    bool queued = false; // the frame went to the line, whether or not it left in time
    QString failure;
    explicit operator bool() const { return sent; }
};

// The two attention frames, 130 ms apart.
Task<FrameReply> SendAttention(CommContext c);
// A read, tried three times with attention frames between the tries.
Task<CellReply> ReadCell(CommContext c, uint8_t address);
// A write and the pause the unit needs to store the cell.
Task<FrameReply> WriteCell(CommContext c, uint8_t address, uint8_t d0, uint8_t d1);
// Reply bytes as a number 0 to 99 ("12", "05", " 5", "5 ", "  "), or -1.
int16_t DecodeReplyNumber(const std::array<uint8_t, 2>& bytes);
// bytes[index] as a digit 0 to 9 (a space is 0), or -1.
int16_t DecodeReplyDigit(const std::array<uint8_t, 2>& bytes, uint8_t index);
// The byte when it may stand in an init string or the comment (BEL, CR, 32 to 254 but
// not 127), else 0.
uint8_t FilterInitChar(uint8_t value);
// A pause of ms milliseconds on the line's timer; leaves the timer off.
Task<> Pause(CommContext c, int ms);

} // namespace modCorvaneComm
