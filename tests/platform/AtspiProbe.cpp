#include "AtspiProbe.h"

#include <atspi/atspi.h>

namespace AtspiProbe {

namespace {

Ref adopt(AtspiAccessible* accessible)
{
    return Ref(accessible, [](AtspiAccessible* a) { g_object_unref(a); });
}

AtspiAccessible* search(AtspiAccessible* element, const std::function<bool(AtspiAccessible*)>& match, int depth)
{
    if (match(element))
        return ATSPI_ACCESSIBLE(g_object_ref(element));
    if (depth > 20)
        return nullptr;
    const gint count = atspi_accessible_get_child_count(element, nullptr);
    for (gint i = 0; i < count && i < 200; ++i) {
        AtspiAccessible* child = atspi_accessible_get_child_at_index(element, i, nullptr);
        if (!child)
            continue;
        AtspiAccessible* found = search(child, match, depth + 1);
        g_object_unref(child);
        if (found)
            return found;
    }
    return nullptr;
}

} // namespace

Ref find(qint32 pid, const std::function<bool(AtspiAccessible*)>& match)
{
    atspi_init();
    AtspiAccessible* desktop = atspi_get_desktop(0);
    const gint count = atspi_accessible_get_child_count(desktop, nullptr);
    AtspiAccessible* found = nullptr;
    for (gint i = 0; i < count && !found; ++i) {
        AtspiAccessible* application = atspi_accessible_get_child_at_index(desktop, i, nullptr);
        if (!application)
            continue;
        if (qint32(atspi_accessible_get_process_id(application, nullptr)) == pid)
            found = search(application, match, 0);
        g_object_unref(application);
    }
    g_object_unref(desktop);
    return found ? adopt(found) : nullptr;
}

Ref byName(qint32 pid, const QString& name)
{
    return find(pid, [&](AtspiAccessible* element) {
        gchar* own = atspi_accessible_get_name(element, nullptr);
        const bool same = own && QString::fromUtf8(own) == name;
        g_free(own);
        return same;
    });
}

Ref byRole(qint32 pid, int role)
{
    return find(pid, [&](AtspiAccessible* element) { return atspi_accessible_get_role(element, nullptr) == role; });
}

QString text(const Ref& element)
{
    AtspiText* iface = atspi_accessible_get_text_iface(element.get());
    if (!iface)
        return {};
    const gint count = atspi_text_get_character_count(iface, nullptr);
    gchar* whole = atspi_text_get_text(iface, 0, count, nullptr);
    const QString result = QString::fromUtf8(whole);
    g_free(whole);
    g_object_unref(iface);
    return result;
}

bool setText(const Ref& element, const QString& text)
{
    AtspiEditableText* iface = atspi_accessible_get_editable_text_iface(element.get());
    if (!iface)
        return false;
    const bool done = atspi_editable_text_set_text_contents(iface, text.toUtf8().constData(), nullptr);
    g_object_unref(iface);
    return done;
}

QRect characterRect(const Ref& element, int offset)
{
    AtspiText* iface = atspi_accessible_get_text_iface(element.get());
    if (!iface)
        return {};
    AtspiRect* rect = atspi_text_get_character_extents(iface, offset, ATSPI_COORD_TYPE_SCREEN, nullptr);
    g_object_unref(iface);
    if (!rect)
        return {};
    const QRect result(rect->x, rect->y, rect->width, rect->height);
    g_free(rect);
    return result;
}

} // namespace AtspiProbe
