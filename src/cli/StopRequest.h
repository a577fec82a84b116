#pragma once
// Ctrl+C while the tool works: while a Watch lives, SIGINT and SIGTERM no longer end the
// process at once; they are noted, the running command stops between two frames, and the
// tool says what the unit got. One file per system implements it (StopRequestPosix.cpp).

#include <functional>

namespace StopRequest {

class Watch
{
public:
    // `onStop` runs in the event loop, once for each signal that arrives.
    explicit Watch(std::function<void()> onStop = {});
    ~Watch();
    Watch(const Watch&) = delete;
    Watch& operator=(const Watch&) = delete;

private:
    struct Private;
    Private* d;
};

// True once a stop was asked for under the current Watch.
bool requested();
// What asked for it, as the tool tells it: "Ctrl+C" (SIGINT) or "SIGTERM".
const char* byWhat();

} // namespace StopRequest
