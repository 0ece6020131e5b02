#pragma once

#include "platform/AppearanceApplier.h"

#include <QList>

// Records every scheme it is asked to apply, in order.
class FakeAppearanceApplier : public AppearanceApplier {
public:
    void apply(Scheme scheme) override { m_applied.append(scheme); }

    const QList<Scheme>& applied() const { return m_applied; }
    void clear() { m_applied.clear(); }

private:
    QList<Scheme> m_applied;
};
