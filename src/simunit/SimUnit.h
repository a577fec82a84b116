#pragma once
// A simulated synchronizer served from the application's own event loop: the same unit
// as SimSync (same frames, same 1200-baud pacing, same faults), without a thread. The
// pseudo-terminal's master side is watched by a socket notifier; a precise one-shot
// timer wakes the unit when its next action is due.
//
// Unplug takes the line away as a pulled cable does (the host's port reports the device
// gone); plugging in again makes a new line, under a new device path.

#include "simunit/UnitEngine.h"

#include <QObject>
#include <QString>

class QSocketNotifier;
class QTimer;

namespace simsync {

class SimUnit : public QObject
{
    Q_OBJECT
public:
    explicit SimUnit(QObject* parent = nullptr);
    ~SimUnit() override;

    // Makes the pseudo-terminal and starts serving; false with errorString() when the
    // system cannot give one.
    bool start();
    QString path() const { return pty_.path; }
    QString errorString() const { return error_; }

    bool pluggedIn() const { return pty_.master >= 0; }
    void unplug();
    bool plugIn();

    void pressReset();
    void setStandingFault(Fault f) { unit_.standing = f; }
    Fault standingFault() const { return unit_.standing; }
    // Paces the line by the timing's byte time (unpaced when it is 0).
    void setPacing(const LineTiming& timing)
    {
        unit_.byteTime = std::chrono::microseconds(timing.byteMicros);
    }

    const Cells& cells() const { return unit_.cells; }
    void setCell(int address, uint8_t d0, uint8_t d1);
    void loadCells(const Cells& cells);
    void loadDefaults() { loadCells(defaultCells()); }

    // Every frame on the line so far, oldest first.
    const QList<WireEntry>& wireLog() const { return unit_.log; }
    QStringList frames(Direction dir) const { return unit_.frames(dir); }

signals:
    // A cell changed: written by the host, edited, or loaded.
    void cellsChanged();
    // Plugged in or out; the device path may have changed.
    void lineChanged();

private:
    void readable();
    void runAndRearm();
    void watchLine();

    UnitEngine unit_;
    Pty pty_;
    QString error_;
    QSocketNotifier* notifier_ = nullptr;
    QTimer* due_;
};

} // namespace simsync
