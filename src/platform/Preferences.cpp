#include "platform/Preferences.h"

#include "platform/MemoryPreferences.h"

namespace {
std::unique_ptr<Preferences>& instanceSlot()
{
    static std::unique_ptr<Preferences> store;
    return store;
}
} // namespace

Preferences& Preferences::instance()
{
    auto& slot = instanceSlot();
    if (!slot)
        slot = std::make_unique<MemoryPreferences>();
    return *slot;
}

void Preferences::setInstance(std::unique_ptr<Preferences> store)
{
    instanceSlot() = std::move(store);
}
