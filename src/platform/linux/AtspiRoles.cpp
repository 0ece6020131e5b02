#include "platform/linux/AtspiRoles.h"

#include <atspi/atspi.h>

namespace AtspiRoles {

QString name(int role, bool singleLine, bool multiLine, const QString& roleName)
{
    switch (role) {
    case ATSPI_ROLE_ENTRY:
    case ATSPI_ROLE_PASSWORD_TEXT:
        return multiLine ? QStringLiteral("TextArea") : QStringLiteral("TextField");
    case ATSPI_ROLE_TEXT:
        // Toolkits use the plain text role for one-line fields as well as for text views.
        return singleLine ? QStringLiteral("TextField") : QStringLiteral("TextArea");
    case ATSPI_ROLE_COMBO_BOX:
        return QStringLiteral("ComboBox");
    case ATSPI_ROLE_LABEL:
    case ATSPI_ROLE_STATIC:
        return QStringLiteral("StaticText");
    case ATSPI_ROLE_DOCUMENT_FRAME:
    case ATSPI_ROLE_DOCUMENT_WEB:
        return QStringLiteral("WebArea");
    default:
        return roleName;
    }
}

} // namespace AtspiRoles
