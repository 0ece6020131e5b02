#include "platform/Screens.h"

QRectF Screens::globalRect(const QRectF& topLeftRect, double primaryTop)
{
    return QRectF(topLeftRect.x(), primaryTop - topLeftRect.y() - topLeftRect.height(), topLeftRect.width(),
                  topLeftRect.height());
}

QPointF Screens::globalPoint(const QPointF& topLeftPoint, double primaryTop)
{
    return QPointF(topLeftPoint.x(), primaryTop - topLeftPoint.y());
}
