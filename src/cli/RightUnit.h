#pragma once
// Before a command writes to a unit: is it the unit the rack expects (its model and
// channel, as a rack line's expect=MODEL/CHANNEL names them), and does it already hold
// every cell the write would send (then nothing needs writing).

#include "model/CellBytes.h"
#include "transfer/SavePlan.h"

#include <QString>
#include <optional>

namespace RightUnit {

// "" when the unit's numbers match what is expected (a number not expected always
// matches); else "COM3 holds model 22 channel 4; the rack expects channel 3".
QString mismatch(const QString& unit, std::optional<int> model, std::optional<int> channel,
                 std::optional<int> expectModel, std::optional<int> expectChannel);

// True when `cells` (what the load read) holds the bytes of every write of `plan`.
bool holdsAll(const CellSet& cells, const SavePlan& plan);

} // namespace RightUnit
