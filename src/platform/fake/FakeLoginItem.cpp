#include "platform/fake/FakeLoginItem.h"

bool FakeLoginItem::registerItem(QString* error)
{
    ++m_registerCalls;
    return change(true, error);
}

bool FakeLoginItem::unregisterItem(QString* error)
{
    ++m_unregisterCalls;
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
