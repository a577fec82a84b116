#pragma once
// The hidden service sequence: Ctrl+G then Ctrl+T, typed one right after the other,
// in the editor or the finder window.

class QEvent;
class QKeyEvent;
class QObject;
class QWidget;

namespace HiddenKeys {
constexpr int First = 0x07;  // Ctrl+G
constexpr int Second = 0x14; // Ctrl+T

// The character a key press types: its text when it has one, else the control
// character of Ctrl+letter (some platforms send no text for those). -1 when none.
int characterOf(const QKeyEvent* event);

// For a window's application-wide event filter: the character of a key press meant
// for the visible `window`, else -1. Each key counts once, when it reaches the control
// that has the focus in that window (or the window itself when nothing has it), before
// the control sees it.
int keyFor(const QWidget* window, const QObject* watched, const QEvent* event);

// Feeds one typed character to the sequence held in `armed`: true when it completes
// it. Any other character, the first one repeated included, starts over.
bool completes(bool& armed, int ch);
} // namespace HiddenKeys
