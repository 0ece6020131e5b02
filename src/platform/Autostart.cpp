#include "platform/Autostart.h"

namespace {

class UnavailableAutostart final : public Autostart {
public:
    bool isEnabled() const override { return false; }
    bool enable(QString* error) override { return refuse(error); }
    bool disable(QString* error) override { return refuse(error); }

private:
    static bool refuse(QString* error)
    {
        if (error)
            *error = QStringLiteral("launch at login is not available on this system");
        return false;
    }
};

std::unique_ptr<Autostart>& instanceSlot()
{
    static std::unique_ptr<Autostart> item;
    return item;
}

} // namespace

Autostart& Autostart::instance()
{
    auto& slot = instanceSlot();
    if (!slot)
        slot = std::make_unique<UnavailableAutostart>();
    return *slot;
}

void Autostart::setInstance(std::unique_ptr<Autostart> item)
{
    instanceSlot() = std::move(item);
}
