#pragma once
#include <memory>

#include "platform/hid.h"

namespace orvika2 {

// The machine's real HID devices: SetupDi and HidD_* on Windows, hidraw on
// Linux.
std::unique_ptr<HidBus> MakeUsbHidBus();

}  // namespace orvika2
