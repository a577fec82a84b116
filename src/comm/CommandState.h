#pragma once
// What the command layer leaves after each operation: the text of the last failure and
// the two data bytes of the last good reply. Only the command layer writes them.

#include <QString>
#include <array>
#include <cstdint>

struct CommandState
{
    QString LastCommError;
    std::array<uint8_t, 2> ReplyBytes{};
};
