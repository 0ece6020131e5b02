#include "platform/AppearanceApplier.h"

namespace {

class NoAppearanceApplier final : public AppearanceApplier {
public:
    void apply(Scheme) override {}
};

std::unique_ptr<AppearanceApplier>& standardSlot()
{
    static std::unique_ptr<AppearanceApplier> applier;
    return applier;
}

} // namespace

AppearanceApplier& AppearanceApplier::standard()
{
    auto& slot = standardSlot();
    if (!slot)
        slot = std::make_unique<NoAppearanceApplier>();
    return *slot;
}

void AppearanceApplier::setStandard(std::unique_ptr<AppearanceApplier> applier)
{
    standardSlot() = std::move(applier);
}
