#pragma once

#include <QIcon>

// The tray's icon, drawn by the program in the shapes of packaging/icons/TrayIcon.svg at the
// sizes trays ask for. Drawing it needs no SVG support, so a program sitting idle in the tray
// has not loaded the SVG renderer and its plugin.
namespace TrayIconArt {

QIcon icon();
// One drawing, `size` pixels square.
QPixmap pixmap(int size);

} // namespace TrayIconArt
