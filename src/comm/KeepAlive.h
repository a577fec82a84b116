#pragma once
// TCP keepalive timing for a connected socket, so a peer that vanished without a word is
// noticed while nothing is sent. The options differ per operating system, one file each.

#include <QtGlobal>

// Probes after `idleSeconds` of silence, every `intervalSeconds`, giving up after `probes`
// unanswered ones. A socket that refuses keeps the system's timing.
void tuneKeepAlive(qintptr socket, int idleSeconds, int intervalSeconds, int probes);
