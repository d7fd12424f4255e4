#pragma once
#include <filesystem>
#include <memory>

#include "platform/hid.h"
#include "platform/hidraw_device_posix.h"

namespace orvika2 {

// The Linux HID bus: the boot-keyboard hidraw nodes under `root` (which
// stands for "/"), identified through sysfs and opened through `calls`.
std::unique_ptr<HidBus> MakeHidrawBus(std::filesystem::path root, std::shared_ptr<HidrawCalls> calls);

}  // namespace orvika2
