#include "app/Spinner.h"

Spinner::Spinner(int min, int max, QWidget* parent) : QScrollBar(Qt::Vertical, parent)
{
    setRange(min, max);
    setSingleStep(1);
    setPageStep(5);
    // The smallest value at the bottom: the up arrow raises the value.
    setInvertedAppearance(true);
    setInvertedControls(false);
    setFocusPolicy(Qt::NoFocus);
}
