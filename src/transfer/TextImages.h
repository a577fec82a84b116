#pragma once
// The comment and the four init strings as the byte images a unit keeps in its cells.
//
// The comment fills cells 0x48 to 0x4F (16 bytes), BEL after the text. The init strings
// fill cells 0x50 to 0x6F (64 bytes): each non-empty string followed by CR, then BEL.
// Each image has one spare element at the end that is never sent and always BEL.

#include "model/CellBytes.h"

#include <QString>
#include <array>
#include <cstdint>

constexpr uint8_t Bel = 7;
constexpr uint8_t Cr = 13;

constexpr int CommentBytesSent = 16;
constexpr int InitBytesSent = 64;
using CommentImage = std::array<uint8_t, CommentBytesSent + 1>;
using InitImage = std::array<uint8_t, InitBytesSent + 1>;

// Images to write, built from the editor's texts. Text beyond an image's room is left
// out rather than overrunning it; the save checks keep texts well within it.
CommentImage commentImage(const QString& comment);
InitImage initImage(const std::array<QString, 4>& initStrings);

// Images as read back: every byte passed through the init-character filter, so a byte
// the unit may not keep reads as 0; the spare element is BEL.
CommentImage commentImageFromCells(const CellSet& cells);
InitImage initImageFromCells(const CellSet& cells);

// Cell i of an image holds elements 2i and 2i + 1.
template <size_t N> CellBytes imageCell(const std::array<uint8_t, N>& image, int i)
{
    return {image[2 * i], image[2 * i + 1]};
}

// The comment up to the first BEL or rejected (0) byte: at most 16 characters.
QString walkComment(const CommentImage& image);

// Init strings split at CR; the walk ends at BEL, a rejected byte, a fourth CR, or right
// after a string's 25th character. Empty strings in the middle vanish, since the image
// has no CR for them.
std::array<QString, 4> walkInitStrings(const InitImage& image);
