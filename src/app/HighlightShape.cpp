#include "app/HighlightShape.h"

#include <QPainter>

HighlightShape::HighlightShape(QWidget* parent) : QWidget(parent)
{
    setAttribute(Qt::WA_TransparentForMouseEvents);
    hide();
}

void HighlightShape::setFillColor(const QColor& c)
{
    fill_ = c;
    update();
}

void HighlightShape::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.fillRect(rect(), fill_);
}
