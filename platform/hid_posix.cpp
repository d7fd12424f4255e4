#include "platform/usb_hid_bus.h"

namespace orvika2 {
namespace {

// No hidraw backend yet: a real token is not seen on Linux.
class NoDevicesBus final : public HidBus {
public:
    std::optional<std::vector<std::wstring>> ListInterfaces() override { return std::vector<std::wstring>{}; }
    std::optional<HidIdentity> ReadIdentity(const std::wstring&) override { return std::nullopt; }
    std::unique_ptr<HidDevice> Open(const std::wstring&) override { return nullptr; }
};

}  // namespace

std::unique_ptr<HidBus> MakeUsbHidBus() { return std::make_unique<NoDevicesBus>(); }

}  // namespace orvika2
