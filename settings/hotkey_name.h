#pragma once
// A hotkey as the user reads it: "Ctrl+Shift+Q", from the stored form.
#include <string>

#include "settings/config_file.h"

namespace orvika2 {

// "none" for an empty hotkey; keys without a letter of their own are
// named by their virtual-key number.
std::wstring HotkeyName(const Hotkey& hotkey);

}  // namespace orvika2
