#pragma once

class QDir;
class QString;

// Renders the main window (the history with a rewrite, and a chat with sources), the settings
// window and the writing-mode editor over sample data, into PNG files named with suffix.
namespace WindowScreenshots {
void save(const QDir& folder, const QString& suffix);
}
