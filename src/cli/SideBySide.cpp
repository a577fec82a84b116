#include "cli/SideBySide.h"

CliHost& SideBySide::add(int16_t port, const QString& device, const UnitVoice& voice)
{
    hosts_.push_back(std::make_unique<CliHost>(timing_));
    CliHost& host = *hosts_.back();
    if (port > 0)
        host.ports.setTestMapping({{port, device}});
    host.voice = voice;
    host.unitPort = port;
    // Side by side, no unit draws a progress line of its own.
    host.progressLine().setQuiet(true);
    return host;
}

void SideBySide::cancelProbes()
{
    for (const std::unique_ptr<CliHost>& host : hosts_)
        host->probeCancel.cancel();
}
