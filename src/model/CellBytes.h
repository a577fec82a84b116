#pragma once
// The two data bytes a synchronizer keeps in one cell, and a set of cells read from it.

#include <cstdint>
#include <map>

struct CellBytes
{
    uint8_t d0 = 0;
    uint8_t d1 = 0;
    bool operator==(const CellBytes& o) const { return d0 == o.d0 && d1 == o.d1; }
    bool operator!=(const CellBytes& o) const { return !(*this == o); }
};

// Cells read from a unit, keyed by address. A cell that was never stored reads as two
// zero bytes, which no decoder accepts: it counts as unreadable rather than as a value.
class CellSet
{
public:
    void set(uint8_t address, CellBytes bytes) { cells_[address] = bytes; }
    CellBytes get(uint8_t address) const
    {
        auto it = cells_.find(address);
        return it == cells_.end() ? CellBytes{} : it->second;
    }
    bool has(uint8_t address) const { return cells_.count(address) != 0; }
    int size() const { return static_cast<int>(cells_.size()); }

private:
    std::map<uint8_t, CellBytes> cells_;
};
