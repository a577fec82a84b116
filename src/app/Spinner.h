#pragma once
// A small vertical spin control: the up arrow raises the value by 1, the down arrow lowers
// it by 1, a click in the track moves it by 5, and the value never leaves [Min, Max].
// Every change of the value, by the user or by code, emits valueChanged once.

#include <QScrollBar>

class Spinner : public QScrollBar
{
    Q_OBJECT
public:
    Spinner(int min, int max, QWidget* parent);

    int Value() const { return value(); }
    void setValueClamped(int v) { setValue(v); }
    int Min() const { return minimum(); }
    int Max() const { return maximum(); }
    // Lowering the bound below the value moves the value to the bound (and emits).
    void setMax(int max) { setMaximum(max); }
};
