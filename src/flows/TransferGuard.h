#pragma once
// While an editor transfer runs, the editor's file commands and "Defaults" are held off
// (the save and its compare must agree on what the editor shows); "Exit" stays. The
// serial line itself is held by the command's port lease. A guard inside another (a
// command around its worker) leaves the outer one in charge.

class FlowHost;

class TransferGuard
{
public:
    explicit TransferGuard(FlowHost& host);
    ~TransferGuard();
    TransferGuard(const TransferGuard&) = delete;
    TransferGuard& operator=(const TransferGuard&) = delete;

private:
    FlowHost& host_;
    bool outermost_;
};
