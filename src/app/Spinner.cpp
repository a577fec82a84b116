#include "app/Spinner.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QStyleOption>

Spinner::Spinner(int min, int max, QWidget* parent) : QAbstractSlider(parent)
{
    setOrientation(Qt::Vertical);
    setRange(min, max);
    setValue(min);
    setSingleStep(1);
    setPageStep(5);
    setFocusPolicy(Qt::StrongFocus);
}

int Spinner::arrowHeight() const
{
    return std::min(14, height() / 3);
}

QRect Spinner::upArrowRect() const
{
    return {0, 0, width(), arrowHeight()};
}

QRect Spinner::downArrowRect() const
{
    return {0, height() - arrowHeight(), width(), arrowHeight()};
}

// A small marker in the track: at the top for the largest value.
QRect Spinner::markerRect() const
{
    const int top = arrowHeight();
    const int track = height() - 2 * arrowHeight();
    const int marker = std::max(4, track / 4);
    const int span = std::max(1, maximum() - minimum());
    const int y = top + (track - marker) * (maximum() - value()) / span;
    return {2, y, width() - 4, marker};
}

void Spinner::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton || !isEnabled())
        return;
    const QPoint at = event->position().toPoint();
    if (upArrowRect().contains(at))
        setValue(value() + singleStep());
    else if (downArrowRect().contains(at))
        setValue(value() - singleStep());
    else if (at.y() < markerRect().top())
        setValue(value() + pageStep());
    else if (at.y() > markerRect().bottom())
        setValue(value() - pageStep());
    event->accept();
}

void Spinner::keyPressEvent(QKeyEvent* event)
{
    const std::pair<int, int> moves[] = {{Qt::Key_Up, singleStep()},
                                         {Qt::Key_Down, -singleStep()},
                                         {Qt::Key_PageUp, pageStep()},
                                         {Qt::Key_PageDown, -pageStep()}};
    // Keys with a modifier, Tab and the rest go on to the window.
    if (!(event->modifiers() & ~Qt::KeypadModifier)) {
        for (const auto& [key, by] : moves) {
            if (event->key() == key) {
                setValue(value() + by);
                event->accept();
                return;
            }
        }
    }
    event->ignore();
}

void Spinner::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    QStyleOption opt;
    opt.initFrom(this);
    p.fillRect(rect(), palette().color(QPalette::Midlight));
    for (const auto& [r, arrow] : {std::pair{upArrowRect(), QStyle::PE_IndicatorArrowUp},
                                   std::pair{downArrowRect(), QStyle::PE_IndicatorArrowDown}}) {
        QStyleOption button = opt;
        button.rect = r;
        button.state |= QStyle::State_Raised;
        style()->drawPrimitive(QStyle::PE_PanelButtonBevel, &button, &p, this);
        button.rect = r.adjusted(3, 3, -3, -3);
        style()->drawPrimitive(arrow, &button, &p, this);
    }
    // The marker shows the keyboard focus in the highlight colour.
    p.fillRect(markerRect(), palette().color(hasFocus() ? QPalette::Highlight : QPalette::Dark));
    if (hasFocus()) {
        QStyleOptionFocusRect focus;
        focus.initFrom(this);
        focus.rect = rect();
        style()->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, &p, this);
    }
}
