#pragma once
// What one cell of a unit holds, decoded as a load reads it: for showing a unit's memory
// cell by cell ("End Title: 2", "Start point, part 1 of 4: frame 1 (0:01)").

#include "model/CellBytes.h"

#include <QString>

QString describeCellField(const CellSet& cells, uint8_t address);
