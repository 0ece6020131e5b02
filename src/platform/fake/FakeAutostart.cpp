#include "platform/fake/FakeAutostart.h"

bool FakeAutostart::enable(QString* error)
{
    return change(true, error);
}

bool FakeAutostart::disable(QString* error)
{
    return change(false, error);
}

bool FakeAutostart::change(bool enabled, QString* error)
{
    if (!m_refusal.isEmpty()) {
        if (error)
            *error = m_refusal;
        return false;
    }
    m_enabled = enabled;
    return true;
}
