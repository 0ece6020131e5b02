#pragma once

#include <QPointF>
#include <QSizeF>
#include <optional>

// Where another application's window coordinates start on the root window, for toolkits that
// report extents relative to their top-level window only (GTK 4 answers "Unsupported coordinate
// space" for screen coordinates). GUI thread only.
namespace AtspiWindowOrigin {

// The origin, in device pixels, of the window coordinates of the application with this process id
// whose top-level window reports this size (in device pixels): the active client window's position
// on the root window, inset by the margin the application keeps around what it counts as its window
// (the border of client-side decorations), taken as even on every side. Nothing when the active
// client window is not the application's. The window is found as the workspace finds the frontmost
// application (X11Connection::activeClient), over a connection of its own: the extents are asked
// deep inside an element, which knows nothing of the workspace.
std::optional<QPointF> of(qint64 pid, QSizeF reportedWindowSize);

// The inset of a window of reportedSize centred in a window of deviceSize; none when the
// reported window is the larger.
QPointF inset(QSizeF deviceSize, QSizeF reportedSize);

} // namespace AtspiWindowOrigin
