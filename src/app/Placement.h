#pragma once
// Where a window opens relative to the window it belongs to, kept on the owner's screen.

#include <QList>
#include <QPoint>
#include <QRect>
#include <QSize>

class QWidget;

namespace Placement {
// The top left corner that centres a box of `size` on `owner`, moved onto `screen`.
QPoint centredOn(QSize size, const QRect& owner, const QRect& screen);
// Beside `owner`: to its right when there is room, else to its left, else as far right as
// the screen allows; top edges level.
QPoint besideOf(QSize size, const QRect& owner, const QRect& screen);

// Beside `owner`, to its right or else to its left, top edges level, on the first side
// where the box fits on the screen and covers none of `others` (the application's other
// windows); centred on `owner` when neither side does.
QPoint besideClearOf(QSize size, const QRect& owner, const QRect& screen,
                     const QList<QRect>& others);

// The top left corner of `first` when it and `second`, side by side with a gap between
// them, are centred on `screen` together; `first` stays whole on the screen.
QPoint firstOfPair(QSize first, QSize second, const QRect& screen);

// Moves `window` (its frame) centred on, or beside, `owner`'s frame.
void centreOn(QWidget& window, const QWidget& owner);
void placeBeside(QWidget& window, const QWidget& owner);
// Beside `owner` where that covers no other shown window of the application, else centred
// on it: a box never lands on another window's controls.
void placeBesideClear(QWidget& window, const QWidget& owner);
void centreOnScreen(QWidget& window);
// Moves `first` and `second` side by side onto the middle of `first`'s screen. A window
// placed once keeps the place the user gives it: later showings do not move it.
void placePair(QWidget& first, QWidget& second);
} // namespace Placement
