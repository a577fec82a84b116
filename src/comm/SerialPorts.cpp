// Listing, testing and opening the serial ports COM1 to COM16.

#include "comm/PortMap.h"
#include "comm/PortTrouble.h"
#include "comm/modCorvaneComm.h"

#include <functional>

namespace modCorvaneComm {

void AppendFinderStatus(PortAccess& ports, const QString& line)
{
    ports.appendStatus(line);
}

namespace {

// Opens and closes the port; the error met on the way (number 0 when there was none).
CommError tryPort(MSComm& m, int16_t port)
{
    m.clearError();
    // Opens with whatever line settings the control holds: a test, not a configuration.
    m.setCommPort(port);
    if (!m.hasError())
        m.setPortOpen(true);
    if (!m.hasError())
        m.setPortOpen(false);
    const CommError failure = m.lastError();
    m.clearError();
    if (m.PortOpen())
        m.setPortOpen(false);
    return failure;
}

} // namespace

int16_t TestPortAvailable(CommContext& c, int16_t port)
{
    return static_cast<int16_t>(tryPort(c.MSComm1, port).number);
}

bool ListSerialPorts(CommContext& c)
{
    PortAccess& ports = c.ports;
    if (c.MSComm1.PortOpen())
        c.MSComm1.setPortOpen(false);

    AppendFinderStatus(ports, QString());
    AppendFinderStatus(ports, QString());
    AppendFinderStatus(ports, QStringLiteral("Looking for Serial Ports"));
    ports.PortList.clear();
    ports.PortListSelected = -1;
    ports.PortTroubles.clear();

    int found = 0;
    for (int16_t n = 1; n <= PortMap::MaxPort; ++n) {
        ports.PortPresent[n] = false;
        const CommError failure = tryPort(c.MSComm1, n);
        if (failure.number != 0) {
            const QString path = c.MSComm1.ports().devicePath(n);
            const QString line = path.isEmpty() ? QString() : describeLineTrouble(path, failure);
            if (!line.isEmpty())
                ports.PortTroubles << line;
            continue;
        }
        ++found;
        ports.PortPresent[n] = true;
        AppendFinderStatus(ports, QStringLiteral("  Com%1 is possible").arg(n));
        ports.PortList.append(PortListEntry{QStringLiteral("COM%1").arg(n), n,
                                            c.MSComm1.ports().deviceDescription(n)});
        if (found == 1)
            ports.PortListSelected = 0;
    }
    ports.tellListChanged();

    if (found == 0) {
        AppendFinderStatus(ports, QStringLiteral("PROBLEM!!!"));
        AppendFinderStatus(ports, QStringLiteral("No Serial Ports are avaliable!!"));
        AppendFinderStatus(ports, QStringLiteral("  Close other programs that might be using"));
        AppendFinderStatus(ports, QStringLiteral("  serial ports and try again"));
    }
    // Why present devices failed, told after the verdict.
    for (const QString& line : ports.PortTroubles)
        AppendFinderStatus(ports, line);
    return found != 0;
}

bool OpenSyncPort(CommContext& c, int16_t port)
{
    MSComm& m = c.MSComm1;
    c.cmd.LastCommError.clear();
    m.clearError();

    // Each step runs only while the ones before it went through.
    const std::function<void()> steps[] = {
        [&] { m.setCommPort(port); },
        [&] { m.setHandshaking(0); },
        [&] { m.setRThreshold(0); },
        [&] { m.setRTSEnable(true); },
        [&] { m.setSettings(QStringLiteral("1200,N,8,1")); },
        [&] { m.setSThreshold(0); },
        [&] { m.setPortOpen(true); },
        [&] { m.setNullDiscard(false); },
    };
    for (const auto& step : steps) {
        step();
        if (m.hasError()) {
            c.cmd.LastCommError = m.lastError().description;
            m.clearError();
            m.setPortOpen(false);
            return false;
        }
    }
    return true;
}

} // namespace modCorvaneComm
