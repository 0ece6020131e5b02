#pragma once

#include <QSizeF>
#include <QString>
#include <optional>

class Preferences;

// The result panel's remembered size, kept under "resultPanelSize" as a size string
// ("{440, 480}"). A stored size is used only when it is at least 360 by 260; anything smaller,
// unreadable or missing gives the default 440 by 480.
class ResultPanelSize {
public:
    static constexpr double minimumWidth = 360;
    static constexpr double minimumHeight = 260;
    static constexpr double defaultWidth = 440;
    static constexpr double defaultHeight = 480;

    static QString key();
    static QSizeF read(const Preferences& defaults);
    static void write(Preferences& defaults, const QSizeF& size);

    // "{width, height}", numbers in their shortest form.
    static QString format(const QSizeF& size);
    // The size written in a size string; nothing when the text is not one.
    static std::optional<QSizeF> parse(const QString& text);
};
