#pragma once
// Which operating-system device stands behind port number COMn.
//
// The machine's serial devices (MachinePorts, one file per system) are numbered in a
// stable order (DeviceOrder); the first device is COM1. Ports beyond 16 are never used.
//
// In demo mode a simulated unit is COM1 and the machine's (or the test mapping's) ports
// follow from COM2 on.
//
// A device server's port (an address, see LineAddress) can be put on any COMn for the run;
// it stands in front of whatever device that number would otherwise have.
//
// Tests install a mapping of their own (any COMn to any path, usually a pseudo-terminal).
// While a test mapping is installed, an unmapped number has no device at all: nothing
// of the machine is ever listed or opened.

#include "comm/TlsTrust.h"

#include <QMap>
#include <QString>
#include <QStringList>
#include <optional>

class PortMap
{
public:
    static constexpr int MaxPort = 16;

    // The device path for COMn, or "" when there is none. A TLS address carries its trust,
    // what it leaves unset taken from the TLS defaults.
    QString devicePath(int port) const;
    // COMn's device as messages name it: an address without its trust query.
    QString deviceName(int port) const;
    // Whom TLS addresses trust where they say nothing themselves (--ca, --pin, --cert, --key).
    void setTlsDefaults(const TlsTrust& trust) { tlsDefaults_ = trust; }
    const TlsTrust& tlsDefaults() const { return tlsDefaults_; }
    // A short text for the user about the device behind COMn ("/dev/ttyUSB0 - FT232R USB
    // UART (FTDI)"), or "" when there is none.
    QString deviceDescription(int port) const;

    // Test seam: map port numbers to paths. Replaces any earlier mapping.
    void setTestMapping(const QMap<int, QString>& mapping)
    {
        testMapping_ = mapping;
        byHand_ = false;
    }
    // Back to the machine's own devices.
    void clearTestMapping()
    {
        testMapping_.reset();
        byHand_ = false;
    }
    bool hasTestMapping() const { return testMapping_.has_value(); }

    // The user's own numbering, "1=/dev/ttyUSB3,2=rfc2217://HOST:PORT" (CORVANE_PORT_MAP):
    // a mapping as above, each device named by hand. False, with the mapping left as it was
    // and `error` naming the first item that is not N=DEVICE, when the text cannot be used.
    bool setMapText(const QString& map, QString* error);
    // COMn's device was named by the user's own numbering (so its absence is worth telling).
    bool namedByHand(int port) const;

    // Puts a device server's port on COMn for this run ("" takes it off again).
    void setNetworkPort(int port, const QString& address);
    bool isNetworkPort(int port) const { return networkPorts_.contains(port); }
    // The first COM number with neither a device nor a network port behind it; 0 when
    // every number is taken.
    int nextFreePort() const;

    // Demo mode: `path` (the simulated unit's line) becomes COM1; "" ends demo mode.
    void setDemoDevice(const QString& path) { demoPath_ = path; }
    bool hasDemoDevice() const { return !demoPath_.isEmpty(); }
    static QString demoDescription() { return QStringLiteral("simulated synchronizer (demo)"); }

private:
    // The device for COMn without the demo unit.
    QString basePath(int port) const;
    QString baseDescription(int port) const;

    std::optional<QMap<int, QString>> testMapping_;
    bool byHand_ = false; // testMapping_ came from setMapText
    QMap<int, QString> networkPorts_;
    QString demoPath_;
    TlsTrust tlsDefaults_;
};
