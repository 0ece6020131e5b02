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
    // How deep embedded objects (a link in a paragraph in a section...) are followed.
    static constexpr int maxEmbeddedDepth = 8;
    // The character an application reports in place of an embedded object.
    static constexpr QChar embeddedObject = QChar(0xFFFC);
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
    static Selection selectionFrom(const RunningApplication& app);
    static std::optional<Selection> readPrimary(const RunningApplication& app, const AccessibilityElementRef& focused,
                                                std::optional<qint64> selectedSinceMs);
    // Where the selected text was found: the element that holds it, and, for a selection that
    // spans several embedded elements, the bounds of all of them (the holder is then their
    // container, whose own bounds cover only placeholders). Such a selection is never
    // replaced: writing over the container's range would delete the whole of every element in
    // it, unselected parts included.
    struct Found {
        AccessibilityElementRef holder;
        QString text;
        std::optional<QRectF> spannedBounds;
        bool spans = false;
    };

    static Found findHolder(const AccessibilityElementRef& focused);
    static std::optional<QString> claimedPrimary(const RunningApplication& app, qint64 selectedSinceMs);
    static Found freshFieldBelow(const RunningApplication& app, const AccessibilityElementRef& focused,
                                 const Found& found, qint64 selectedSinceMs);
    static Found followEmbedded(const AccessibilityElementRef& element, const QString& text, int depth);
    static bool joinEmbedded(const QString& text, const std::vector<AccessibilityElementRef>& elements, int depth,
                             Found* found);
    static std::optional<QRectF> boundsOf(const Found& found);
    static void enableManualAccessibilityIfNeeded(AccessibilityElement& application, qint32 pid);
    static QSet<qint32>& manualAccessibilityEnabled();
};
