#include "platform/token_bus_select.h"

#include <cstdlib>
#include <string_view>

#include "platform/usb_hid_bus.h"

namespace orvika2 {

SelectedTokenBus SelectTokenBus(const char* setting) {
    const std::string_view value = setting ? setting : "";
    if (value.empty()) return {MakeUsbHidBus(), {}};
    return {nullptr, std::string(kTokenSelectionVariable) + " must be unset or sim:PATH"};
}

SelectedTokenBus SelectTokenBusFromEnvironment() { return SelectTokenBus(std::getenv(kTokenSelectionVariable)); }

}  // namespace orvika2
