#include "platform/fake/FakeElement.h"

FakeElement::FakeElement(std::shared_ptr<FakeAccessibility::Tree> tree, qint32 pid, QString id, double timeout)
    : m_tree(std::move(tree)), m_pid(pid), m_id(std::move(id)), m_timeout(timeout)
{}

FakeAccessibility::Node* FakeElement::answer(const QString& attribute)
{
    auto app = m_tree->applications.find(m_pid);
    if (app == m_tree->applications.end())
        return nullptr;
    auto found = app->find(m_id);
    if (found == app->end())
        return nullptr;
    ++m_tree->calls;
    const qint64 limitMs = qint64(m_timeout * 1000);
    m_tree->spentMs += std::min<qint64>(found->delayMs, limitMs);
    if (found->delayMs > limitMs || found->failing.contains(attribute))
        return nullptr;
    return &*found;
}

AccessibilityElementRef FakeElement::element(const QString& id)
{
    if (id.isEmpty() || !m_tree->applications.value(m_pid).contains(id))
        return {};
    return std::make_shared<FakeElement>(m_tree, m_pid, id, m_timeout);
}

AccessibilityElementRef FakeElement::focusedElement()
{
    auto* node = answer(QStringLiteral("FocusedUIElement"));
    return node ? element(node->focused) : nullptr;
}

AccessibilityElementRef FakeElement::parent()
{
    auto* node = answer(QStringLiteral("Parent"));
    return node ? element(node->parent) : nullptr;
}

AccessibilityElementRef FakeElement::editableAncestor()
{
    auto* node = answer(QStringLiteral("EditableAncestor"));
    return node ? element(node->editableAncestor) : nullptr;
}

std::optional<QString> FakeElement::selectedText()
{
    auto* node = answer(QStringLiteral("SelectedText"));
    return node ? node->selectedText : std::nullopt;
}

std::optional<QString> FakeElement::role()
{
    auto* node = answer(QStringLiteral("Role"));
    return node ? node->role : std::nullopt;
}

std::optional<QString> FakeElement::value()
{
    auto* node = answer(QStringLiteral("Value"));
    return node ? node->value : std::nullopt;
}

bool FakeElement::isSettable(Attribute attribute)
{
    const bool selected = attribute == Attribute::SelectedText;
    auto* node = answer(selected ? QStringLiteral("SelectedText") : QStringLiteral("Value"));
    return node && (selected ? node->selectedTextSettable : node->valueSettable);
}

// Writes over the first occurrence of the selected text, which then becomes an empty range.
bool FakeElement::setSelectedText(const QString& text)
{
    auto* node = answer(QStringLiteral("SelectedText"));
    if (!node || !node->selectedTextSettable)
        return false;
    if (m_tree->journal)
        m_tree->journal->append(QStringLiteral("ax set %1 %2").arg(m_id, text));
    if (node->ignoresWrites)
        return true;
    const QString selected = node->selectedText.value_or(QString());
    if (node->value) {
        const qsizetype at = selected.isEmpty() ? node->value->size() : node->value->indexOf(selected);
        node->value->replace(std::max<qsizetype>(at, 0), at < 0 ? 0 : selected.size(), text);
    }
    node->selectedText = QString();
    return true;
}

std::optional<std::vector<AccessibilityElementRef>> FakeElement::selectedEmbeddedElements()
{
    auto* node = answer(QStringLiteral("Embedded"));
    if (!node)
        return std::nullopt;
    std::vector<AccessibilityElementRef> elements;
    for (const QString& id : node->embedded)
        elements.push_back(element(id));
    return elements;
}

std::optional<QRectF> FakeElement::selectedTextBounds()
{
    auto* node = answer(QStringLiteral("BoundsForRange"));
    return node ? node->bounds : std::nullopt;
}

// The descendants that take a selected text's replacement (settable "SelectedText") and hold a
// non-empty selection, the first by id: fixtures give one, or name them in the order wanted.
AccessibilityElementRef FakeElement::selectedEditableDescendant()
{
    if (!answer(QStringLiteral("EditableDescendant")))
        return nullptr;
    QStringList ids;
    for (const FakeAccessibility::Node& node : m_tree->applications.value(m_pid)) {
        if (node.selectedTextSettable && node.selectedText && !node.selectedText->isEmpty() && isBelow(node))
            ids.append(node.id);
    }
    ids.sort();
    return ids.isEmpty() ? nullptr : element(ids.first());
}

bool FakeElement::isBelow(const FakeAccessibility::Node& node) const
{
    const auto nodes = m_tree->applications.value(m_pid);
    QString parent = node.parent;
    for (int depth = 0; depth < nodes.size() && !parent.isEmpty(); ++depth) {
        if (parent == m_id)
            return true;
        parent = nodes.value(parent).parent;
    }
    return false;
}

void FakeElement::enableManualAccessibility()
{
    ++m_tree->manualAccessibilityRequests[m_pid];
}
