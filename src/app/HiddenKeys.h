#pragma once
// The hidden service sequence: Ctrl+G then Ctrl+T, typed one right after the other,
// in the editor or the finder window.

class QKeyEvent;

namespace HiddenKeys {
constexpr int First = 0x07;  // Ctrl+G
constexpr int Second = 0x14; // Ctrl+T

// The character a key press types: its text when it has one, else the control
// character of Ctrl+letter (some platforms send no text for those). -1 when none.
int characterOf(const QKeyEvent* event);
} // namespace HiddenKeys
