#pragma once

#include "platform/fake/FakeAccessibility.h"

// One element of a FakeAccessibility tree. It answers from the recorded node, charges each
// call's delay to the tree, and fails calls that take longer than its messaging timeout.
class FakeElement : public AccessibilityElement {
public:
    FakeElement(std::shared_ptr<FakeAccessibility::Tree> tree, qint32 pid, QString id, double timeout);

    QString id() const { return m_id; }

    void setMessagingTimeout(double seconds) override { m_timeout = seconds; }
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
    // The node when the call for this attribute succeeds in time, else null.
    FakeAccessibility::Node* answer(const QString& attribute);
    AccessibilityElementRef element(const QString& id);
    bool isBelow(const FakeAccessibility::Node& node) const;

    std::shared_ptr<FakeAccessibility::Tree> m_tree;
    qint32 m_pid;
    QString m_id;
    double m_timeout;
};
