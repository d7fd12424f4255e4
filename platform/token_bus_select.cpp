#include "platform/token_bus_select.h"

#include <string_view>

#include "platform/sim/sim_token_bus.h"
#include "platform/text.h"
#include "platform/usb_hid_bus.h"

namespace orvika2 {

std::wstring SimulatedTokenFile(const char* setting) {
    const std::string_view value = setting ? setting : "";
    constexpr std::string_view kSimPrefix = "sim:";
    if (value.substr(0, kSimPrefix.size()) != kSimPrefix || value.size() == kSimPrefix.size()) return {};
    // The setting is UTF-8 on both platforms.
    return WidenUtf8(value.substr(kSimPrefix.size()));
}

SelectedTokenBus SelectTokenBus(const char* setting) {
    const std::string_view value = setting ? setting : "";
    if (value.empty()) return {MakeUsbHidBus(), {}};
    if (const std::wstring file = SimulatedTokenFile(setting); !file.empty()) {
        auto sim = MakeSimTokenBus(PathFromWide(file));
        return {std::move(sim.bus), std::move(sim.error)};
    }
    return {nullptr, std::string(kTokenSelectionVariable) + " must be unset or sim:PATH"};
}

}  // namespace orvika2
