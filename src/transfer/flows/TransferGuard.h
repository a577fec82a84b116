#pragma once
// While a transfer holds the port no second command may start on it: the command layer
// serves one operation at a time. A guard marks the transfer as running and disables the
// editor's synchronizer and file commands and "Defaults" for its lifetime; "Exit" stays.
// A guard inside another (a command around its worker) leaves the outer one in charge.

class frmMain;

class TransferGuard
{
public:
    explicit TransferGuard(frmMain& main);
    ~TransferGuard();
    TransferGuard(const TransferGuard&) = delete;
    TransferGuard& operator=(const TransferGuard&) = delete;

private:
    frmMain& main_;
    bool outermost_;
};
