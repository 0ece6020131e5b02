#pragma once

#include <QPointF>
#include <QRectF>

// The one crossing from device pixels to Qt's logical pixels. The X server (input recorded
// through RECORD, the root window, XTest) and accessibility extents in screen coordinates
// speak device pixels; everything above the Linux platform speaks logical ones.
//
// Qt keeps each screen's top-left corner at its device position and divides the rest of the
// screen by the screen's device pixel ratio, so a device point p on a screen with top-left o
// and ratio r is the logical point o + (p − o) / r. A point on no screen takes the nearest
// screen's ratio. GUI thread only (it asks QGuiApplication for the screens).
namespace DevicePixels {

QPointF toLogical(QPointF devicePoint);
// The rectangle scaled by the ratio of the screen holding its centre.
QRectF toLogical(const QRectF& deviceRect);
// The inverse, for positions this program hands to the X server.
QPointF toDevice(QPointF logicalPoint);

} // namespace DevicePixels
