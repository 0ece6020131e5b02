#pragma once

#include <QRectF>
#include <QString>
#include <memory>
#include <optional>
#include <vector>

class AccessibilityElement;
// Elements are shared: a captured selection keeps its element alive as long as it exists.
using AccessibilityElementRef = std::shared_ptr<AccessibilityElement>;

// An opaque handle to one user-interface element of another application, as its
// accessibility interface exposes it. Every call is a synchronous request to that application,
// bounded by the messaging timeout; a failed, refused or timed-out call answers nothing.
class AccessibilityElement {
public:
    // The two attributes whose settability decides whether a selection can be replaced.
    enum class Attribute { Value, SelectedText };

    virtual ~AccessibilityElement() = default;

    // Bounds every later call on this element (and on the elements it yields) to this long.
    virtual void setMessagingTimeout(double seconds) = 0;
    // The element with the keyboard focus, asked of an application element.
    virtual AccessibilityElementRef focusedElement() = 0;
    virtual AccessibilityElementRef parent() = 0;
    // The nearest enclosing element that accepts text input, if any.
    virtual AccessibilityElementRef editableAncestor() = 0;

    virtual std::optional<QString> selectedText() = 0;
    // The element's role under the names the selection logic compares ("TextField", "TextArea",
    // "ComboBox", "SearchField", "StaticText", "WebArea"); other roles pass through.
    virtual std::optional<QString> role() = 0;
    // The element's whole text.
    virtual std::optional<QString> value() = 0;
    // False when the call fails as well as when the attribute is read-only.
    virtual bool isSettable(Attribute attribute) = 0;
    // Replaces the selected range with text; true when the application accepted the call.
    virtual bool setSelectedText(const QString& text) = 0;
    // One entry per embedded-object character (U+FFFC) in the selected range, in order: the
    // element that character stands for (a paragraph or a link of a web page, say), or null for
    // one that holds no text (an image). Nothing when the elements cannot be told.
    virtual std::optional<std::vector<AccessibilityElementRef>> selectedEmbeddedElements() = 0;
    // The bounds of the selected range in global logical coordinates (see Screens.h).
    virtual std::optional<QRectF> selectedTextBounds() = 0;
    // Below this element (a web document, say), an element that accepts text input and holds a
    // non-empty selection of its own; null when none is found within the search's limits. A text
    // field keeps its selection apart from the document's.
    virtual AccessibilityElementRef selectedEditableDescendant() = 0;

    // Asks an application element to expose its full accessibility tree (needed by some
    // toolkits before they answer at all). The answer is ignored.
    virtual void enableManualAccessibility() = 0;
};
