#pragma once
// Process-wide state shared by the windows and modules. One instance lives in the
// application object; tests create a fresh one for every case.

#include "model/ReadMarks.h"

#include <QString>
#include <QStringList>
#include <QVector>
#include <array>
#include <cstdint>
#include <functional>

// One entry of the finder's port list: "COM3" carrying port 3, and the device behind it.
struct PortListEntry
{
    QString label;
    int16_t port = 0;
    QString device;
};

struct Globals
{
    // Serial port access and the finder.
    std::array<bool, 17> PortPresent{}; // indexes 1 to 16
    QVector<PortListEntry> PortList;    // filled by ListSerialPorts
    int PortListSelected = -1;          // index into PortList, -1 when empty
    QStringList PortTroubles;           // why each present device failed, one line each
    int16_t SyncPort = 0;
    bool Busy = false;
    bool ProbeRunning = false;

    // Device command layer.
    QString LastCommError;
    std::array<uint8_t, 2> ReplyBytes{};

    // Editor state.
    bool DebugArmed = false;
    bool ModelChannelUnlocked = false;
    bool ModelChannelMarked = false;
    bool LinkedFieldsActive = true;
    bool TimeAdjustBusy = false;
    ReadMarks marks;
    bool TransferRunning = false; // a whole-device transfer holds the port

    // Where finder status lines go. The finder window installs itself here; until it
    // exists, lines are kept in finderStatusBacklog and handed over when it loads.
    std::function<void(const QString&)> finderStatusSink;
    QStringList finderStatusBacklog;
    // Called after ListSerialPorts has rebuilt PortList.
    std::function<void()> portListChanged;
};
