#include "platform/linux/AtspiRoles.h"

#include <atspi/atspi.h>

namespace AtspiRoles {

QString name(int role, bool singleLine, bool multiLine, const QString& roleName)
{
    switch (role) {
    case ATSPI_ROLE_ENTRY:
    case ATSPI_ROLE_PASSWORD_TEXT:
        return multiLine ? QStringLiteral("AXTextArea") : QStringLiteral("AXTextField");
    case ATSPI_ROLE_TEXT:
        // Toolkits use the plain text role for one-line fields as well as for text views.
        return singleLine ? QStringLiteral("AXTextField") : QStringLiteral("AXTextArea");
    case ATSPI_ROLE_COMBO_BOX:
        return QStringLiteral("AXComboBox");
    case ATSPI_ROLE_LABEL:
    case ATSPI_ROLE_STATIC:
        return QStringLiteral("AXStaticText");
    case ATSPI_ROLE_DOCUMENT_FRAME:
    case ATSPI_ROLE_DOCUMENT_WEB:
        return QStringLiteral("AXWebArea");
    default:
        return roleName;
    }
}

} // namespace AtspiRoles
