#include "app/TrayIconArt.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace TrayIconArt {

// The drawing is laid out on a 22 by 22 grid, like the SVG it follows.
QPixmap pixmap(int size)
{
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(size / 22.0, size / 22.0);
    painter.setPen(QPen(Qt::black, 1.6));
    painter.setBrush(Qt::NoBrush);
    painter.drawRoundedRect(QRectF(2, 7.5, 18, 8), 4, 4);
    painter.setPen(Qt::NoPen);
    painter.setBrush(Qt::black);
    for (const qreal x : {7.0, 11.0, 15.0})
        painter.drawEllipse(QPointF(x, 11.5), 1.2, 1.2);
    QPainterPath sparkle;
    sparkle.moveTo(16.5, 1.5);
    for (const QPointF point : {QPointF(17.3, 3.7), QPointF(19.5, 4.5), QPointF(17.3, 5.3), QPointF(16.5, 7.5),
                                QPointF(15.7, 5.3), QPointF(13.5, 4.5), QPointF(15.7, 3.7)})
        sparkle.lineTo(point);
    sparkle.closeSubpath();
    painter.drawPath(sparkle);
    return pixmap;
}

QIcon icon()
{
    QIcon icon;
    for (const int size : {16, 22, 24, 32, 44, 48, 64})
        icon.addPixmap(pixmap(size));
    return icon;
}

} // namespace TrayIconArt
