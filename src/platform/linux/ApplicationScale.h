#pragma once

#include <QSizeF>

// How many device pixels one pixel of another application's accessibility extents is.
// Toolkits that scale themselves (GTK with GDK_SCALE, Qt 5 with QT_SCALE_FACTOR) report screen
// extents in their own scaled pixels, counted from the root window's origin; the others report
// device pixels. The scale shows in the application's top-level window: the size the X server
// gives it against the size the application reports for it. GUI thread only.
namespace ApplicationScale {

// The scale of the application with this process id whose top-level window reports this
// size, measured against the active window when that window is the application's; 1 when it
// cannot be told.
double of(qint64 pid, QSizeF reportedWindowSize);

// The ratio of the two sizes' widths in quarter steps, between 1 and 4; 1 for sizes that do
// not compare (decorations and rounding make the widths differ by a few pixels).
double fromSizes(QSizeF deviceSize, QSizeF reportedSize);

} // namespace ApplicationScale
