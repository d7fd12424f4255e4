#pragma once
// Finding the token's hidraw node through sysfs. `root` stands for "/", so
// tests can point it at a fake tree.
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "platform/hid.h"

namespace orvika2 {

// Nodes such as "hidraw3" whose USB interface is a boot keyboard, the one
// that carries the token's feature reports (the keyboard class the Windows
// backend lists); in node-number order, at most 1000 examined. Without
// sys/class/hidraw (no hidraw driver loaded) the list is empty; nullopt when
// the folder exists but cannot be read.
std::optional<std::vector<std::string>> ListKeyboardHidrawNodes(const std::filesystem::path& root);

// USB vendor and product ids from the HID_ID line of the node's
// device/uevent; nullopt when it is missing, malformed or not on USB.
std::optional<HidIdentity> ReadHidrawIdentity(const std::filesystem::path& root, const std::string& node);

}  // namespace orvika2
