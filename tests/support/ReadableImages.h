#pragma once

#include <QAccessible>
#include <QAccessibleInterface>

// The elements a screen reader can reach under a widget that show an image.
inline int readableImages(QAccessibleInterface* element)
{
    int images = 0;
    for (int i = 0; i < element->childCount(); ++i) {
        QAccessibleInterface* child = element->child(i);
        if (!child || child->state().invisible)
            continue;
        images += (child->role() == QAccessible::Graphic ? 1 : 0) + readableImages(child);
    }
    return images;
}
