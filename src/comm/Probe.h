#pragma once
// Finding a synchronizer: listening on one port for the text a freshly reset unit sends,
// and trying one port or every present port in turn. Progress goes to the progress
// window, each step to the finder's status box. The caller holds the port lease.

#include "comm/Await.h"
#include "comm/CommContext.h"
#include "comm/ProbeCancel.h"

#include <cstdint>
#include <functional>
#include <optional>

class ProgressView;

namespace modCorvaneComm {

// Results of ProbeForSynchronizer.
enum ProbeResult : int16_t
{
    ProbeFound = 1,            // announcement heard, model and channel read, both 1 to 99
    ProbeNumbersDoubtful = -1, // both cells answered, but a number is not 1 to 99
    ProbeCellsUnread = -2,     // announcement heard, a number cell did not answer
    ProbeCancelled = -3,       // Cancel in the progress window
    ProbeAttentionFailed = -4, // announcement heard, the attention frames did not go out
    ProbeNothingHeard = 0      // no announcement within the time allowed
};

// What a probe found: its result, and the model and channel it read (-1 when a cell did
// not answer, was not read, or held no number).
struct ProbeOutcome
{
    int16_t result = ProbeNothingHeard;
    int16_t model = -1;
    int16_t channel = -1;
};

// Listens on the open port for the announcement, then checks that the unit answers
// by reading its model and channel cells.
// `ticks` of the timing's probe tick are allowed (0: the timing's tick count).
// `heardBefore`: the announcement came before the probe started (RESET pressed first), so
// the probe goes straight on to the attention frames.
// `cancel` ends the listening early (ProbeCancelled); the progress window's Cancel cancels it.
Task<ProbeOutcome> ProbeForSynchronizer(CommContext c, ProgressView& progress, ProbeCancel& cancel,
                                        int16_t port, int ticks = 0, bool heardBefore = false);

// The unit a find found: where, and the model and channel its probe read.
struct FoundUnit
{
    int16_t port = 0;
    int16_t model = -1;    // as the probe read it; -1 when it held no number
    int16_t channel = -1;  // -1 also when the probe did not read it (a doubtful model)
    bool doubtful = false; // a number was not 1 to 99
};

// Tries `port`, or every present port from COM1 up when it is 0, until a unit answers
// (probe result 1 or -1). Then that port is left open and the unit is returned; empty when
// no unit answered.
// An announcement the context's reset watch heard on a port lately counts for its probe.
// `abandoned`, when given, is asked before each port: true stops the scan.
Task<std::optional<FoundUnit>> FindSynchronizer(CommContext c, ProgressView& progress,
                                                ProbeCancel& cancel, int16_t port,
                                                std::function<bool()> abandoned = {},
                                                int ticks = 0);

} // namespace modCorvaneComm
