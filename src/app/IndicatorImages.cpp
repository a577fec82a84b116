#include "app/IndicatorImages.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

namespace {
// The socket on the right, the plug with its cable on the left; gap 0 means plugged in.
QPixmap plug(int gap, const QColor& lamp)
{
    QPixmap pm(50, 44);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(Qt::black, 1));
    p.setBrush(QColor(90, 90, 100));
    p.drawRoundedRect(QRectF(34, 10, 14, 24), 2, 2); // socket
    p.setBrush(QColor(200, 200, 210));
    const qreal x = 18 - gap;
    p.drawRect(QRectF(x, 14, 14, 16));          // plug body
    p.drawRect(QRectF(x + 14, 17, 4 - 0.0, 3)); // pins
    p.drawRect(QRectF(x + 14, 24, 4 - 0.0, 3));
    p.setPen(QPen(QColor(40, 40, 40), 3));
    p.setBrush(Qt::NoBrush);
    QPainterPath cable(QPointF(x, 22));
    cable.cubicTo(QPointF(x - 8, 22), QPointF(6, 36), QPointF(1, 40));
    p.drawPath(cable);
    p.setPen(QPen(Qt::black, 1));
    p.setBrush(lamp);
    p.drawEllipse(QRectF(3, 3, 9, 9)); // status lamp
    return pm;
}
} // namespace

namespace IndicatorImages {
QPixmap notConnected()
{
    return plug(10, QColor(220, 40, 40));
}

QPixmap connected()
{
    return plug(0, QColor(40, 200, 60));
}

QPixmap productPicture()
{
    QPixmap pm(374, 195);
    pm.fill(QColor(232, 236, 240));
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    // The unit: a flat black box with a front panel.
    QLinearGradient body(0, 40, 0, 150);
    body.setColorAt(0, QColor(70, 70, 78));
    body.setColorAt(1, QColor(25, 25, 30));
    p.setPen(QPen(Qt::black, 2));
    p.setBrush(body);
    p.drawRoundedRect(QRectF(22, 48, 330, 96), 8, 8);
    p.setBrush(QColor(15, 15, 18));
    p.drawRect(QRectF(22, 144, 330, 10));
    // Channel lamps and the RESET button.
    for (int i = 0; i < 8; ++i) {
        p.setPen(Qt::NoPen);
        p.setBrush(i < 5 ? QColor(60, 220, 90) : QColor(70, 90, 70));
        p.drawEllipse(QRectF(48 + i * 22, 106, 10, 10));
    }
    p.setBrush(QColor(200, 40, 40));
    p.setPen(QPen(Qt::black, 1));
    p.drawEllipse(QRectF(300, 100, 22, 22));
    QFont f = p.font();
    f.setPointSize(7);
    p.setFont(f);
    p.setPen(QColor(220, 220, 220));
    p.drawText(QRectF(288, 124, 46, 12), Qt::AlignCenter, QStringLiteral("RESET"));
    // Name plate.
    f.setPointSize(14);
    f.setBold(true);
    p.setFont(f);
    p.drawText(QRectF(40, 58, 300, 30), Qt::AlignLeft | Qt::AlignVCenter,
               QStringLiteral("SYNCHRONIZER"));
    // Serial socket on the side, with its cable.
    p.setPen(QPen(QColor(40, 40, 40), 4));
    p.setBrush(Qt::NoBrush);
    QPainterPath cable(QPointF(352, 96));
    cable.cubicTo(QPointF(372, 96), QPointF(360, 175), QPointF(372, 190));
    p.drawPath(cable);
    return pm;
}
} // namespace IndicatorImages
