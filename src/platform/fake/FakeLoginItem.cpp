#include "platform/fake/FakeLoginItem.h"

bool FakeLoginItem::registerItem(QString* error)
{
    return change(true, error);
}

bool FakeLoginItem::unregisterItem(QString* error)
{
    return change(false, error);
}

bool FakeLoginItem::change(bool enabled, QString* error)
{
    if (!m_refusal.isEmpty()) {
        if (error)
            *error = m_refusal;
        return false;
    }
    m_enabled = enabled;
    return true;
}
