#pragma once

#include "platform/AppearanceApplier.h"

#include <QObject>

class ColorSchemePortal;

// Applies the appearance setting to the whole application by installing the theme's light or
// dark palette: "light" and "dark" force it, "system" follows the desktop's colour-scheme
// preference and switches again whenever the desktop does. Every widget repaints on the
// palette change, so no window needs reopening.
class PaletteAppearanceApplier : public QObject, public AppearanceApplier {
    Q_OBJECT

public:
    explicit PaletteAppearanceApplier(QObject* parent = nullptr);

    void apply(Scheme scheme) override;
    Scheme scheme() const { return m_scheme; }
    ColorSchemePortal& portal() const { return *m_portal; }

private:
    void update();

    ColorSchemePortal* m_portal;
    Scheme m_scheme = Scheme::FollowSystem;
};
