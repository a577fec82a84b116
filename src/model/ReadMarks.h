#pragma once
// What the last load from a synchronizer found wrong, per field: unreadable (red) or
// out of range and corrected (yellow).

#include <array>

enum class MarkKey
{
    Model,
    Channel,
    StartTitle,
    EndTitle,
    StartChapter,
    EndChapter,
    StartFrame,
    EndFrame,
    StartTime,
    EndTime
};
constexpr int MarkKeyCount = 10;

struct Mark
{
    bool Unreadable = false;
    bool OutOfRange = false;
    bool operator==(const Mark& o) const
    {
        return Unreadable == o.Unreadable && OutOfRange == o.OutOfRange;
    }
};

struct ReadMarks
{
    std::array<Mark, MarkKeyCount> flags{};
    Mark& operator[](MarkKey k) { return flags[static_cast<int>(k)]; }
    const Mark& operator[](MarkKey k) const { return flags[static_cast<int>(k)]; }
    void clear() { flags.fill(Mark{}); }
    bool any() const
    {
        for (const Mark& m : flags)
            if (m.Unreadable || m.OutOfRange)
                return true;
        return false;
    }
};
