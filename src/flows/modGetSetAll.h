#pragma once
// Whole-device transfers between the editor and the synchronizer on the open port.
// Callers hold the port lease and show and hide the progress window around them; each
// sets its bar's maximum and value, and holds the editor's file commands off while it
// runs (see TransferGuard).

#include <cstdint>

class FlowHost;
struct SavePlan;

namespace modGetSetAll {

// Statuses below zero.
constexpr int16_t CommunicationFailed = -1; // the caller shows the communication text
constexpr int16_t AlreadyReported = -2;     // a box or the problem window has said why already

// Reads every parameter cell, validates, fills the editor, marks and reports in a box.
// CommunicationFailed (nothing in the editor changed), AlreadyReported after a program
// error box, otherwise the number of problems marked.
int16_t GetAllFromCorvane(FlowHost& host);

// Writes every cell of a checked plan (see buildSavePlan): 0, or CommunicationFailed when
// a frame did not go out. A plan with problems sends nothing: the problem window names
// them, and the result is AlreadyReported, as after a program error.
int16_t SetAllToCorvane(FlowHost& host, const SavePlan& plan);

// Reads the written cells back: the number of differences from what the editor shows,
// CommunicationFailed, or AlreadyReported after a program error box.
int16_t CompareAllFromCorvane(FlowHost& host);

} // namespace modGetSetAll
