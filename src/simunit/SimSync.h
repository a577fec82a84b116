#pragma once
// A simulated synchronizer on a pseudo-terminal, for tests and benchmarks.
//
//   SimSync sim;
//   QVERIFY(sim.start());                       // creates the pty, serves on its own thread
//   PortMap::setTestMapping({{5, sim.path()}});  // COM5 is now the simulated unit
//
// The unit holds 64 cells (addresses 48 to 111, two bytes each), loaded with the default
// parameter set as a real unit stores it. It answers the attention frame "OK" LF CR
// silently, a read "R" address CR with data0 data1 LF CR, and stores a write "W" address
// data0 data1 CR. Bytes that fit no frame are dropped one at a time until a frame fits.
//
// Timing: the line runs at 1200 baud, 8.33 ms per byte in both directions. A frame from
// the host counts as received when its last byte would have arrived; each frame the unit
// sends is written whole once its last byte would have left. A pseudo-terminal moves bytes
// at memory speed, so this pacing is done here; switch it off for tests that don't care.
//
// Faults are taken per read request from a queue (then from the standing fault, normally
// None). The line can be closed after N frames, as if the cable were pulled. Every frame in
// both directions goes to a wire log with a time stamp.

#include "model/LineTiming.h"
#include "simunit/UnitTypes.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <memory>

namespace simsync {

class SimSync
{
public:
    SimSync();
    ~SimSync(); // stops
    SimSync(const SimSync&) = delete;
    SimSync& operator=(const SimSync&) = delete;

    // Creates the pseudo-terminal and starts serving. False with errorString() on failure.
    bool start();
    void stop();
    bool running() const;
    QString path() const; // the device the host opens, e.g. /dev/pts/4
    QString errorString() const;

    // Line pacing by the timing's byte time (1200 baud by default; none when it is 0). Set
    // before start() or between exchanges.
    void setPacing(const LineTiming& timing);
    void setPacing(bool on) { setPacing(on ? LineTiming{} : LineTiming::unpaced()); }

    void setCell(int address, uint8_t d0, uint8_t d1);
    std::array<uint8_t, 2> cell(int address) const;
    void loadCells(const Cells& cells);
    Cells cells() const;
    void loadDefaults() { loadCells(defaultCells()); }

    // Writes to a frozen cell (or to every cell) are logged but not stored.
    void setFrozen(bool all);
    void freezeCell(int address, bool frozen = true);

    // Faults for the next read requests, one per request, in order.
    void queueFaults(const QList<Fault>& faults);
    void queueFault(Fault f) { queueFaults({f}); }
    // The fault for every read once the queue is empty.
    void setStandingFault(Fault f);

    // Closes the line when the Nth frame from now has been received; that frame gets no
    // answer. 0 switches it off.
    void closeAfterFrames(int n);

    // Presses RESET: sends noise (if any), then "ATS0=1" LF CR split into `pieces` parts
    // with `pauseMs` between them. Safe to call from any thread.
    void pressReset(int pieces = 1, int pauseMs = 0, const QByteArray& noise = {});
    // Sends raw bytes on the line as one frame (for odd cases).
    void sendRaw(const QByteArray& bytes);

    // Wire log.
    QList<WireEntry> wireLog() const;
    void clearWireLog();
    // describeFrame() of every logged frame in one direction, in order.
    QStringList frames(Direction dir) const;
    // Frames received since start (or the last clearWireLog()).
    int framesReceived() const;
    // Blocks the calling thread until n frames have been received or timeoutMs passed.
    bool waitForFramesReceived(int n, int timeoutMs) const;
    // Blocks until everything queued for sending has been written to the line.
    bool waitUntilSent(int timeoutMs) const;

private:
    struct Impl;
    std::unique_ptr<Impl> d;
};

} // namespace simsync

using simsync::SimSync;
