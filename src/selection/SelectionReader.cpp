#include "selection/SelectionReader.h"

#include "platform/Platform.h"
#include "selection/SelectionLog.h"

const QStringList SelectionReader::textInputRoles = {
    QStringLiteral("TextField"),
    QStringLiteral("TextArea"),
    QStringLiteral("ComboBox"),
    QStringLiteral("SearchField"),
};

namespace {

bool hasText(const std::optional<QString>& text)
{
    return text && !text->isEmpty();
}

// Closed-interval overlap, so that a rectangle of zero width (a caret-high range) still counts.
bool overlaps(const QRectF& a, const QRectF& b)
{
    return a.left() <= b.right() && b.left() <= a.right() && a.top() <= b.bottom() && b.top() <= a.bottom();
}

} // namespace

std::optional<Selection> SelectionReader::read(std::optional<qint64> selectedSinceMs)
{
    if (!Platform::accessibilityGrant().isGranted())
        return std::nullopt;
    auto& workspace = Platform::workspace();
    const auto app = workspace.activeApplication();
    if (!app || app->pid == workspace.ownProcessId())
        return std::nullopt;
    AccessibilityElementRef appElement = Platform::accessibility().applicationElement(app->pid);
    if (!appElement)
        return readPrimary(*app, {}, selectedSinceMs);
    appElement->setMessagingTimeout(messagingTimeout);
    enableManualAccessibilityIfNeeded(*appElement, app->pid);

    AccessibilityElementRef focused = appElement->focusedElement();
    if (!focused)
        return readPrimary(*app, {}, selectedSinceMs);
    focused->setMessagingTimeout(messagingTimeout);
    QString text;
    AccessibilityElementRef holder = findHolder(focused, &text);
    if (!holder || text.trimmed().isEmpty())
        return readPrimary(*app, focused, selectedSinceMs);

    Selection selection;
    selection.text = text;
    selection.isEditable = isEditable(*holder);
    selection.rect = selectionBounds(*holder);
    selection.pid = app->pid;
    selection.appName = app->name.isEmpty() ? QStringLiteral("App") : app->name;
    selection.element = std::move(holder);
    qCDebug(selectionLog) << "Selection read:" << text.size() << "characters from application" << app->pid
                          << (selection.isEditable ? "(editable)" : "(read-only)");
    return selection;
}

// Terminals, and Chromium and Electron as people start them, give no text through accessibility
// but claim the primary selection when text is selected. It is taken only when the active
// application claimed it during the gesture (or since it became active): a selection made
// elsewhere or earlier is not the one just made. Without a rectangle the pill goes to the
// pointer. Replace pastes (no element), and only where the focused element takes text.
std::optional<Selection> SelectionReader::readPrimary(const RunningApplication& app,
                                                      const AccessibilityElementRef& focused,
                                                      std::optional<qint64> selectedSinceMs)
{
    if (!selectedSinceMs)
        return std::nullopt;
    PrimarySelection& primary = Platform::primarySelection();
    if (primary.ownerClaimedSince(*selectedSinceMs) != app.pid)
        return std::nullopt;
    const std::optional<QString> text = primary.text();
    if (!text || text->trimmed().isEmpty() || text->size() > PrimarySelection::maxLength)
        return std::nullopt;
    Selection selection;
    selection.text = *text;
    selection.isEditable = focused && isEditable(*focused);
    selection.pid = app.pid;
    selection.appName = app.name.isEmpty() ? QStringLiteral("App") : app.name;
    qCDebug(selectionLog) << "Selection read from the primary selection:" << text->size()
                          << "characters from application" << app.pid
                          << (selection.isEditable ? "(editable)" : "(read-only)");
    return selection;
}

// The focused element holds the selection when it reports any text at all (whitespace
// included); otherwise the nearest of its ancestors that reports a non-empty one.
AccessibilityElementRef SelectionReader::findHolder(const AccessibilityElementRef& focused, QString* text)
{
    const auto own = focused->selectedText();
    if (hasText(own)) {
        *text = *own;
        return focused;
    }
    AccessibilityElementRef current = focused;
    for (int level = 0; level < maxAncestors; ++level) {
        current = current->parent();
        if (!current)
            return {};
        const auto found = current->selectedText();
        if (hasText(found)) {
            *text = *found;
            return current;
        }
    }
    return {};
}

bool SelectionReader::isEditable(AccessibilityElement& element)
{
    if (element.editableAncestor())
        return true;
    const QString role = element.role().value_or(QString());
    if (role == QLatin1String("StaticText") || role == QLatin1String("WebArea"))
        return false;
    const bool valueSettable = element.isSettable(AccessibilityElement::Attribute::Value);
    const bool selectedTextSettable = element.isSettable(AccessibilityElement::Attribute::SelectedText);
    if (textInputRoles.contains(role))
        return valueSettable || selectedTextSettable;
    return valueSettable && selectedTextSettable;
}

std::optional<QRectF> SelectionReader::selectionBounds(AccessibilityElement& element)
{
    const auto bounds = element.selectedTextBounds();
    if (!bounds)
        return std::nullopt;
    // A caret or an empty range: no place to show anything next to.
    if (bounds->width() <= 1.0 && bounds->height() <= 1.0)
        return std::nullopt;
    return onScreen(*bounds);
}

// Some applications report bounds far off every screen for hidden or scrolled-away text.
std::optional<QRectF> SelectionReader::onScreen(const QRectF& rect)
{
    for (const ScreenInfo& screen : Platform::screens().screens()) {
        const QRectF grown = screen.geometry.adjusted(-screenMargin, -screenMargin, screenMargin, screenMargin);
        if (overlaps(grown, rect))
            return rect;
    }
    return std::nullopt;
}

void SelectionReader::enableManualAccessibilityIfNeeded(AccessibilityElement& application, qint32 pid)
{
    auto& enabled = manualAccessibilityEnabled();
    if (enabled.contains(pid))
        return;
    enabled.insert(pid);
    application.enableManualAccessibility();
}

QSet<qint32>& SelectionReader::manualAccessibilityEnabled()
{
    static QSet<qint32> pids;
    return pids;
}
