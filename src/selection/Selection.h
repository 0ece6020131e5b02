#pragma once

#include "platform/AccessibilityElement.h"

#include <QMetaType>
#include <QRectF>
#include <QString>
#include <optional>

// One captured selection in another application: the text as the application reported it
// (never empty or whitespace-only), whether it can be replaced, its bounds in global
// logical coordinates when known, the owning application, and the element that holds the text (kept
// alive for as long as the record exists, so a later replacement can write through it).
struct Selection {
    QString text;
    bool isEditable = false;
    std::optional<QRectF> rect;
    qint32 pid = 0;
    QString appName;
    AccessibilityElementRef element;
};

Q_DECLARE_METATYPE(Selection)
