#pragma once
// Sizes a window of fixed-place controls from its font. Each control keeps its design
// place (the place the window's code gives it, for the design's 8-point font); the places
// are stretched across and down by the factors the window's fonts need, so every caption,
// option, check box, group title and text box shows its whole text at any font size or
// font scaling. Layout, grouping and order stay as designed.

#include <QRect>
#include <QSize>

class QLineEdit;
class QWidget;

namespace FontFit {

struct Scale
{
    double across = 1.0; // widths and x
    double down = 1.0;   // heights and y

    QRect operator()(QRect design) const;
    QSize operator()(QSize design) const;
    int x(int design) const;
    int y(int design) const;
};

// A text box that must show `chars` characters (digits, or the capitals and digits of an
// init string, which are about as wide).
void setShownChars(QLineEdit* box, int chars);

// The factors the controls under `container` need (each at least 1), measured against
// their design places.
Scale neededScale(const QWidget* container);

// Moves every control under `container` to its design place stretched by `scale`.
void applyScale(QWidget* container, const Scale& scale);

// Both: the controls are placed, and the scale is returned for the window's own size.
Scale fit(QWidget* container);

} // namespace FontFit
