#include "ui/PaletteAppearanceApplier.h"

#include "ui/ColorSchemePortal.h"
#include "ui/ThemePalette.h"

#include <QApplication>

PaletteAppearanceApplier::PaletteAppearanceApplier(QObject* parent)
    : QObject(parent), m_portal(new ColorSchemePortal(this))
{
    connect(m_portal, &ColorSchemePortal::prefersDarkChanged, this, [this] {
        if (m_scheme == Scheme::FollowSystem)
            update();
    });
}

void PaletteAppearanceApplier::apply(Scheme scheme)
{
    m_scheme = scheme;
    if (scheme == Scheme::FollowSystem)
        m_portal->watch();
    update();
}

void PaletteAppearanceApplier::update()
{
    const bool dark = m_scheme == Scheme::Dark || (m_scheme == Scheme::FollowSystem && m_portal->prefersDark());
    QApplication::setPalette(ThemePalette::palette(dark));
}
