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
    Found found = findHolder(focused);
    if (selectedSinceMs) {
        if (Found field = freshFieldBelow(*app, focused, found, *selectedSinceMs); field.holder)
            found = std::move(field);
    }
    const QString text = found.text;
    if (!found.holder || text.trimmed().isEmpty())
        return readPrimary(*app, focused, selectedSinceMs);

    Selection selection = selectionFrom(*app);
    selection.text = text;
    selection.isEditable = !found.spans && isEditable(*found.holder);
    selection.rect = boundsOf(found);
    selection.element = std::move(found.holder);
    qCDebug(selectionLog) << "Selection read:" << text.size() << "characters from application" << app->pid
                          << (selection.isEditable ? "(editable)" : "(read-only)") << "at"
                          << selection.rect.value_or(QRectF());
    return selection;
}

// An application without a name of its own is called "App".
Selection SelectionReader::selectionFrom(const RunningApplication& app)
{
    Selection selection;
    selection.pid = app.pid;
    selection.appName = app.name.isEmpty() ? QStringLiteral("App") : app.name;
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
    const std::optional<QString> text = claimedPrimary(app, *selectedSinceMs);
    if (!text || text->trimmed().isEmpty())
        return std::nullopt;
    Selection selection = selectionFrom(app);
    selection.text = *text;
    selection.isEditable = focused && isEditable(*focused);
    qCDebug(selectionLog) << "Selection read from the primary selection:" << text->size()
                          << "characters from application" << app.pid
                          << (selection.isEditable ? "(editable)" : "(read-only)");
    return selection;
}

// The primary selection's text, when the application claimed it since the gesture began.
std::optional<QString> SelectionReader::claimedPrimary(const RunningApplication& app, qint64 selectedSinceMs)
{
    PrimarySelection& primary = Platform::primarySelection();
    if (primary.ownerClaimedSince(selectedSinceMs) != app.pid)
        return std::nullopt;
    return primary.text();
}

// Right after a gesture in a text field of a web page, the browser may still report its document
// as focused, and the document its own selection, made earlier elsewhere on the page (or none).
// The selection just made is the one the application claimed the primary selection with: when
// the document's is not that one, the text field below it whose selection is exactly that text
// holds it. Anything else keeps what the document reports.
SelectionReader::Found SelectionReader::freshFieldBelow(const RunningApplication& app,
                                                        const AccessibilityElementRef& focused, const Found& found,
                                                        qint64 selectedSinceMs)
{
    if (focused->role().value_or(QString()) != QLatin1String("WebArea"))
        return {};
    const std::optional<QString> claimed = claimedPrimary(app, selectedSinceMs);
    if (!claimed || claimed->trimmed().isEmpty() || (found.holder && found.text.trimmed() == claimed->trimmed()))
        return {};
    AccessibilityElementRef field = focused->selectedEditableDescendant();
    if (!field)
        return {};
    field->setMessagingTimeout(messagingTimeout);
    const std::optional<QString> text = field->selectedText();
    if (!text || text->trimmed() != claimed->trimmed())
        return {};
    qCDebug(selectionLog) << "The focused document's selection is not the one just made; read from a text field";
    return {field, *text, std::nullopt};
}

// The focused element holds the selection when it reports any text at all (whitespace
// included); otherwise the nearest of its ancestors that reports a non-empty one.
SelectionReader::Found SelectionReader::findHolder(const AccessibilityElementRef& focused)
{
    const auto own = focused->selectedText();
    if (hasText(own))
        return followEmbedded(focused, *own, 0);
    AccessibilityElementRef current = focused;
    for (int level = 0; level < maxAncestors; ++level) {
        current = current->parent();
        if (!current)
            return {};
        const auto found = current->selectedText();
        if (hasText(found))
            return followEmbedded(current, *found, 0);
    }
    return {};
}

// A web page reports a selection inside a paragraph to the document as the one placeholder
// character standing for that paragraph: the text is taken from the elements the placeholders
// stand for, as deep as they nest. A placeholder that cannot be followed is never passed on.
SelectionReader::Found SelectionReader::followEmbedded(const AccessibilityElementRef& element, const QString& text,
                                                       int depth)
{
    if (!text.contains(embeddedObject))
        return {element, text, std::nullopt};
    if (depth >= maxEmbeddedDepth)
        return {};
    const auto elements = element->selectedEmbeddedElements();
    if (!elements || qsizetype(elements->size()) != text.count(embeddedObject))
        return {};
    Found found{element, QString(), std::nullopt};
    if (!joinEmbedded(text, *elements, depth, &found))
        return {};
    return found;
}

// Replaces each placeholder by the selected text of its element; two elements side by side (the
// paragraphs of a page) are separate lines. When the selection lies in one element alone, that
// element holds it; when it spans several, the container does, with the bounds of all of them.
bool SelectionReader::joinEmbedded(const QString& text, const std::vector<AccessibilityElementRef>& elements, int depth,
                                   Found* found)
{
    std::vector<Found> parts;
    bool ownText = false;
    bool lastWasPart = false;
    size_t next = 0;
    for (const QChar c : text) {
        if (c != embeddedObject) {
            found->text.append(c);
            ownText = ownText || !c.isSpace();
            lastWasPart = false;
            continue;
        }
        const AccessibilityElementRef& child = elements[next++];
        if (!child)
            continue; // an image or another object without text
        const auto childText = child->selectedText();
        if (!childText)
            return false;
        if (childText->isEmpty())
            continue; // the range only touches this element
        Found part = followEmbedded(child, *childText, depth + 1);
        if (!part.holder)
            return false;
        if (lastWasPart)
            found->text.append(QLatin1Char('\n'));
        found->text.append(part.text);
        lastWasPart = true;
        parts.push_back(std::move(part));
    }
    if (parts.size() == 1 && !ownText) {
        *found = std::move(parts.front());
        return true;
    }
    found->spans = true;
    if (ownText || parts.empty())
        return true;
    for (const Found& part : parts) {
        if (const auto bounds = boundsOf(part))
            found->spannedBounds = found->spannedBounds ? found->spannedBounds->united(*bounds) : *bounds;
    }
    return true;
}

// A selection spanning several elements lies within their joined bounds; one in a single
// element, within that element's selected range. Each part's bounds were kept only on screen,
// so their union is on screen as well.
std::optional<QRectF> SelectionReader::boundsOf(const Found& found)
{
    return found.spannedBounds ? found.spannedBounds : selectionBounds(*found.holder);
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
