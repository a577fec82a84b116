// Listing, testing and opening the serial ports COM1 to COM16.

#include "comm/FinderSteps.h"
#include "comm/PortMap.h"
#include "comm/PortTrouble.h"
#include "comm/modCorvaneComm.h"

#include <functional>

namespace modCorvaneComm {

namespace {

// Opens and closes the port; the error met on the way (number 0 when there was none).
Task<CommError> tryPort(MSComm& m, int16_t port)
{
    m.clearError();
    // Opens with whatever line settings the control holds: a test, not a configuration.
    m.setCommPort(port);
    CommError failure = m.lastError();
    if (failure.number == 0)
        failure = co_await m.openPort();
    // An open abandoned while it waited leaves the port, and what its new user has
    // recorded, alone: closing now would abandon that user's own open.
    if (failure.number == CommErrorNumber::OpenAbandoned)
        co_return failure;
    m.clearError();
    m.closePort();
    co_return failure;
}

} // namespace

Task<int16_t> TestPortAvailable(CommContext c, int16_t port)
{
    co_return static_cast<int16_t>((co_await tryPort(c.MSComm1, port)).number);
}

Task<bool> ListSerialPorts(CommContext c, int16_t preferred)
{
    PortAccess& ports = c.ports;
    FinderSteps none; // nobody watches
    FinderSteps& steps = c.steps ? *c.steps : none;
    c.MSComm1.closePort();

    steps.listingStarted();
    ports.PortList.clear();
    ports.PortListSelected = -1;
    ports.PortTroubles.clear();

    int found = 0;
    for (int16_t n = 1; n <= PortMap::MaxPort; ++n) {
        ports.PortPresent[n] = false;
        const CommError failure = co_await tryPort(c.MSComm1, n);
        if (failure.number != 0) {
            const QString path = c.MSComm1.ports().devicePath(n);
            QString line = path.isEmpty() ? QString() : describeLineTrouble(path, failure);
            // A device the user named that is not there is told too; the machine's own
            // numbering lists only what exists.
            if (line.isEmpty() && c.MSComm1.ports().namedByHand(n))
                line = QStringLiteral("  %1: no such device (CORVANE_PORT_MAP names it for "
                                      "COM%2)")
                           .arg(path)
                           .arg(n);
            if (!line.isEmpty())
                ports.PortTroubles << line;
            continue;
        }
        ++found;
        ports.PortPresent[n] = true;
        steps.portPossible(n);
        ports.PortList.append(PortListEntry{QStringLiteral("COM%1").arg(n), n,
                                            c.MSComm1.ports().deviceDescription(n)});
        if (found == 1 || n == preferred)
            ports.PortListSelected = static_cast<int>(ports.PortList.size()) - 1;
    }
    ports.tellListChanged();

    if (found == 0)
        steps.noPortAvailable();
    // Why present devices failed, told after the verdict.
    for (const QString& line : ports.PortTroubles)
        steps.portTrouble(line);
    co_return found != 0;
}

Task<CommError> OpenSyncPort(CommContext c, int16_t port)
{
    MSComm& m = c.MSComm1;
    c.cmd.LastCommError.clear();
    m.clearError();

    // Each step runs only while the ones before it went through; the open may wait for a
    // device server.
    const std::function<void()> before[] = {
        [&] { m.setCommPort(port); },
        [&] { m.setHandshaking(0); },
        [&] { m.setRThreshold(0); },
        [&] { m.setRTSEnable(true); },
        [&] { m.setSettings(QStringLiteral("1200,N,8,1")); },
        [&] { m.setSThreshold(0); },
    };
    CommError failure;
    for (const auto& step : before) {
        step();
        if (m.hasError()) {
            failure = m.lastError();
            break;
        }
    }
    if (failure.number == 0)
        failure = co_await m.openPort();
    // An open abandoned while it waited leaves the port, and what its new user has
    // recorded, alone: closing now would abandon that user's own open.
    if (failure.number == CommErrorNumber::OpenAbandoned)
        co_return failure;
    if (failure.number == 0) {
        m.setNullDiscard(false);
        if (m.hasError())
            failure = m.lastError();
    }
    if (failure.number != 0) {
        c.cmd.LastCommError = failure.description;
        m.clearError();
        m.closePort();
    }
    co_return failure;
}

} // namespace modCorvaneComm
