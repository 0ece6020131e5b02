#pragma once

#include "platform/Workspace.h"
#include "selection/Selection.h"

#include <QSet>
#include <QStringList>
#include <optional>

// Reads which text is selected right now in the frontmost application, where it lies on
// screen and whether it can be replaced. Synchronous, main thread only; every failure of the
// other application (an error, a missing answer, a timeout) yields nothing.
class SelectionReader {
public:
    // The roles of text input elements, where one settable attribute is enough to edit.
    static const QStringList textInputRoles;
    // Each accessibility call waits this long at most for the target application.
    static constexpr double messagingTimeout = 0.25;
    // How many ancestors of the focused element may hold the selected text.
    static constexpr int maxAncestors = 4;
    // Bounds plausibility: a rectangle must come within this distance of some screen.
    static constexpr double screenMargin = 50.0;

    // With selectedSinceMs (monotonic, see Clock), an application that gives no text through
    // accessibility is read through the primary selection, if it claimed that at or after then.
    static std::optional<Selection> read(std::optional<qint64> selectedSinceMs = std::nullopt);

    static bool isEditable(AccessibilityElement& element);
    static std::optional<QRectF> selectionBounds(AccessibilityElement& element);
    // The rectangle when it comes within screenMargin of some screen, else nothing.
    static std::optional<QRectF> onScreen(const QRectF& rect);

private:
    static std::optional<Selection> readPrimary(const RunningApplication& app, const AccessibilityElementRef& focused,
                                                std::optional<qint64> selectedSinceMs);
    static AccessibilityElementRef findHolder(const AccessibilityElementRef& focused, QString* text);
    static void enableManualAccessibilityIfNeeded(AccessibilityElement& application, qint32 pid);
    static QSet<qint32>& manualAccessibilityEnabled();
};
