#include "ui/AccessibleAnnouncement.h"

#include <QAccessible>
#include <QWidget>

void AccessibleAnnouncement::announce(QWidget* source, const QString& message)
{
    if (!source)
        return;
    source->setAccessibleDescription(message);
    QAccessibleEvent alert(source, QAccessible::Alert);
    QAccessible::updateAccessibility(&alert);
}
