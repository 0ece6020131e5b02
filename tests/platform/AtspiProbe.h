#pragma once

#include <QRect>
#include <QString>
#include <functional>
#include <memory>

typedef struct _AtspiAccessible AtspiAccessible;

// Looks into another application's accessibility tree from a test: finds its text elements,
// reads and sets their whole text and where their characters are on screen.
namespace AtspiProbe {

using Ref = std::shared_ptr<AtspiAccessible>;

// The first element of the application with this process id that matches; null when none.
Ref find(qint32 pid, const std::function<bool(AtspiAccessible*)>& match);
Ref byName(qint32 pid, const QString& name);
Ref byRole(qint32 pid, int role);

QString text(const Ref& element);
bool setText(const Ref& element, const QString& text);
// A character's box in root-window pixels; empty when unknown.
QRect characterRect(const Ref& element, int offset);

} // namespace AtspiProbe
