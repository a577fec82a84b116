#pragma once
// A failure of the serial control: its number and the text a user reads.

#include <QString>

// One recorded failure of the serial control.
struct CommError
{
    int number = 0;      // 0 = no error
    QString description; // the platform's text, plus a hint where one helps
};

// Error numbers of the control.
namespace CommErrorNumber {
constexpr int InvalidSettings = 380;    // a property value not understood
constexpr int InvalidPortNumber = 8002; // COMn outside 1 to 16, or no device behind it
constexpr int AccessDenied = 8003;      // no permission, or another program holds the port
constexpr int PortAlreadyOpen = 8005;   // opening an open port, or CommPort while open
constexpr int PortNotOpen = 8018;       // an operation that needs an open port
constexpr int LineLost = 8020;          // read or resource error: the line is gone
constexpr int WriteFailed = 8021;
constexpr int OpenFailed = 8022; // any other refusal to open or configure
// The port was closed, or opened anew, while this open waited: it is someone else's now.
constexpr int OpenAbandoned = 8023;
} // namespace CommErrorNumber
