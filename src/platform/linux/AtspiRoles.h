#pragma once

#include <QString>

// The names the selection logic compares roles by, from an accessibility role of the
// desktop's accessibility bus and the element's line states.
namespace AtspiRoles {
// role is an AtspiRole value; roleName is the bus's own name for it, passed through for
// roles the logic does not compare.
QString name(int role, bool singleLine, bool multiLine, const QString& roleName);
} // namespace AtspiRoles
