#include "platform/PreferredLanguages.h"

#include "platform/SystemPreferredLanguages.h"

namespace {
std::unique_ptr<PreferredLanguages>& currentSlot()
{
    static std::unique_ptr<PreferredLanguages> source;
    return source;
}
} // namespace

PreferredLanguages& PreferredLanguages::current()
{
    auto& slot = currentSlot();
    if (!slot)
        slot = std::make_unique<SystemPreferredLanguages>();
    return *slot;
}

void PreferredLanguages::setCurrent(std::unique_ptr<PreferredLanguages> source)
{
    currentSlot() = std::move(source);
}
