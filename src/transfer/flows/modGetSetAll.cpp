#include "transfer/flows/modGetSetAll.h"

// The transfers arrive with the whole-device load, save and compare.
namespace modGetSetAll {
int16_t GetAllFromCorvane(frmMain&) { return -1; }
int16_t SetAllToCorvane(frmMain&) { return -1; }
int16_t CompareAllFromCorvane(frmMain&) { return -1; }
} // namespace modGetSetAll
