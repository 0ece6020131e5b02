#include "platform/UserDefaults.h"

#include "platform/MemoryUserDefaults.h"

namespace {
std::unique_ptr<UserDefaults>& standardSlot()
{
    static std::unique_ptr<UserDefaults> store;
    return store;
}
} // namespace

UserDefaults& UserDefaults::standard()
{
    auto& slot = standardSlot();
    if (!slot)
        slot = std::make_unique<MemoryUserDefaults>();
    return *slot;
}

void UserDefaults::setStandard(std::unique_ptr<UserDefaults> store)
{
    standardSlot() = std::move(store);
}
