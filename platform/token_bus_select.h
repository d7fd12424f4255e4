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
// "sim:PATH", the simulated token kept in the file PATH. Any other value
// names none: the program then refuses to run (PlatformServices).
SelectedTokenBus SelectTokenBus(const char* setting);

// The file of a "sim:PATH" setting; empty for the USB token.
std::wstring SimulatedTokenFile(const char* setting);

}  // namespace orvika2
