#pragma once
// Where a window opens relative to the window it belongs to, kept on the owner's screen.

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

// Moves `window` (its frame) centred on, or beside, `owner`'s frame.
void centreOn(QWidget& window, const QWidget& owner);
void placeBeside(QWidget& window, const QWidget& owner);
} // namespace Placement
