#include "platform/AppearanceApplier.h"

namespace {

class NoAppearanceApplier final : public AppearanceApplier {
public:
    void apply(Scheme) override {}
};

std::unique_ptr<AppearanceApplier>& instanceSlot()
{
    static std::unique_ptr<AppearanceApplier> applier;
    return applier;
}

} // namespace

AppearanceApplier& AppearanceApplier::instance()
{
    auto& slot = instanceSlot();
    if (!slot)
        slot = std::make_unique<NoAppearanceApplier>();
    return *slot;
}

void AppearanceApplier::setInstance(std::unique_ptr<AppearanceApplier> applier)
{
    instanceSlot() = std::move(applier);
}
