#pragma once
// Port access as the finder sees it: which ports are present, the list the finder shows,
// why a present device could not be used, the port a unit was found on, and whether a
// probe is listening. Status lines for the finder's box go out as a signal; lines told
// while nothing listens (before the finder window exists) wait in statusBacklog.

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
    int16_t SyncPort = 0;               // where the last find found a unit; 0 for none
    bool ProbeRunning = false;          // the probe listens while set; Cancel clears it

    QStringList statusBacklog;

    // One line for the finder's status box.
    void appendStatus(const QString& line);
    // Takes the lines that waited for a listener.
    QStringList takeBacklog();
    // Tells the listeners that PortList was made again.
    void tellListChanged() { emit listChanged(); }

signals:
    void statusLine(const QString& line);
    void listChanged();
};
