#include "platform/LoginItem.h"

namespace {

class UnavailableLoginItem final : public LoginItem {
public:
    bool isEnabled() const override { return false; }
    bool registerItem(QString* error) override { return refuse(error); }
    bool unregisterItem(QString* error) override { return refuse(error); }

private:
    static bool refuse(QString* error)
    {
        if (error)
            *error = QStringLiteral("launch at login is not available on this system");
        return false;
    }
};

std::unique_ptr<LoginItem>& standardSlot()
{
    static std::unique_ptr<LoginItem> item;
    return item;
}

} // namespace

LoginItem& LoginItem::standard()
{
    auto& slot = standardSlot();
    if (!slot)
        slot = std::make_unique<UnavailableLoginItem>();
    return *slot;
}

void LoginItem::setStandard(std::unique_ptr<LoginItem> item)
{
    standardSlot() = std::move(item);
}
