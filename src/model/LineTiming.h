#pragma once
// Every fixed time of the exchange with a synchronizer, in one place.
//
// A default LineTiming holds the times the unit needs, and the product always uses it as it
// is. Tests and the simulated unit may scale it (scaled(), unpaced()) to run a whole load
// or save in a fraction of the time; one paced story per command keeps the real times.

#include <algorithm>
#include <cmath>

struct LineTiming
{
    // Pauses: waited in full, whatever the line does.
    int loadSettleMs = 2500;  // before a load, while the unit finishes what it was doing
    int attentionGapMs = 130; // between the two attention frames, and around a retried read
    int afterWriteMs = 100;   // the unit stores a written cell meanwhile

    // Limits: reached only when the line or the unit fails.
    int attentionSendMs = 100; // an attention frame to leave the port
    int frameSendMs = 200;     // a read or write frame to leave the port
    int replyMs = 200;         // the four bytes of a reply to arrive

    // The probe listens for the reset announcement in ticks.
    int probeTickMs = 500;
    int probeTicks = 60;
    // An announcement heard before a probe starts counts for this long.
    int resetMemoryMs = 15000;

    // One byte on the line at 1200 baud, 8N1 (ten bits); the simulated unit paces by it.
    int byteMicros = 8334;

    // Pauses, probe tick and byte time multiplied by `pauses`, limits by `limits`.
    LineTiming scaled(double pauses, double limits) const
    {
        const auto by = [](int value, double factor) {
            return static_cast<int>(std::lround(value * factor));
        };
        LineTiming t = *this;
        t.loadSettleMs = by(loadSettleMs, pauses);
        t.attentionGapMs = by(attentionGapMs, pauses);
        t.afterWriteMs = by(afterWriteMs, pauses);
        t.probeTickMs = std::max(1, by(probeTickMs, pauses));
        t.resetMemoryMs = by(resetMemoryMs, pauses);
        t.byteMicros = by(byteMicros, pauses);
        t.attentionSendMs = std::max(1, by(attentionSendMs, limits));
        t.frameSendMs = std::max(1, by(frameSendMs, limits));
        t.replyMs = std::max(1, by(replyMs, limits));
        return t;
    }

    // No pauses and no pacing, limits as they are: a healthy exchange runs at memory speed
    // and a failing one still fails the way it does on a real line. The probe ticks every
    // 10 ms, and an announcement heard before it counts for 300 ms (both a fiftieth).
    static LineTiming unpaced()
    {
        LineTiming t = LineTiming{}.scaled(0, 1);
        t.probeTickMs = 10;
        t.resetMemoryMs = 300;
        return t;
    }
};
