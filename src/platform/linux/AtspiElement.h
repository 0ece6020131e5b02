#pragma once

#include "platform/AccessibilityElement.h"
#include "platform/linux/AtspiBudget.h"

#include <memory>

using AtspiAccessible = struct _AtspiAccessible;
using AtspiHypertext = struct _AtspiHypertext;
using AtspiText = struct _AtspiText;

// One element of another application's tree on the desktop's accessibility bus. Every call
// goes through the application's budget (a per-call timeout and a limit for a burst of calls)
// and answers nothing when the call fails. Text offsets are the toolkit's own (characters in
// some, UTF-16 units in others): they are only ever passed back to the object they came from.
class AtspiElement : public AccessibilityElement {
public:
    // Takes over one reference to accessible.
    AtspiElement(AtspiAccessible* accessible, std::shared_ptr<AtspiBudget> budget);
    ~AtspiElement() override;
    AtspiElement(const AtspiElement&) = delete;
    AtspiElement& operator=(const AtspiElement&) = delete;

    // How many ancestors editableAncestor() looks at.
    static constexpr int maxEditableDepth = 8;
    // How many ancestors may lie between an element and its top-level window.
    static constexpr int maxWindowDepth = 40;
    // How many embedded objects one selection may stand for.
    static constexpr int maxEmbedded = 256;

    AtspiAccessible* accessible() const { return m_accessible; }

    // How many editable elements a search below a document asks for.
    static constexpr int maxEditableMatches = 32;

    // The box of a range from the boxes of its first and last characters: nothing unless both
    // have a height (a browser answers zeros for text it has not laid out for accessibility yet).
    static std::optional<QRectF> rangeFromCharacters(const std::optional<QRectF>& first,
                                                     const std::optional<QRectF>& last);

    void setMessagingTimeout(double seconds) override;
    AccessibilityElementRef focusedElement() override;
    AccessibilityElementRef parent() override;
    AccessibilityElementRef editableAncestor() override;
    std::optional<QString> selectedText() override;
    std::optional<QString> role() override;
    std::optional<QString> value() override;
    bool isSettable(Attribute attribute) override;
    bool setSelectedText(const QString& text) override;
    std::optional<std::vector<AccessibilityElementRef>> selectedEmbeddedElements() override;
    std::optional<QRectF> selectedTextBounds() override;
    AccessibilityElementRef selectedEditableDescendant() override;
    void enableManualAccessibility() override;

private:
    AccessibilityElementRef wrap(AtspiAccessible* accessible) const;
    bool hasState(int state);
    bool isEditableText();
    std::optional<AccessibilityElementRef> embeddedAt(AtspiHypertext* hypertext, int offset);
    std::optional<QRectF> rangeExtents(AtspiText* text, int start, int end, int coordType);
    std::optional<QRectF> characterExtents(AtspiText* text, int offset, int coordType);
    std::optional<QSizeF> windowSize();
    std::optional<QSizeF> extentsSize(AtspiAccessible* window);

    AtspiAccessible* m_accessible;
    std::shared_ptr<AtspiBudget> m_budget;
};
