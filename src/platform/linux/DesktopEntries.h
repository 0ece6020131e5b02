#pragma once

#include <QString>
#include <QStringList>

// The names applications give themselves in their desktop entries.
namespace DesktopEntries {
// The Name of the first desktop entry named after one of these window classes (the WM_CLASS
// instance and class, say) in the XDG data folders; null when none has one.
QString applicationName(const QStringList& windowClasses);
// The Name key of a desktop entry's main group; null when it has none.
QString nameFromEntry(const QByteArray& entry);
} // namespace DesktopEntries
