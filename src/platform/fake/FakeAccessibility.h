#pragma once

#include "platform/Accessibility.h"

#include <QHash>
#include <QSet>
#include <QStringList>
#include <memory>

// Recorded accessibility trees of pretend applications, loaded from a small JSON form:
//
//   {"applications": [{"pid": 501, "focused": "field", "delayMs": 0, "failing": [],
//     "elements": [{"id": "field", "parent": "window", "role": "TextField",
//                   "selectedText": "hi", "value": "say hi", "settable": ["Value", "SelectedText"],
//                   "bounds": [x, y, width, height], "editableAncestor": "window",
//                   "failing": ["SelectedText"], "delayMs": 0, "ignoresWrites": false,
//                   "embedded": ["paragraph", ""]}]}]}
//
// Attributes left out are absent. "failing" names attributes whose calls fail ("FocusedUIElement",
// "SelectedText", "Parent", "Role", "Value", "BoundsForRange", "EditableAncestor", "Embedded",
// "EditableDescendant").
// "embedded" lists, per embedded-object character of the selection, the element it stands for
// ("" for one without text).
// "delayMs" is how long each call on that element takes: longer than the messaging timeout (by
// default 6 s) and the call times out. Time spent is added up rather than slept.
class FakeAccessibility : public Accessibility {
public:
    static constexpr double defaultTimeout = 6.0;

    struct Node {
        QString id;
        QString parent;
        QString editableAncestor;
        QString focused;
        std::optional<QString> role;
        std::optional<QString> selectedText;
        std::optional<QString> value;
        std::optional<QRectF> bounds;
        bool valueSettable = false;
        bool selectedTextSettable = false;
        bool ignoresWrites = false;
        QStringList embedded;
        QSet<QString> failing;
        int delayMs = 0;
    };

    struct Tree {
        // Applications by pid; each application's own node has the empty id.
        QHash<qint32, QHash<QString, Node>> applications;
        QHash<qint32, int> manualAccessibilityRequests;
        qint64 spentMs = 0;
        int calls = 0;
        QStringList* journal = nullptr;
    };

    FakeAccessibility();

    // Adds the applications of a fixture; false (and nothing added) when it is malformed.
    bool load(const QByteArray& json);
    bool loadFile(const QString& path);
    void clear();

    // The recorded element, to inspect or change between calls; null when there is none.
    Node* node(qint32 pid, const QString& id = QString());
    // Pretend time the calls took, and how many were made.
    qint64 spentMs() const { return m_tree->spentMs; }
    int callCount() const { return m_tree->calls; }
    int manualAccessibilityRequests(qint32 pid) const { return m_tree->manualAccessibilityRequests.value(pid); }
    void setJournal(QStringList* journal) { m_tree->journal = journal; }

    AccessibilityElementRef applicationElement(qint32 pid) override;
    QSet<qint32> applicationsOnBus() override;

private:
    std::shared_ptr<Tree> m_tree;
};
