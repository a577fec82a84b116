#pragma once
// One serial control, timer and state, as the editor window holds them (a CommClient), on
// a port map of the test's own; the rig adds a simulated unit mapped to COM5.

#include "comm/CommContext.h"
#include "comm/PortMap.h"
#include "comm/modCorvaneComm.h"
#include "flows/FinderStatus.h"
#include "simunit/SimSync.h"
#include "support/Awaited.h"

#include <QCoreApplication>
#include <QElapsedTimer>

struct CommClient
{
    explicit CommClient(const PortMap& ports) : comm(ports) {}
    ~CommClient() { comm.closePort(); }
    MSComm comm;
    CommTimer timer;
    CommandState cmd; // the command layer's results
    PortAccess portAccess;
    FinderStatus status; // what the listing tells, as the finder's box would show it
    CommContext c{comm, timer, cmd, portAccess, LineTiming::unpaced(), nullptr, &status, {}};
};

struct TestPorts
{
    // Only mapped ports exist: no test reaches a serial device of the machine.
    PortMap ports;
    TestPorts() { ports.setTestMapping({}); }
};

struct CommRig : TestPorts, CommClient
{
    static constexpr int16_t Port = 5;
    SimSync sim;

    CommRig() : CommClient(ports) {}
    // Starts the unit and maps COM5 to it, both paced by `timing`; false when it fails.
    bool serve(const LineTiming& timing = LineTiming::unpaced())
    {
        c.timing = timing;
        sim.setPacing(timing);
        if (!sim.start())
            return false;
        ports.setTestMapping({{Port, sim.path()}});
        return true;
    }
    // Also opens COM5, at the same pace; false when either fails.
    bool open(const LineTiming& timing = LineTiming::unpaced())
    {
        return serve(timing) && awaited(modCorvaneComm::OpenSyncPort(c, Port)).number == 0;
    }
};

// A device path that does not exist. Unique per process: the serial layer takes a lock
// file named after the device, and test runs may overlap.
inline QString missingDevicePath(const QString& name)
{
    return QStringLiteral("/nonexistent/%1-%2").arg(name).arg(QCoreApplication::applicationPid());
}
