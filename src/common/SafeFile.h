#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QString>

// File operations for the program's own stored files (history, preferences).
// Every file is written whole or not at all, and readable by its owner only.
// Safe to call from any thread.
namespace SafeFile {

// Creates the folder and any missing parents; the folder itself is made owner-only (0700).
bool ensurePrivateDir(const QString& dir);

// Writes data to path through a temporary file in the same folder and a rename, so a crash
// leaves either the old or the new content. The file is created with mode 0600.
bool writeAtomically(const QString& path, const QByteArray& data, QString* error = nullptr);

// Renames a file that could not be read to "<name>.unreadable-<UTC stamp>.<suffix>" beside it,
// so that nothing can overwrite it. Returns the new path, or an empty string when it failed.
QString moveAside(const QString& path, const QDateTime& now = QDateTime::currentDateTimeUtc());

} // namespace SafeFile
