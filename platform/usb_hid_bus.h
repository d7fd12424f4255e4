#pragma once
#include <memory>

#include "platform/hid.h"

namespace orvika2 {

// The machine's real HID devices: SetupDi and HidD_* on Windows. Linux has
// no backend yet, so there the bus lists no device.
std::unique_ptr<HidBus> MakeUsbHidBus();

}  // namespace orvika2
