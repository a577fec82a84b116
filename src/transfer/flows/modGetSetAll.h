#pragma once
// Whole-device transfers between the editor window and the synchronizer on the open port.
// Callers show and hide the progress window around them; each sets its bar's maximum and
// value, and holds the editor's commands off while it runs (see TransferGuard).

#include <cstdint>
#include <functional>

class frmMain;

namespace modGetSetAll {

// Statuses below zero.
constexpr int16_t CommunicationFailed = -1; // the caller shows the communication text
constexpr int16_t AlreadyReported = -2;     // a box or the problem window has said why already

// Reads every parameter cell, validates, fills the editor, marks and reports in a box.
// CommunicationFailed (nothing in the editor changed), AlreadyReported after a program
// error box, otherwise the number of problems marked.
int16_t GetAllFromCorvane(frmMain& main);

// Writes every parameter cell from the editor: 0, or CommunicationFailed when a frame did
// not go out. A value the unit cannot hold stops the save before the first byte; the
// problem window names it, and the result is AlreadyReported, as after a program error.
int16_t SetAllToCorvane(frmMain& main);

// Reads the written cells back: the number of differences from what the editor shows,
// CommunicationFailed, or AlreadyReported after a program error box.
int16_t CompareAllFromCorvane(frmMain& main);

// Test seam: runs before each cell a transfer reads or writes; a test may throw from it
// to stand in for an unexpected failure. An empty function removes it.
void setCellHook(std::function<void(uint8_t address)> hook);

} // namespace modGetSetAll
