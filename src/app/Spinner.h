#pragma once
// A small vertical spin control: the up arrow raises the value by 1, the down arrow lowers
// it by 1, a click in the track moves it by 5 (above the marker up, below it down), and
// the value never leaves [Min, Max]. With the keyboard focus, Up and Down move it by 1 and
// Page Up and Page Down by 5. Every change of the value, by the user or by code,
// emits valueChanged once; lowering the bound below the value moves the value to it.

#include <QAbstractSlider>

class Spinner : public QAbstractSlider
{
    Q_OBJECT
public:
    Spinner(int min, int max, QWidget* parent);

    int Value() const { return value(); }
    void setValueClamped(int v) { setValue(v); }
    int Min() const { return minimum(); }
    int Max() const { return maximum(); }
    void setMax(int max) { setMaximum(max); }
    // Sets the value and runs the change handlers even when the value stays the same, so
    // the box beside the spinner and the record always follow (a settings file may have
    // written the box directly).
    void setValueNotify(int v)
    {
        const int before = value();
        setValue(v);
        if (value() == before)
            emit valueChanged(value());
    }

    // Where the parts lie, for drawing and for clicks.
    QRect upArrowRect() const;
    QRect downArrowRect() const;
    QRect markerRect() const;

protected:
    void paintEvent(QPaintEvent*) override;
    void mousePressEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    QSize sizeHint() const override { return {17, 44}; }

private:
    int arrowHeight() const;
};
