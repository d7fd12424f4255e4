#pragma once
#include <memory>
#include <string>

#include "platform/hid.h"

namespace orvika2 {

inline constexpr const char* kTokenSelectionVariable = "ORVIKA2_TOKEN";

struct SelectedTokenBus {
    std::unique_ptr<HidBus> bus;  // null when the setting is invalid
    std::string error;
};

// The bus named by a value of ORVIKA2_TOKEN: unset or empty, the USB token;
// "sim:PATH", the simulated token kept in the file PATH.
SelectedTokenBus SelectTokenBus(const char* setting);
// The same for the process's environment.
SelectedTokenBus SelectTokenBusFromEnvironment();

}  // namespace orvika2
