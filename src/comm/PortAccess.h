#pragma once
// Port access as the finder sees it: which ports are present, the list the finder shows
// with its selected entry, and why a present device could not be used, all written by the
// port listing alone.

#include <QObject>
#include <QString>
#include <QStringList>
#include <QVector>
#include <array>
#include <cstdint>

// One entry of the finder's port list: "COM3" carrying port 3, and the device behind it.
struct PortListEntry
{
    QString label;
    int16_t port = 0;
    QString device;
};

class PortAccess : public QObject
{
    Q_OBJECT
public:
    std::array<bool, 17> PortPresent{}; // indexes 1 to 16
    QVector<PortListEntry> PortList;    // filled by ListSerialPorts
    int PortListSelected = -1;          // index into PortList, -1 when empty
    QStringList PortTroubles;           // why each present device failed, one line each

    // Tells the listeners that PortList was made again.
    void tellListChanged() { emit listChanged(); }

signals:
    void listChanged();
};
